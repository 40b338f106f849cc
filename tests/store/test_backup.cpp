// SPDX-License-Identifier: GPL-3.0-or-later
// Backup and restore of the database, and a write that meets a full disk.
#include "backup.h"
#include "gateway.h"
#include "store_fixture.h"

#include <QStandardPaths>

#include <sqlite3.h>
#include <unistd.h>

namespace versilo::test {
namespace {

class BackupTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        Seed(kWorksTable, QStringLiteral("篇名\t正文\n春晓\t春眠不觉晓\n"));
    }

    static QStringList Titles(DataStore &store)
    {
        std::vector<WorkRow> rows;
        EXPECT_TRUE(ReadAll(store.NewRecordset(), QStringLiteral("select *from 作品"), {}, rows));
        QStringList titles;
        for (const WorkRow &w : rows)
            titles << w.title;
        return titles;
    }
    static QStringList TitlesIn(const QString &dir)
    {
        DataStore store(StoreLocation{dir, {}});
        EXPECT_TRUE(store.Connect()) << store.LastError().toStdString();
        return Titles(store);
    }
    static void AddWork(DataStore &store, const QString &title)
    {
        WorkRow w;
        w.title = title;
        ASSERT_TRUE(InsertRow(store.NewRecordset(), kWorksTable, w));
    }
};

TEST_F(BackupTest, CopyTakenWhileAnotherConnectionWritesHoldsTheCommittedState)
{
    auto store = Open();
    const QString copy = tmp.filePath(QStringLiteral("copy/mvtrakp.m"));
    QDir().mkpath(tmp.filePath(QStringLiteral("copy")));
    {
        // A write under way in the running program is not in the copy.
        StoreTransaction tx(*store);
        ASSERT_TRUE(tx.Active());
        AddWork(*store, QStringLiteral("未完"));
        QString error;
        ASSERT_TRUE(BackupDatabase(DbPath(), copy, &error)) << error.toStdString();
    }
    EXPECT_EQ(TitlesIn(tmp.filePath(QStringLiteral("copy"))), QStringList{QStringLiteral("春晓")});

    // Never over an existing file.
    AddWork(*store, QStringLiteral("静夜思"));
    const QByteArray before = ReadFile(copy);
    QString error;
    EXPECT_FALSE(BackupDatabase(DbPath(), copy, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("已经存在"))) << error.toStdString();
    EXPECT_EQ(ReadFile(copy), before);
    EXPECT_FALSE(BackupDatabase(appDir + QStringLiteral("/none.m"), copy + QStringLiteral("2"), &error));
}

TEST_F(BackupTest, RestorePutsTheCopyBackAndKeepsTheDatabaseItReplaces)
{
    auto store = Open();
    const QString copy = tmp.filePath(QStringLiteral("backup.m"));
    QString error;
    ASSERT_TRUE(BackupDatabase(DbPath(), copy, &error)) << error.toStdString();
    AddWork(*store, QStringLiteral("后来"));
    store.reset();

    QString kept;
    ASSERT_TRUE(RestoreDatabase(copy, DbPath(), &kept, &error)) << error.toStdString();
    EXPECT_EQ(TitlesIn(appDir), QStringList{QStringLiteral("春晓")});
    ASSERT_FALSE(kept.isEmpty());
    EXPECT_TRUE(kept.startsWith(DbPath() + QStringLiteral(".before-restore-")));
    // The replaced database opens as it was.
    const QString keptDir = tmp.filePath(QStringLiteral("kept"));
    QDir().mkpath(keptDir);
    ASSERT_TRUE(QFile::copy(kept, keptDir + QStringLiteral("/mvtrakp.m")));
    EXPECT_EQ(TitlesIn(keptDir), (QStringList{QStringLiteral("春晓"), QStringLiteral("后来")}));
}

TEST_F(BackupTest, RestoreRefusesABadCopyOrAHeldDatabaseAndChangesNothing)
{
    Open().reset();
    const QString good = tmp.filePath(QStringLiteral("good.m"));
    QString error;
    ASSERT_TRUE(BackupDatabase(DbPath(), good, &error)) << error.toStdString();
    const QByteArray goodBytes = ReadFile(good);

    // A copy damaged in the middle, one made with another password, one that
    // is no database at all, one that is not there.
    QByteArray damaged = goodBytes;
    for (qsizetype i = damaged.size() / 2; i < damaged.size() / 2 + 64; ++i)
        damaged[i] = char(~damaged[i]);
    WriteFile(tmp.filePath(QStringLiteral("damaged.m")), damaged);
    WriteFile(tmp.filePath(QStringLiteral("text.m")), QByteArray("not a database").repeated(100));
    ASSERT_TRUE(RunSqlcipherShell(tmp.filePath(QStringLiteral("otherkey.m")),
                                  QStringLiteral("PRAGMA key='another';\nCREATE TABLE t(x);\nINSERT INTO t VALUES(1);\n")));

    const QByteArray before = ReadFile(DbPath());
    for (const char *name : {"damaged.m", "text.m", "otherkey.m", "missing.m"}) {
        QString kept;
        error.clear();
        EXPECT_FALSE(RestoreDatabase(tmp.filePath(QString::fromLatin1(name)), DbPath(), &kept, &error)) << name;
        EXPECT_FALSE(error.isEmpty()) << name;
        EXPECT_TRUE(kept.isEmpty()) << name;
        EXPECT_EQ(ReadFile(DbPath()), before) << name;
    }

    // Another program with the file open: refused, naming it.
    QProcess holder;
    holder.setStandardInputFile(DbPath());
    holder.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(holder.waitForStarted());
    EXPECT_TRUE(ProcessesUsing(DbPath()).contains(holder.processId()));
    QString kept;
    EXPECT_FALSE(RestoreDatabase(good, DbPath(), &kept, &error));
    EXPECT_TRUE(error.contains(QString::number(holder.processId()))) << error.toStdString();
    EXPECT_EQ(ReadFile(DbPath()), before);
    holder.kill();
    holder.waitForFinished();
    EXPECT_TRUE(ProcessesUsing(DbPath()).isEmpty());
    EXPECT_TRUE(RestoreDatabase(good, DbPath(), &kept, &error)) << error.toStdString();
}

// A disk that fills up during a write: the writer is told so and the file
// keeps what it held. A small tmpfs where this test may mount one (as root);
// otherwise the file is capped with SQLite's max_page_count, which ends a
// write with the same "disk full" result.
class FullDiskTest : public StoreTest {
protected:
    void TearDown() override
    {
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {mountPoint});
    }
    bool MountSmallDisk()
    {
        if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("mount")).isEmpty())
            return false;
        mountPoint = tmp.filePath(QStringLiteral("disk"));
        QDir().mkpath(mountPoint);
        mounted = QProcess::execute(QStringLiteral("mount"),
                                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                     QStringLiteral("size=1m"), QStringLiteral("tmpfs"), mountPoint}) == 0;
        return mounted;
    }
    QString mountPoint;
    bool mounted = false;
};

TEST_F(FullDiskTest, WriteThatDoesNotFitIsReportedAndTheFileStaysIntact)
{
    Seed(kWorksTable, QStringLiteral("篇名\t正文\n春晓\t春眠不觉晓\n"));
    const bool tmpfs = MountSmallDisk();
    if (tmpfs)
        appDir = mountPoint;
    auto store = Open();
    ASSERT_TRUE(store->IsConnected());
    QString filler = mountPoint + QStringLiteral("/filler");
    if (tmpfs) {
        // The disk is filled up to a few kilobytes.
        QFile f(filler);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (f.write(block) == block.size() && f.flush()) {
        }
        f.close();
        f.resize(std::max<qint64>(0, f.size() - 3 * 4096));
    } else {
        ASSERT_EQ(sqlite3_exec(store->Handle(), "PRAGMA max_page_count = 8", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    std::printf("[ full disk ] %s\n", tmpfs ? "tmpfs of 1 MB" : "max_page_count (no tmpfs could be mounted)");

    WorkRow big;
    big.title = QStringLiteral("长诗");
    big.poem = QStringLiteral("大江东去浪淘尽千古风流人物").repeated(20000);
    QString error;
    EXPECT_FALSE(InsertRow(store->NewRecordset(), kWorksTable, big, {}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("磁盘已满"))) << error.toStdString();

    // Reopened, the file is whole and holds what it held.
    store.reset();
    DataStore again(StoreLocation{appDir, seedDir});
    ASSERT_TRUE(again.Connect()) << again.LastError().toStdString();
    sqlite3_stmt *st = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(again.Handle(), "PRAGMA integrity_check", -1, &st, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)), "ok");
    sqlite3_finalize(st);
    std::vector<WorkRow> rows;
    ASSERT_TRUE(ReadAll(again.NewRecordset(), QStringLiteral("select *from 作品"), {}, rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].title, QStringLiteral("春晓"));

    // With room again, the same write succeeds.
    if (tmpfs) {
        QFile::remove(filler);
        big.poem.truncate(big.poem.size() / 4);
        EXPECT_TRUE(InsertRow(again.NewRecordset(), kWorksTable, big, {}, &error)) << error.toStdString();
    }
}

}  // namespace
}  // namespace versilo::test
