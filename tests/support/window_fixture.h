// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh program state for window tests: the store in a temporary folder,
// created from the small fixture seed (or from a seed folder of the test's
// own), scripted message boxes, and the windows registered by name.
#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <gtest/gtest.h>

#include "appcontext.h"
#include "compose.h"
#include "datastore.h"
#include "dialogs.h"
#include "form1.h"
#include "textbox.h"
#include "ui_support.h"
#include "windowregistry.h"

namespace versilo::testing {

inline const QString kCrLf = QStringLiteral("\r\n");

inline QString FixtureSeed() { return QStringLiteral(VERSILO_SOURCE_DIR "/tests/support/fixture-seed"); }

// Copies the fixture seed into dir and replaces (or adds) one table file.
inline void WriteSeed(const QString &dir, const QString &table, const QStringList &lines)
{
    QDir().mkpath(dir);
    for (const QString &name : QDir(FixtureSeed()).entryList({QStringLiteral("*.tsv")}, QDir::Files)) {
        if (!QFile::exists(dir + u'/' + name))
            QFile::copy(FixtureSeed() + u'/' + name, dir + u'/' + name);
    }
    QFile file(dir + u'/' + table + QStringLiteral(".tsv"));
    file.remove();
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines.join(u'\n').toUtf8() + "\n");
}

class WindowTest : public ::testing::Test {
protected:
    using Registration = void (*)(WindowRegistry &);
    // The windows of one library besides the composition window, and a
    // stand-in launcher at `launcherAt` (none when null).
    explicit WindowTest(Registration more = nullptr, QPoint launcherAt = {})
        : more_(more), launcherAt_(launcherAt)
    {
    }

    void SetUp() override
    {
        ASSERT_TRUE(tmp_.isValid());
        AppContext &app = AppContext::Instance();
        app.Reset();
        Settle();
        UseSeed(FixtureSeed());
        app.SetDialogs(&dialogs_);
        RegisterComposeWindows(app.Windows());
        if (more_)
            more_(app.Windows());
        if (!launcherAt_.isNull())
            OpenStandInLauncher(app.Windows(), launcherAt_);
    }
    void TearDown() override
    {
        AppContext &app = AppContext::Instance();
        app.Reset();
        Settle();
        app.SetDialogs(nullptr);
    }

    // A database created afresh from the given seed folder.
    void UseSeed(const QString &seedDir)
    {
        const QString where = tmp_.path() + QStringLiteral("/db%1").arg(++dbCount_);
        QDir().mkpath(where);
        DataStore &store = AppContext::Instance().Store();
        store.SetLocation({where, seedDir});
        // Leaves the connection of an earlier test behind.
        ASSERT_TRUE(store.Connect()) << store.LastError().toStdString();
    }
    // A database afresh from the fixture seed whose 作品 holds these rows,
    // each "篇名\t正文\t格律\t词牌名\t词谱名\t作者\t时间".
    void UseWorks(const QStringList &rows)
    {
        const QString dir = TempPath(QStringLiteral("works%1").arg(dbCount_ + 1));
        WriteSeed(dir, QStringLiteral("作品"), QStringList{QStringLiteral("篇名\t正文\t格律\t词牌名\t词谱名\t作者\t时间")} + rows);
        UseSeed(dir);
    }
    QString TempPath(const QString &name) const { return tmp_.path() + u'/' + name; }

    static WindowRegistry &Windows() { return AppContext::Instance().Windows(); }
    static Recordset &Rs() { return AppContext::Instance().Store().Rs(); }

    Form1 *OpenForm1() { return qobject_cast<Form1 *>(Windows().OpenFresh(QStringLiteral("Form1"))); }

    template <class T = QWidget> static T *Child(QWidget *w, const QString &name)
    {
        T *c = w->findChild<T *>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    // The tune the composition window shows: its name over both columns,
    // its pattern and explanation laid out.
    static void ExpectTune(Form1 *f, const QString &name, const QString &pattern, const QString &explanation)
    {
        EXPECT_EQ(f->TuneName(), name);
        EXPECT_EQ(f->ExplanationHeading(), name);
        EXPECT_EQ(f->Pattern(), pattern);
        EXPECT_EQ(f->Explanation(), explanation);
    }
    // Clicks `button` of `opener` and returns the window it opened.
    template <class T> static T *OpenFrom(QWidget *opener, const char *button, const QString &window)
    {
        Click(opener, QLatin1String(button));
        return Windows().Get<T>(window);
    }
    static void Click(QWidget *w, const QString &name) { QTest::mouseClick(Child(w, name), Qt::LeftButton); }
    static QString LabelText(QWidget *w, const QString &name) { return Child<QLabel>(w, name)->text(); }
    static void Type(QWidget *target, const QString &text)
    {
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, text, Qt::NoModifier);
    }

    // Every row of 作品 as "篇名|正文|格律|词牌名|词谱名" (null 篇名 as "<null>").
    static QStringList Works()
    {
        QStringList rows;
        Recordset &rs = Rs();
        if (!rs.Open(QStringLiteral("select *from 作品")))
            return {QStringLiteral("<query failed>")};
        for (int i = 0; i < rs.RecordCount(); ++i) {
            const QVariant title = rs.Field(QStringLiteral("篇名"));
            rows << QStringList{title.isNull() ? QStringLiteral("<null>") : title.toString(),
                                rs.Text(QStringLiteral("正文")), rs.Text(QStringLiteral("格律")),
                                rs.Text(QStringLiteral("词牌名")), rs.Text(QStringLiteral("词谱名"))}
                        .join(u'#');
            rs.MoveNext();
        }
        rs.Close();
        return rows;
    }
    // Adds a work directly; a null title when title is a null QString.
    static void AddWork(const QString &title, const QString &poem, const QString &tune = {},
                        const QString &book = QStringLiteral("常用词谱"))
    {
        Recordset &rs = Rs();
        ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品"), {}, LockType::Optimistic));
        ASSERT_TRUE(rs.AddNew());
        rs.SetField(QStringLiteral("篇名"), title.isNull() ? QVariant() : QVariant(title));
        rs.SetField(QStringLiteral("正文"), poem);
        rs.SetField(QStringLiteral("格律"), QString());
        rs.SetField(QStringLiteral("词牌名"), tune);
        rs.SetField(QStringLiteral("词谱名"), book);
        ASSERT_TRUE(rs.Update()) << rs.LastError().toStdString();
        rs.Close();
    }

    ScriptedDialogs dialogs_;

private:
    Registration more_;
    QPoint launcherAt_;
    QTemporaryDir tmp_;
    int dbCount_ = 0;
};

}  // namespace versilo::testing
