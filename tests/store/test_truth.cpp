// SPDX-License-Identifier: GPL-3.0-or-later
// What the store does with files that are not what it made: a table or
// column gone, a folder it may not write, leftovers of a start cut short,
// damaged pages; and the mode of what it creates.
#include "rhymedict.h"
#include "seed.h"
#include "store_fixture.h"

#include <QFileInfo>
#include <cstring>
#include <functional>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace versilo::test {
namespace {

const QString kDictSeed = QStringLiteral("汉字\t平仄\t韵调\t拼音\n东\t0\t1\tdong\n冬\t0\t1\tdong\n董\t1\t1\tdong\n");
const QString kBookSeed = QStringLiteral("篇名\t格律\t正文\n忆江南\t○○●-\t说明-\n");

class TruthTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        Seed(QStringLiteral("中华新韵"), kDictSeed);
        Seed(QStringLiteral("平水韵"), kDictSeed);
        Seed(QStringLiteral("常用词谱"), kBookSeed);
        Seed(QStringLiteral("白香词谱"), kBookSeed);
    }

    // Runs SQL on the file with a connection of its own, as another tool would.
    void Damage(const char *sql)
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(DbPath()).constData(), &db), SQLITE_OK);
        sqlite3_key(db, DataStore::kPassword, int(strlen(DataStore::kPassword)));
        char *msg = nullptr;
        EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &msg), SQLITE_OK) << (msg ? msg : "") << sql;
        sqlite3_free(msg);
        sqlite3_close(db);
    }

    // The table without one column, its rows kept (as ALTER TABLE ... DROP
    // COLUMN would leave it, which this engine lacks).
    void DropColumn(const QString &table, const QString &column)
    {
        const QStringList all = table.endsWith(QStringLiteral("词谱"))
                                    ? QStringList{"篇名", "格律", "正文"}
                                    : QStringList{"汉字", "平仄", "韵调", "拼音"};
        QStringList kept = all;
        kept.removeAll(column);
        const QString cols = kept.join(u',');
        Damage(QStringLiteral("ALTER TABLE %1 RENAME TO damaged;"
                              "CREATE TABLE %1 (id INTEGER PRIMARY KEY AUTOINCREMENT, %2);"
                              "INSERT INTO %1 (id, %2) SELECT id, %2 FROM damaged; DROP TABLE damaged;")
                   .arg(table, cols).toUtf8().constData());
    }

    int Rows(DataStore &store, const QString &table)
    {
        Recordset &rs = store.Rs();
        if (!rs.Open(QStringLiteral("select *from ") + table))
            return -1;
        const int n = rs.RecordCount();
        rs.Close();
        return n;
    }
};

TEST_F(TruthTest, AMissingDictionaryOrBookIsRefilledFromTheSeedNeverLeftEmpty)
{
    for (const char *t : {"中华新韵", "平水韵", "常用词谱", "白香词谱"}) {
        const QString table = QString::fromUtf8(t);
        QFile::remove(DbPath());
        Open();
        Damage(QStringLiteral("DROP TABLE %1").arg(table).toUtf8().constData());
        auto store = Open();
        EXPECT_EQ(Rows(*store, table), table.endsWith(QStringLiteral("词谱")) ? 1 : 3) << t;
    }
    // The table made afresh marks with the seed's tones.
    auto store = Open();
    RhymeDictionary dict;
    QString error;
    ASSERT_TRUE(LoadRhymeDictionary(*store, QStringLiteral("平水韵"), dict, &error)) << error.toStdString();
    EXPECT_EQ(dict.ToneMark(U'董'), QChar(u'●'));
}

TEST_F(TruthTest, AMissingDictionaryWithoutSeedRowsIsNotMadeEmpty)
{
    Open();
    Damage("DROP TABLE 中华新韵");
    QFile::remove(QDir(seedDir).filePath(QStringLiteral("中华新韵.tsv")));
    auto store = Open();
    RhymeDictionary dict;
    QString error;
    EXPECT_FALSE(LoadRhymeDictionary(*store, QStringLiteral("中华新韵"), dict, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("缺少"))) << error.toStdString();
}

TEST_F(TruthTest, ARowfulTableWithoutAColumnItsRowsNeedIsReportedNotCompleted)
{
    struct Case {
        const char *table, *column;
    } cases[] = {{"中华新韵", "平仄"}, {"平水韵", "韵调"}, {"常用词谱", "格律"}};
    for (const Case &c : cases) {
        QFile::remove(DbPath());
        Open();
        DropColumn(QString::fromUtf8(c.table), QString::fromUtf8(c.column));
        auto store = Open();
        Recordset &rs = store->Rs();
        ASSERT_TRUE(rs.Open(QStringLiteral("select *from ") + QString::fromUtf8(c.table)));
        EXPECT_FALSE(rs.Columns().contains(QString::fromUtf8(c.column))) << c.table << c.column;
        EXPECT_GT(rs.RecordCount(), 0);
        rs.Close();
    }
    // The reader of the dictionary says what is missing instead of marking 空.
    QFile::remove(DbPath());
    Open();
    DropColumn(QStringLiteral("平水韵"), QStringLiteral("韵调"));
    auto store = Open();
    RhymeDictionary dict;
    QString error;
    EXPECT_FALSE(LoadRhymeDictionary(*store, QStringLiteral("平水韵"), dict, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("韵调"))) << error.toStdString();

    // An emptied table without the column has nothing to lose: made afresh.
    store.reset();
    Damage("DELETE FROM 平水韵");
    store = Open();
    ASSERT_TRUE(LoadRhymeDictionary(*store, QStringLiteral("平水韵"), dict, &error)) << error.toStdString();
    EXPECT_EQ(dict.ToneMark(U'东'), QChar(u'○'));
}

TEST_F(TruthTest, CreatedFilesAreTheWritersAlone)
{
    const mode_t old = ::umask(022);
    auto store = Open();
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品"), {}, LockType::Optimistic));
    ASSERT_TRUE(rs.AddNew());
    ASSERT_TRUE(rs.SetField(QStringLiteral("篇名"), QStringLiteral("春")));
    ASSERT_TRUE(rs.Update());
    ::umask(old);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(DbPath()).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST_F(TruthTest, LeftoversOfAnInterruptedStartAreRemovedOthersKept)
{
    // A process that has ended, and this one (still running).
    QProcess done;
    done.start(QStringLiteral("/bin/true"));
    ASSERT_TRUE(done.waitForFinished());
    const qint64 deadPid = done.processId() ? done.processId() : 999999;
    const QString dead = QStringLiteral(".mvtrakp.m.%1.0123abcd.tmp").arg(deadPid);
    const QString alive = QStringLiteral(".mvtrakp.m.%1.89abcdef.tmp").arg(::getpid());
    const QStringList keep{alive, QStringLiteral(".mvtrakp.m.tmp"), QStringLiteral("notes.tmp")};
    for (const QString &name : keep + QStringList{dead, dead + QStringLiteral("-journal")})
        WriteFile(QDir(appDir).filePath(name), "x");
    Open();
    const QStringList left = QDir(appDir).entryList(QDir::Files | QDir::Hidden);
    EXPECT_FALSE(left.contains(dead));
    EXPECT_FALSE(left.contains(dead + QStringLiteral("-journal")));
    for (const QString &name : keep)
        EXPECT_TRUE(left.contains(name)) << name.toStdString();
}

TEST_F(TruthTest, ADamagedPageFailsTheIntegrityCheck)
{
    {
        auto store = Open();
        QString problem;
        EXPECT_TRUE(store->CheckIntegrity(&problem)) << problem.toStdString();
        // Enough works for pages beyond the dictionaries.
        StoreTransaction tx(*store);
        Recordset &rs = store->Rs();
        for (int i = 0; i < 200; ++i) {
            ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品"), {}, LockType::Optimistic));
            ASSERT_TRUE(rs.AddNew());
            ASSERT_TRUE(rs.SetField(QStringLiteral("正文"), QString(200, QChar(u'诗'))));
            ASSERT_TRUE(rs.Update());
        }
        ASSERT_TRUE(tx.Commit());
    }
    QFile f(DbPath());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 size = f.size();
    ASSERT_GT(size, 8 * 4096);
    f.seek(size - 2 * 4096 + 100);   // inside the page before the last
    f.write(QByteArray(64, '\x5a'));
    f.close();

    DataStore store(StoreLocation{appDir, seedDir});
    ASSERT_TRUE(store.Connect()) << store.LastError().toStdString();
    QString problem;
    EXPECT_FALSE(store.CheckIntegrity(&problem));
    EXPECT_TRUE(problem.startsWith(QStringLiteral("数据库文件 ") + DbPath())) << problem.toStdString();
    EXPECT_TRUE(problem.contains(QStringLiteral("没有通过完整性检查"))) << problem.toStdString();
}

// The store used by another user, who may read the file but not write it or
// its folder (as root, permissions would not hold: the part runs in a child
// process as `nobody`). What the child finds comes back in its exit code.
class ReadOnlyTest : public TruthTest {
protected:
    static constexpr uid_t kNobody = 65534;

    // 0: as expected; otherwise the number of the first failed step.
    int AsNobody(const std::function<int()> &steps)
    {
        const pid_t pid = ::fork();
        if (pid == 0) {
            if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
                ::_exit(100);
            ::_exit(steps());
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 200;
    }

    void GiveToNobody(const QString &path)
    {
        ASSERT_EQ(::chown(QFile::encodeName(path).constData(), kNobody, kNobody), 0);
    }
};

TEST_F(ReadOnlyTest, AFileThatCannotBeWrittenIsReadAndEveryWriteSaysWhy)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    Open();
    ASSERT_EQ(::chmod(QFile::encodeName(tmp.path()).constData(), 0755), 0);
    GiveToNobody(appDir);
    GiveToNobody(DbPath());
    struct Case {
        mode_t dirMode, fileMode;
        const char *why;
    } cases[] = {
        {0555, 0600, "所在的文件夹不允许写入"},
        {0755, 0400, "是只读的"},
    };
    for (const Case &c : cases) {
        ASSERT_EQ(::chmod(QFile::encodeName(appDir).constData(), c.dirMode), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(DbPath()).constData(), c.fileMode), 0);
        const QString why = QString::fromUtf8(c.why);
        const int result = AsNobody([&] {
            DataStore store(StoreLocation{appDir, seedDir});
            if (!store.Connect())
                return 1;
            if (!store.ReadOnlyReason().contains(why) || !store.ReadOnlyReason().contains(DbPath()))
                return 2;
            Recordset &rs = store.Rs();
            if (!rs.Open(QStringLiteral("select *from 中华新韵")) || rs.RecordCount() != 3)
                return 3;
            if (!rs.Open(QStringLiteral("select *from 作品"), {}, LockType::Optimistic) || !rs.AddNew()
                || !rs.SetField(QStringLiteral("篇名"), QStringLiteral("春")))
                return 4;
            if (rs.Update())
                return 5;
            if (rs.LastError() != store.ReadOnlyReason())
                return 6;
            StoreTransaction tx(store);
            if (tx.Active() || tx.LastError() != store.ReadOnlyReason())
                return 7;
            return 0;
        });
        if (result == 100)
            GTEST_SKIP() << "cannot act as another user here";
        EXPECT_EQ(result, 0) << c.why;
    }
    ASSERT_EQ(::chmod(QFile::encodeName(appDir).constData(), 0755), 0);
    EXPECT_EQ(QDir(appDir).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("mvtrakp.m")});
}

}  // namespace
}  // namespace versilo::test
