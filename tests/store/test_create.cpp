// SPDX-License-Identifier: GPL-3.0-or-later
// Opening and creating mvtrakp.m: the seed, files made elsewhere, and files
// that must be refused without being touched.
#include "initials.h"
#include "seed.h"
#include "store_fixture.h"

#include <QCoreApplication>
#include <cstring>
#include <future>
#include <sqlite3.h>
#include <thread>

namespace versilo::test {
namespace {

using CreateTest = StoreTest;

QStringList DirEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

int UserVersion(DataStore &store)
{
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(store.Handle(), "PRAGMA user_version", -1, &st, nullptr);
    const int v = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
    sqlite3_finalize(st);
    return v;
}

TEST_F(CreateTest, MissingFileIsBuiltFromTheSeed)
{
    Seed(QStringLiteral("中华新韵"),
         QStringLiteral("汉字\t平仄\t韵调\t拼音\n"
                        "东\t0\t11\tdong\n"
                        "董\t1\t\tdong\n"
                        "怪\t\\N\tx7\tguai\n"));
    Seed(QStringLiteral("常识"),
         QStringLiteral("标题\t内容\r\n"
                        "转义\t一\\t二\\n三\\r\\\\四\\q\r\n"));
    Seed(QStringLiteral("作者"),
         QStringLiteral("姓名\t朝代\t年代\n"
                        "李白\t唐\t701\n"
                        "无名\t---\t\n"));
    Seed(QStringLiteral("诗词库"),
         QStringLiteral("标题\t作者\t正文\t拼音\n"
                        "静夜思\t李白\t床前明月光\t\n"
                        "春晓\t孟浩然\t春眠不觉晓\tzzz\n"));
    auto store = Open();
    ASSERT_TRUE(QFile::exists(DbPath()));
    EXPECT_EQ(DirEntries(appDir), QStringList{QStringLiteral("mvtrakp.m")});   // no temporary left

    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 中华新韵")));
    ASSERT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(rs.Columns(), (QStringList{"id", "汉字", "平仄", "韵调", "拼音"}));
    EXPECT_EQ(rs.Field(QStringLiteral("id")).toLongLong(), 1);
    EXPECT_EQ(rs.Field(QStringLiteral("韵调")).typeId(), QMetaType::LongLong);
    EXPECT_EQ(rs.Field(QStringLiteral("韵调")).toLongLong(), 11);
    EXPECT_EQ(rs.Field(QStringLiteral("平仄")).toString(), QStringLiteral("0"));
    rs.MoveNext();
    EXPECT_TRUE(rs.Field(QStringLiteral("韵调")).isNull());   // empty number: null
    rs.MoveNext();
    EXPECT_TRUE(rs.Field(QStringLiteral("平仄")).isNull());
    EXPECT_EQ(rs.Field(QStringLiteral("韵调")).toString(), QStringLiteral("x7"));   // kept as written

    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 常识")));
    EXPECT_EQ(rs.Text(QStringLiteral("标题")), QStringLiteral("转义"));
    EXPECT_EQ(rs.Text(QStringLiteral("内容")), QStringLiteral("一\t二\n三\r\\四\\q"));

    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作者")));
    EXPECT_EQ(rs.Field(QStringLiteral("年代")).typeId(), QMetaType::Double);
    EXPECT_EQ(rs.Field(QStringLiteral("年代")).toDouble(), 701.0);
    EXPECT_EQ(rs.Text(QStringLiteral("拼音")), PinyinInitials(QStringLiteral("李白")));
    rs.MoveNext();
    EXPECT_TRUE(rs.Field(QStringLiteral("年代")).isNull());

    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 诗词库")));
    EXPECT_EQ(rs.Text(QStringLiteral("拼音")), PinyinInitials(QStringLiteral("静夜思")));
    rs.MoveNext();
    EXPECT_EQ(rs.Text(QStringLiteral("拼音")), QStringLiteral("zzz"));

    // Tables without a seed file exist and are empty.
    for (const char *t : {"平水韵", "作品", "常用词谱", "白香词谱"}) {
        ASSERT_TRUE(rs.Open(QStringLiteral("select *from ") + QString::fromUtf8(t)));
        EXPECT_EQ(rs.RecordCount(), 0);
    }
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品")));
    EXPECT_EQ(rs.Columns(), (QStringList{"id", "篇名", "正文", "格律", "词牌名", "词谱名", "作者", "时间"}));
}

TEST_F(CreateTest, CreatedFileOpensInTheSqlcipherShell)
{
    Seed(QStringLiteral("平水韵"), QStringLiteral("汉字\t平仄\t韵调\t拼音\n东\t0\t1\tdong\n"));
    Open();
    QString out;
    if (!RunSqlcipherShell(DbPath(), QStringLiteral("PRAGMA key='t3k9w2hpzq7mvd';\n"
                                                    "select 汉字, 韵调 from 平水韵;\n"), &out))
        GTEST_SKIP() << "sqlcipher shell not installed";
    EXPECT_EQ(out.trimmed(), QStringLiteral("东|1"));
}

TEST_F(CreateTest, ExistingFileIsNeverReplaced)
{
    struct Case {
        QByteArray bytes;
        QString why;
    };
    QByteArray garbage(4096, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = char((i * 37 + 11) & 0xff);
    const Case cases[] = {
        {QByteArray("this is not a database\n"), QStringLiteral("文件已损坏，或者不是 Versilo 的数据库")},
        {garbage, QStringLiteral("文件已损坏，或者不是 Versilo 的数据库")},
        {QByteArray(), QStringLiteral("文件是空的")},
    };
    Seed(QStringLiteral("作品"), QStringLiteral("篇名\t正文\t格律\t词牌名\t词谱名\t作者\t时间\na\tb\tc\td\te\tf\tg\n"));
    for (const Case &c : cases) {
        WriteFile(DbPath(), c.bytes);
        DataStore store(StoreLocation{appDir, seedDir});
        EXPECT_FALSE(store.Connect());
        EXPECT_FALSE(store.IsConnected());
        EXPECT_TRUE(store.LastError().contains(DbPath())) << store.LastError().toStdString();
        EXPECT_TRUE(store.LastError().contains(c.why)) << store.LastError().toStdString();
        EXPECT_FALSE(store.Rs().Open(QStringLiteral("select *from 作品")));
        EXPECT_EQ(ReadFile(DbPath()), c.bytes);
        EXPECT_EQ(DirEntries(appDir), QStringList{QStringLiteral("mvtrakp.m")});
    }
}

TEST_F(CreateTest, WrongPasswordIsReportedAndTheFileKept)
{
    const QString script = QStringLiteral("PRAGMA key='another-password';\n"
                                          "CREATE TABLE 作品(id INTEGER, 篇名 TEXT);\n"
                                          "INSERT INTO 作品 VALUES (1, 'x');\n");
    if (!RunSqlcipherShell(DbPath(), script))
        GTEST_SKIP() << "sqlcipher shell not installed";
    const QByteArray before = ReadFile(DbPath());
    ASSERT_FALSE(before.isEmpty());
    DataStore store(StoreLocation{appDir, seedDir});
    EXPECT_FALSE(store.Connect());
    EXPECT_EQ(store.LastError(),
              QStringLiteral("无法打开数据库文件 %1：文件已损坏，或者不是 Versilo 的数据库。").arg(DbPath()));
    EXPECT_EQ(ReadFile(DbPath()), before);
}

TEST_F(CreateTest, FileMadeByTheShellWithPlainIdColumnsWorks)
{
    const QString script = QStringLiteral(
        "PRAGMA key='t3k9w2hpzq7mvd';\n"
        "CREATE TABLE 中华新韵(id INTEGER, 汉字 TEXT, 平仄 TEXT, 韵调 INTEGER, 拼音 TEXT);\n"
        "INSERT INTO 中华新韵 VALUES (7, '麻', '0', 1, 'ma');\n"
        "INSERT INTO 中华新韵 VALUES (3, '马', '1', 1, 'ma');\n"
        "CREATE TABLE 作品(id INTEGER, 篇名 TEXT, 正文 TEXT, 格律 TEXT, 词牌名 TEXT, 词谱名 TEXT, 作者 TEXT, 时间 TEXT);\n"
        "CREATE TABLE 诗词库(id INTEGER, 标题 TEXT, 作者 TEXT, 正文 TEXT);\n");
    if (!RunSqlcipherShell(DbPath(), script))
        GTEST_SKIP() << "sqlcipher shell not installed";
    auto store = Open();
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from  中华新韵")));
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Text(QStringLiteral("汉字")), QStringLiteral("麻"));

    // A new row gets the next number after the largest id.
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 中华新韵"), {}, LockType::Optimistic));
    ASSERT_TRUE(rs.AddNew());
    ASSERT_TRUE(rs.SetField(QStringLiteral("汉字"), QStringLiteral("花")));
    ASSERT_TRUE(rs.SetField(QStringLiteral("韵调"), QStringLiteral("1")));
    ASSERT_TRUE(rs.Update()) << rs.LastError().toStdString();
    EXPECT_EQ(rs.Field(QStringLiteral("id")).toLongLong(), 8);
    EXPECT_EQ(rs.Field(QStringLiteral("韵调")).toLongLong(), 1);

    // Changing and deleting address the row itself, not its id.
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 中华新韵 where id=?"), {3}, LockType::Optimistic));
    ASSERT_TRUE(rs.SetField(QStringLiteral("拼音"), QStringLiteral("mǎ")));
    ASSERT_TRUE(rs.Update());
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 中华新韵 where id=?"), {7}, LockType::Optimistic));
    ASSERT_TRUE(rs.Delete());
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 中华新韵")));
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Text(QStringLiteral("拼音")), QStringLiteral("mǎ"));

    // What the file lacked was added: the missing tables and columns, and
    // the version mark with them.
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 常识")));
    EXPECT_EQ(rs.RecordCount(), 0);
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 诗词库")));
    EXPECT_TRUE(rs.Columns().contains(QStringLiteral("拼音")));
    rs.Close();
    EXPECT_EQ(UserVersion(*store), 1);
}

TEST_F(CreateTest, ReadingNeverWritesTheFile)
{
    // A complete file without the version mark (made by another tool).
    Seed(QStringLiteral("平水韵"), QStringLiteral("汉字\t平仄\t韵调\t拼音\n东\t0\t1\tdong\n"));
    {
        auto store = Open();
        EXPECT_EQ(UserVersion(*store), 1);   // a new file carries the mark
        ASSERT_EQ(sqlite3_exec(store->Handle(), "PRAGMA user_version = 0", nullptr, nullptr, nullptr), SQLITE_OK);
    }
    const QByteArray before = ReadFile(DbPath());
    {
        auto store = Open();
        ASSERT_TRUE(store->Rs().Open(QStringLiteral("select *from 平水韵")));
        EXPECT_EQ(store->Rs().RecordCount(), 1);
        store->Rs().Close();
        EXPECT_EQ(UserVersion(*store), 0);
    }
    EXPECT_EQ(ReadFile(DbPath()), before);
}

TEST_F(CreateTest, AnotherProgramHoldingTheFileIsWaitedFor)
{
    Open();
    int waits = 0;
    DataStore::SetWaitNotifier([&waits] { ++waits; });
    // Another connection writes for a moment, holding the file exclusively.
    std::promise<void> locked;
    std::thread writer([&] {
        sqlite3 *db = nullptr;
        sqlite3_open_v2(QFile::encodeName(DbPath()).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_key(db, DataStore::kPassword, int(std::strlen(DataStore::kPassword)));
        const int rc = sqlite3_exec(db, "BEGIN EXCLUSIVE; INSERT INTO 作品 (篇名) VALUES ('另一个程序')",
                                    nullptr, nullptr, nullptr);
        locked.set_value();
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        if (rc == SQLITE_OK)
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    });
    locked.get_future().wait();
    DataStore store(StoreLocation{appDir, seedDir});
    const bool connected = store.Connect();
    const bool read = connected && store.Rs().Open(QStringLiteral("select *from 作品"));
    writer.join();
    DataStore::SetWaitNotifier({});
    ASSERT_TRUE(connected) << store.LastError().toStdString();
    ASSERT_TRUE(read) << store.Rs().LastError().toStdString();
    EXPECT_EQ(store.Rs().RecordCount(), 1);
    EXPECT_EQ(waits, 1);
}

TEST_F(CreateTest, CreationLosesTheRaceWithoutTouchingTheWinner)
{
    // Another program put a file in place while ours was being built.
    const QByteArray winner("made by someone else");
    WriteFile(DbPath(), winner);
    QString error;
    EXPECT_TRUE(seed::CreateDatabase(DbPath(), seedDir, &error)) << error.toStdString();
    EXPECT_EQ(ReadFile(DbPath()), winner);
    EXPECT_EQ(DirEntries(appDir), QStringList{QStringLiteral("mvtrakp.m")});
}

TEST(SeedFieldTest, Escapes)
{
    EXPECT_TRUE(seed::UnescapeField(u"\\N").isNull());           // the field \N
    const QVariant escaped = seed::UnescapeField(u"\\\\N");      // the field \\N
    EXPECT_FALSE(escaped.isNull());
    EXPECT_EQ(escaped.toString(), QStringLiteral("\\N"));
    EXPECT_FALSE(seed::UnescapeField(u"").isNull());
    EXPECT_EQ(seed::UnescapeField(u"a\\\\t").toString(), QStringLiteral("a\\t"));
    EXPECT_EQ(seed::UnescapeField(u"末尾\\").toString(), QStringLiteral("末尾\\"));
}

TEST_F(CreateTest, MissingFolderIsReported)
{
    const QString gone = tmp.filePath(QStringLiteral("no/such/folder"));
    DataStore store(StoreLocation{gone, seedDir});
    EXPECT_EQ(store.FilePath(), gone + QStringLiteral("/mvtrakp.m"));
    EXPECT_FALSE(store.Connect());
    EXPECT_TRUE(store.LastError().contains(store.FilePath())) << store.LastError().toStdString();
    EXPECT_FALSE(QDir(gone).exists());
}

TEST_F(CreateTest, BrokenSeedCreatesNothing)
{
    const QString cases[] = {
        QStringLiteral("标题\t内容\n只有一个字段\n"),
        QStringLiteral("标题\t内容\t多余\n一\t二\t三\n"),
    };
    for (const QString &content : cases) {
        Seed(QStringLiteral("常识"), content);
        DataStore store(StoreLocation{appDir, seedDir});
        EXPECT_FALSE(store.Connect());
        EXPECT_TRUE(store.LastError().contains(QStringLiteral("常识.tsv"))) << store.LastError().toStdString();
        EXPECT_TRUE(store.LastError().contains(DbPath())) << store.LastError().toStdString();
        EXPECT_TRUE(DirEntries(appDir).isEmpty()) << DirEntries(appDir).join(u' ').toStdString();
    }
}

TEST_F(CreateTest, CompiledInSeedFillsEveryTable)
{
    DataStore store(StoreLocation{appDir, QString()});
    ASSERT_TRUE(store.Connect()) << store.LastError().toStdString();
    int seeded = 0;
    for (const char *t : {"中华新韵", "平水韵", "作品", "常用词谱", "白香词谱", "常识", "诗词库", "作者"}) {
        const QString table = QString::fromUtf8(t);
        QFile seed(QStringLiteral(":/seed/") + table + QStringLiteral(".tsv"));
        qsizetype rows = 0;
        if (seed.open(QIODevice::ReadOnly)) {
            ++seeded;
            rows = seed.readAll().count('\n') - 1;
        }
        ASSERT_TRUE(store.Rs().Open(QStringLiteral("select *from ") + table)) << t;
        EXPECT_EQ(store.Rs().RecordCount(), rows) << t;
    }
    if (seeded == 0)
        GTEST_SKIP() << "no seed compiled in";
}

TEST_F(CreateTest, DefaultLocationIsTheProgramFolder)
{
    DataStore store;
    EXPECT_EQ(store.Location().appDir, QCoreApplication::applicationDirPath());
    EXPECT_EQ(store.FilePath(), QCoreApplication::applicationDirPath() + QStringLiteral("/mvtrakp.m"));
}

}  // namespace
}  // namespace versilo::test
