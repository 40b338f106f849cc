// SPDX-License-Identifier: GPL-3.0-or-later
#include "backup.h"

#include "datastore.h"
#include "schema.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace versilo {

namespace {

QString Shown(const QString &path) { return QDir::toNativeSeparators(path); }

// An open, keyed database handle that closes itself.
class Db {
public:
    ~Db() { sqlite3_close_v2(db_); }
    // Opens `path` with the password and reads it once (a wrong password or
    // a file that is no database shows only at the first read).
    bool Open(const QString &path, int flags, QString *why)
    {
        const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db_, flags, nullptr);
        if (rc != SQLITE_OK || schema::Key(db_) != SQLITE_OK) {
            *why = schema::LastSqliteError(db_, path);
            return false;
        }
        schema::WaitWhileBusy(db_);
        if (!Query("SELECT count(*) FROM sqlite_master", why))
            return false;
        return true;
    }
    // Runs `sql` and keeps the first column of its first row in *value.
    bool Query(const char *sql, QString *why, QString *value = nullptr)
    {
        sqlite3_stmt *st = nullptr;
        const int rc = sqlite3_prepare_v2(db_, sql, -1, &st, nullptr);
        const int step = rc == SQLITE_OK ? sqlite3_step(st) : rc;
        if (step == SQLITE_ROW && value)
            *value = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
        sqlite3_finalize(st);
        if (step != SQLITE_ROW && step != SQLITE_DONE) {
            *why = schema::LastSqliteError(db_, QString::fromUtf8(sql));
            return false;
        }
        return true;
    }
    // PRAGMA integrity_check says ok.
    bool Intact(QString *why)
    {
        QString verdict;
        if (!Query("PRAGMA integrity_check", why, &verdict))
            return false;
        if (verdict != QLatin1String("ok")) {
            schema::Log(QStringLiteral("integrity_check: ") + verdict);
            *why = QStringLiteral("完整性检查没有通过");
            return false;
        }
        return true;
    }
    sqlite3 *get() const { return db_; }

private:
    sqlite3 *db_ = nullptr;
};

// Copies every page of `from` into `to` in one step, so the copy is one
// moment of the source; waits while another program writes.
bool CopyPages(sqlite3 *from, sqlite3 *to, QString *why)
{
    sqlite3_backup *b = sqlite3_backup_init(to, "main", from, "main");
    if (!b) {
        *why = schema::LastSqliteError(to, QStringLiteral("backup"));
        return false;
    }
    int rc;
    int waited = 0;
    constexpr int kStepMs = 20;
    while ((rc = sqlite3_backup_step(b, -1)) == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        if (waited >= DataStore::kBusyTimeoutMs)
            break;
        sqlite3_sleep(kStepMs);
        waited += kStepMs;
    }
    sqlite3_backup_finish(b);
    if (rc != SQLITE_DONE) {
        *why = rc == SQLITE_BUSY || rc == SQLITE_LOCKED
                   ? QStringLiteral("数据库正被另一个程序使用")
                   : schema::LastSqliteError(to, QStringLiteral("backup"));
        return false;
    }
    return true;
}

// Forces a file's content (or a folder's entries) to the disk.
bool Sync(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

}  // namespace

bool BackupDatabase(const QString &dbFile, const QString &target, QString *error)
{
    const auto fail = [&](const QString &why) {
        *error = why;
        return false;
    };
    if (!QFileInfo::exists(dbFile))
        return fail(QStringLiteral("数据库文件 %1 不存在。").arg(Shown(dbFile)));
    if (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        return fail(QStringLiteral("%1 已经存在，备份不覆盖任何文件。").arg(Shown(target)));
    const QFileInfo targetInfo(target);
    if (!targetInfo.absoluteDir().exists())
        return fail(QStringLiteral("文件夹 %1 不存在。").arg(Shown(targetInfo.absolutePath())));

    QString why;
    Db source;
    if (!source.Open(dbFile, SQLITE_OPEN_READONLY, &why))
        return fail(QStringLiteral("无法读取数据库文件 %1：%2。").arg(Shown(dbFile), why));

    // The copy is made under a name of its own and takes the target's name
    // only when it is complete.
    const QString partial = targetInfo.absoluteDir().filePath(
        QStringLiteral(".%1.partial-%2").arg(targetInfo.fileName()).arg(QCoreApplication::applicationPid()));
    QFile::remove(partial);
    QFile::remove(partial + QStringLiteral("-journal"));
    bool copied = false;
    {
        Db copy;
        copied = copy.Open(partial, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &why)
                 && CopyPages(source.get(), copy.get(), &why) && copy.Intact(&why);
    }
    if (!copied || !Sync(partial)) {
        QFile::remove(partial);
        QFile::remove(partial + QStringLiteral("-journal"));
        return fail(QStringLiteral("无法写备份 %1：%2。").arg(Shown(target), why.isEmpty() ? QStringLiteral("写文件出错") : why));
    }
    // A hard link never replaces a file that appeared meanwhile.
    const bool linked = ::link(QFile::encodeName(partial).constData(), QFile::encodeName(target).constData()) == 0;
    QFile::remove(partial);
    if (!linked)
        return fail(QStringLiteral("无法写备份 %1：%2。").arg(Shown(target), QString::fromLocal8Bit(std::strerror(errno))));
    Sync(targetInfo.absolutePath());
    return true;
}

bool RestoreDatabase(const QString &source, const QString &dbFile, QString *keptPrevious,
                     QString *error)
{
    keptPrevious->clear();
    const auto fail = [&](const QString &why) {
        *error = why;
        return false;
    };
    QString why;
    Db from;
    if (!QFileInfo(source).isFile())
        return fail(QStringLiteral("备份文件 %1 不存在。").arg(Shown(source)));
    if (!from.Open(source, SQLITE_OPEN_READONLY, &why) || !from.Intact(&why))
        return fail(QStringLiteral("备份文件 %1 不能用：%2。没有恢复。").arg(Shown(source), why));

    const QList<qint64> users = ProcessesUsing(dbFile);
    if (!users.isEmpty()) {
        QStringList ids;
        for (qint64 pid : users)
            ids << QString::number(pid);
        return fail(QStringLiteral("数据库文件 %1 正被另一个程序使用（进程 %2），请先关闭它。没有恢复。")
                        .arg(Shown(dbFile), ids.join(QStringLiteral("、"))));
    }

    if (QFileInfo::exists(dbFile)) {
        const QString kept = dbFile + QStringLiteral(".before-restore-")
                             + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        QString copyWhy;
        // A database too damaged for the backup is kept byte for byte.
        if (!BackupDatabase(dbFile, kept, &copyWhy) && !QFile::copy(dbFile, kept))
            return fail(QStringLiteral("无法保留现在的数据库：%1 没有恢复。").arg(copyWhy));
        *keptPrevious = kept;
    }

    // The copy is written beside the database and then takes its name in
    // one step: a crash leaves the old database or the restored one, never
    // a mixture.
    const QString partial = dbFile + QStringLiteral(".restoring-%1").arg(QCoreApplication::applicationPid());
    QFile::remove(partial);
    if (!BackupDatabase(source, partial, &why))
        return fail(QStringLiteral("无法恢复到 %1：%2 没有恢复。").arg(Shown(dbFile), why));
    // A journal left by a write the old database never finished belongs to
    // the old database: it goes with the kept copy, never onto the new one.
    const QString journal = dbFile + QStringLiteral("-journal");
    if (QFileInfo::exists(journal)
        && !QFile::rename(journal, (keptPrevious->isEmpty() ? dbFile : *keptPrevious) + QStringLiteral(".journal"))) {
        QFile::remove(partial);
        return fail(QStringLiteral("无法恢复到 %1：日志文件 %2 移不开。没有恢复。").arg(Shown(dbFile), Shown(journal)));
    }
    if (::rename(QFile::encodeName(partial).constData(), QFile::encodeName(dbFile).constData()) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        QFile::remove(partial);
        return fail(QStringLiteral("无法恢复到 %1：%2。没有恢复。").arg(Shown(dbFile), reason));
    }
    Sync(QFileInfo(dbFile).absolutePath());
    return true;
}

QList<qint64> ProcessesUsing(const QString &file)
{
    QList<qint64> out;
    const QString wanted = QFileInfo(file).canonicalFilePath();
    if (wanted.isEmpty())
        return out;
    const qint64 self = QCoreApplication::applicationPid();
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &name : pids) {
        bool number = false;
        const qint64 pid = name.toLongLong(&number);
        if (!number || pid == self)
            continue;
        const QByteArray dir = "/proc/" + name.toLatin1() + "/fd";
        const QStringList fds = QDir(QString::fromLatin1(dir)).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QString &fd : fds) {
            char target[4096];
            const ssize_t n = ::readlink((dir + '/' + fd.toLatin1()).constData(), target, sizeof target);
            if (n > 0 && QFile::decodeName(QByteArray(target, int(n))) == wanted) {
                out << pid;
                break;
            }
        }
    }
    return out;
}

}  // namespace versilo
