// SPDX-License-Identifier: GPL-3.0-or-later
// A throw-away folder holding mvtrakp.m and tiny seed tables.
#pragma once

#include "datastore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace versilo::test {

inline void WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

inline QByteArray ReadFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs an SQL script through the sqlcipher command-line shell. False when
// the shell is not installed.
inline bool RunSqlcipherShell(const QString &file, const QString &script, QString *output = nullptr)
{
    const QString shell = QStringLiteral("/usr/bin/sqlcipher");
    if (!QFile::exists(shell))
        return false;
    QProcess p;
    p.start(shell, {file});
    if (!p.waitForStarted())
        return false;
    p.write(script.toUtf8());
    p.closeWriteChannel();
    p.waitForFinished(30000);
    if (output)
        *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return true;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        appDir = tmp.filePath(QStringLiteral("app"));
        seedDir = tmp.filePath(QStringLiteral("seed"));
        ASSERT_TRUE(QDir().mkpath(appDir));
        ASSERT_TRUE(QDir().mkpath(seedDir));
    }

    void Seed(const QString &table, const QString &content)
    {
        WriteFile(QDir(seedDir).filePath(table + QStringLiteral(".tsv")), content.toUtf8());
    }

    QString DbPath() const { return QDir(appDir).filePath(QStringLiteral("mvtrakp.m")); }

    // A connected store over the fixture seeds.
    std::unique_ptr<DataStore> Open()
    {
        auto store = std::make_unique<DataStore>(StoreLocation{appDir, seedDir});
        EXPECT_TRUE(store->Connect()) << store->LastError().toStdString();
        store->NewRecordset();
        return store;
    }

    QTemporaryDir tmp;
    QString appDir;
    QString seedDir;
};

}  // namespace versilo::test
