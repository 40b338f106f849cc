// SPDX-License-Identifier: GPL-3.0-or-later
// The recordset over a real encrypted file: reading, finding, adding,
// changing and deleting rows with the program's own SQL texts.
#include "store_fixture.h"

#include "patternbooks.h"

#include <sqlite3.h>

namespace versilo::test {
namespace {

const QString kAllWorks = QStringLiteral("select *from 作品");

class RecordsetTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        Seed(QStringLiteral("作品"),
             QStringLiteral("篇名\t正文\t格律\t词牌名\t词谱名\t作者\t时间\n"
                            "春晓\t春眠不觉晓|处处闻啼鸟\t\t\t\t孟浩然\t唐\n"
                            "静夜思\t床前明月光\t\t\t\t李白\t\\N\n"
                            "\\N\t无题一\t\t\t\t\t\n"));
        Seed(QStringLiteral("诗词库"),
             QStringLiteral("标题\t作者\t正文\t拼音\n"
                            "甲\t某\t一\tABC\n"
                            "乙\t某\t二\txaBy\n"
                            "丙\t某\t三\tq\n"
                            "丁\t某\t四\t\\N\n"));
        store = Open();
    }

    // The titles of all works, in the order the store returns them.
    QStringList Titles()
    {
        Recordset &rs = store->Rs();
        EXPECT_TRUE(rs.Open(kAllWorks));
        QStringList out;
        for (int i = 0; i < rs.RecordCount(); ++i, rs.MoveNext())
            out << (rs.Field(QStringLiteral("篇名")).isNull() ? QStringLiteral("<null>")
                                                             : rs.Text(QStringLiteral("篇名")));
        rs.Close();
        return out;
    }

    qint64 AddWork(const QString &title, const QString &poem = QStringLiteral("诗"))
    {
        Recordset &rs = store->Rs();
        EXPECT_TRUE(rs.Open(kAllWorks, {}, LockType::Optimistic)) << rs.LastError().toStdString();
        EXPECT_TRUE(rs.AddNew());
        EXPECT_TRUE(rs.SetField(QStringLiteral("篇名"), title));
        EXPECT_TRUE(rs.SetField(QStringLiteral("正文"), poem));
        EXPECT_TRUE(rs.Update()) << rs.LastError().toStdString();
        const qint64 id = rs.Field(QStringLiteral("id")).toLongLong();
        EXPECT_EQ(rs.Text(QStringLiteral("篇名")), title);
        rs.Close();
        return id;
    }

    std::unique_ptr<DataStore> store;
};

TEST_F(RecordsetTest, RecordCountIsExactRightAfterOpen)
{
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(kAllWorks));
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_FALSE(rs.Eof());
    EXPECT_EQ(rs.Text(QStringLiteral("篇名")), QStringLiteral("春晓"));

    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where 篇名 =?"), {QStringLiteral("无此")}));
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_TRUE(rs.Eof());
    EXPECT_FALSE(rs.Field(QStringLiteral("篇名")).isValid());
    EXPECT_EQ(rs.Text(QStringLiteral("篇名")), QString());

    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 常识")));
    EXPECT_EQ(rs.RecordCount(), 0);
    rs.Close();
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_EQ(rs.RecordCount(), 0);
}

TEST_F(RecordsetTest, AcceptsTheProgramsSqlShapes)
{
    Recordset &rs = store->Rs();
    for (const QString &sql : {QStringLiteral("select *from 作品"), QStringLiteral("select*from 作品"),
                               QStringLiteral("select *from  作品"), QStringLiteral("SELECT * from 作品  "),
                               QStringLiteral("Select * From\t作品")}) {
        ASSERT_TRUE(rs.Open(sql)) << sql.toStdString() << rs.LastError().toStdString();
        EXPECT_EQ(rs.RecordCount(), 3) << sql.toStdString();
        EXPECT_EQ(rs.Columns(), (QStringList{"id", "篇名", "正文", "格律", "词牌名", "词谱名", "作者", "时间"}));
    }
    ASSERT_TRUE(rs.Open(QStringLiteral("select*from 作品 where id=?"), {2}));
    EXPECT_EQ(rs.Text(QStringLiteral("篇名")), QStringLiteral("静夜思"));
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where id =?"), {QStringLiteral("2")}));
    EXPECT_EQ(rs.RecordCount(), 1);
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where 篇名='春晓'")));
    EXPECT_EQ(rs.RecordCount(), 1);
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where 篇名 is  null"), {}, LockType::Optimistic));
    EXPECT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Text(QStringLiteral("正文")), QStringLiteral("无题一"));
}

TEST_F(RecordsetTest, ValuesComeBackWithTheirTypes)
{
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where id=?"), {2}));
    EXPECT_EQ(rs.Field(QStringLiteral("id")).typeId(), QMetaType::LongLong);
    EXPECT_EQ(rs.Field(QStringLiteral("作者")).typeId(), QMetaType::QString);
    const QVariant null = rs.Field(QStringLiteral("时间"));
    EXPECT_TRUE(null.isValid());
    EXPECT_TRUE(null.isNull());
    EXPECT_EQ(null.toString(), QString());
    EXPECT_FALSE(rs.Field(QStringLiteral("没有这列")).isValid());
    EXPECT_EQ(rs.ColumnIndex(QStringLiteral("篇名")), 1);
    EXPECT_EQ(rs.FieldAt(1).toString(), QStringLiteral("静夜思"));
    EXPECT_FALSE(rs.FieldAt(99).isValid());
}

TEST_F(RecordsetTest, BadQueriesFailCleanly)
{
    Recordset &rs = store->Rs();
    EXPECT_FALSE(rs.Open(QStringLiteral("select *from 作品 where 篇名 ='it's'")));
    EXPECT_FALSE(rs.LastError().isEmpty());
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_FALSE(rs.Open(QStringLiteral("select *from 无此表")));
    EXPECT_FALSE(rs.Open(QStringLiteral("select *from 作品 where id=?")));   // parameter missing
    EXPECT_FALSE(rs.Open(QStringLiteral("select *from 作品 where id=?"), {1, 2}));
    // The failed statements left nothing open: reading and writing go on.
    EXPECT_FALSE(rs.MoveNext());
    EXPECT_FALSE(rs.Delete());
    EXPECT_TRUE(rs.Eof());
    EXPECT_GT(AddWork(QStringLiteral("后来")), 0);

    DataStore nowhere(StoreLocation{appDir + QStringLiteral("/missing"), seedDir});
    EXPECT_FALSE(nowhere.IsConnected());
    EXPECT_FALSE(nowhere.Rs().Open(kAllWorks));
    EXPECT_FALSE(nowhere.Rs().LastError().isEmpty());
}

TEST_F(RecordsetTest, AStoreLeftUnconnectedConnectsOnItsNextUse)
{
    // A window's connect fails while the file cannot be opened for a moment
    // (here: an empty file stands in its place) ...
    const QString aside = DbPath() + QStringLiteral(".aside");
    ASSERT_TRUE(QFile::rename(DbPath(), aside));
    WriteFile(DbPath(), QByteArray());
    EXPECT_FALSE(store->Connect());
    EXPECT_FALSE(store->IsConnected());
    ASSERT_TRUE(QFile::remove(DbPath()));
    ASSERT_TRUE(QFile::rename(aside, DbPath()));
    // ... and whoever uses the store next finds it working again.
    EXPECT_GT(AddWork(QStringLiteral("后来")), 0);
    EXPECT_TRUE(store->IsConnected());
    EXPECT_EQ(Titles(), (QStringList{"春晓", "静夜思", "<null>", "后来"}));

    DataStore fresh(StoreLocation{appDir, seedDir});   // never connected
    EXPECT_TRUE(fresh.Rs().Open(kAllWorks)) << fresh.Rs().LastError().toStdString();
    EXPECT_EQ(fresh.Rs().RecordCount(), 4);
}

TEST_F(RecordsetTest, FailuresSpeakToTheWriter)
{
    // Why in Chinese, the file's path once; the engine's English and the
    // SQL text only in the log on standard error.
    const QString path = QDir::toNativeSeparators(DbPath());
    Recordset &rs = store->Rs();
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(rs.Open(QStringLiteral("select *from 无此表")));
    const QString readError = rs.LastError();
    ASSERT_EQ(sqlite3_exec(store->Handle(), "PRAGMA query_only = 1", nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_TRUE(rs.Open(kAllWorks, {}, LockType::Optimistic));
    ASSERT_TRUE(rs.AddNew());
    ASSERT_TRUE(rs.SetField(QStringLiteral("篇名"), QStringLiteral("只读")));
    EXPECT_FALSE(rs.Update());
    const QString writeError = rs.LastError();
    const QString log = QString::fromStdString(::testing::internal::GetCapturedStderr());
    rs.Close();

    EXPECT_EQ(readError, QStringLiteral("数据库里缺少所需的数据表或字段（%1）。").arg(path));
    EXPECT_EQ(writeError, QStringLiteral("数据库文件是只读的（%1）。").arg(path));
    EXPECT_TRUE(log.contains(QStringLiteral("select *from 无此表: no such table: 无此表"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("readonly database"))) << log.toStdString();
}

TEST_F(RecordsetTest, TitleWithQuoteRoundTrips)
{
    const QString title = QStringLiteral("It's 'x' \"y\" 秋");
    const qint64 id = AddWork(title, QStringLiteral("旧"));
    ASSERT_GT(id, 0);

    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where 篇名 =?"), {title}, LockType::Optimistic));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Field(QStringLiteral("id")).toLongLong(), id);
    rs.Close();

    ASSERT_TRUE(rs.Open(QStringLiteral("select*from 作品 where id=?"), {id}, LockType::Optimistic));
    ASSERT_TRUE(rs.SetField(QStringLiteral("篇名"), title));
    ASSERT_TRUE(rs.SetField(QStringLiteral("正文"), QStringLiteral("新")));
    ASSERT_TRUE(rs.Update()) << rs.LastError().toStdString();
    rs.Close();

    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where 篇名='") + QStringLiteral("x") +
                        QStringLiteral("' or 篇名 =?"), {title}));
    ASSERT_EQ(rs.RecordCount(), 1);
    EXPECT_EQ(rs.Text(QStringLiteral("正文")), QStringLiteral("新"));
    EXPECT_EQ(Titles().size(), 4);
}

TEST_F(RecordsetTest, LikeIsSubstringIgnoringAsciiCase)
{
    Recordset &rs = store->Rs();
    const QString sql = QStringLiteral("SELECT * from 诗词库  where 拼音 like ?");
    ASSERT_TRUE(rs.Open(sql, {QStringLiteral("%%")}));
    EXPECT_EQ(rs.RecordCount(), 4);   // the missing pinyin of 丁 was filled in
    ASSERT_TRUE(rs.Open(sql, {QStringLiteral("%ab%")}));
    ASSERT_EQ(rs.RecordCount(), 2);
    EXPECT_EQ(rs.Text(QStringLiteral("标题")), QStringLiteral("甲"));
    rs.MoveNext();
    EXPECT_EQ(rs.Text(QStringLiteral("标题")), QStringLiteral("乙"));
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where 正文 like ?"), {QStringLiteral("%闻啼%")}));
    EXPECT_EQ(rs.RecordCount(), 1);
}

TEST_F(RecordsetTest, DeleteByNullTitleRemovesOneRowPerCall)
{
    AddWork(QStringLiteral("留下"));
    {
        Recordset &rs = store->Rs();
        ASSERT_TRUE(rs.Open(kAllWorks, {}, LockType::Optimistic));
        ASSERT_TRUE(rs.AddNew());
        ASSERT_TRUE(rs.SetField(QStringLiteral("正文"), QStringLiteral("无题二")));
        ASSERT_TRUE(rs.Update());
        rs.Close();
    }
    const QString sql = QStringLiteral("select *from 作品 where 篇名 is  null");
    Recordset &rs = store->Rs();
    for (int remaining = 2; remaining > 0; --remaining) {
        ASSERT_TRUE(rs.Open(sql, {}, LockType::Optimistic));
        ASSERT_EQ(rs.RecordCount(), remaining);
        EXPECT_TRUE(rs.Delete()) << rs.LastError().toStdString();
        EXPECT_TRUE(rs.Update());
        rs.Close();
    }
    ASSERT_TRUE(rs.Open(sql, {}, LockType::Optimistic));
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_FALSE(rs.Delete());
    EXPECT_FALSE(rs.LastError().isEmpty());
    rs.Close();
    EXPECT_EQ(Titles(), (QStringList{"春晓", "静夜思", "留下"}));
}

TEST_F(RecordsetTest, DeletedRowIsGoneAndCannotBeDeletedTwice)
{
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where id=?"), {1}, LockType::Optimistic));
    ASSERT_TRUE(rs.Delete());
    EXPECT_FALSE(rs.Delete());
    EXPECT_FALSE(rs.SetField(QStringLiteral("篇名"), QStringLiteral("x")));
    EXPECT_FALSE(rs.Field(QStringLiteral("篇名")).isValid());
    rs.Close();
    EXPECT_EQ(Titles(), (QStringList{"静夜思", "<null>"}));
}

TEST_F(RecordsetTest, AddedRowsGetAscendingIdsNeverReused)
{
    const qint64 a = AddWork(QStringLiteral("甲"));
    const qint64 b = AddWork(QStringLiteral("乙"));
    EXPECT_EQ(a, 4);
    EXPECT_EQ(b, 5);
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where id=?"), {b}, LockType::Optimistic));
    ASSERT_TRUE(rs.Delete());
    rs.Close();
    EXPECT_EQ(AddWork(QStringLiteral("丙")), 6);
    EXPECT_EQ(Titles(), (QStringList{"春晓", "静夜思", "<null>", "甲", "丙"}));

    // The added row is the current row, readable with what the file holds.
    ASSERT_TRUE(rs.Open(kAllWorks, {}, LockType::Optimistic));
    ASSERT_TRUE(rs.AddNew());
    EXPECT_TRUE(rs.Field(QStringLiteral("篇名")).isNull());
    ASSERT_TRUE(rs.SetField(QStringLiteral("篇名"), QStringLiteral("丁")));
    EXPECT_EQ(rs.Text(QStringLiteral("篇名")), QStringLiteral("丁"));
    ASSERT_TRUE(rs.Update());
    EXPECT_EQ(rs.RecordCount(), 6);
    EXPECT_EQ(rs.Field(QStringLiteral("id")).toLongLong(), 7);
    EXPECT_TRUE(rs.Field(QStringLiteral("正文")).isNull());
}

TEST_F(RecordsetTest, ReadOnlyRefusesWrites)
{
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(kAllWorks, {}, LockType::ReadOnly));
    EXPECT_FALSE(rs.SetField(QStringLiteral("篇名"), QStringLiteral("改")));
    EXPECT_FALSE(rs.LastError().isEmpty());
    EXPECT_FALSE(rs.AddNew());
    EXPECT_FALSE(rs.Delete());
    EXPECT_TRUE(rs.Update());   // nothing written, nothing to store
    rs.Close();
    EXPECT_EQ(Titles(), (QStringList{"春晓", "静夜思", "<null>"}));
}

TEST_F(RecordsetTest, UpdateChangesOnlyTheCurrentRow)
{
    AddWork(QStringLiteral("静夜思"), QStringLiteral("同名"));
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where 篇名 =?"), {QStringLiteral("静夜思")},
                        LockType::Optimistic));
    ASSERT_EQ(rs.RecordCount(), 2);
    ASSERT_TRUE(rs.MoveNext());
    ASSERT_TRUE(rs.SetField(QStringLiteral("正文"), QStringLiteral("改过")));
    ASSERT_TRUE(rs.SetField(QStringLiteral("时间"), QVariant()));
    ASSERT_TRUE(rs.Update());
    EXPECT_EQ(rs.Text(QStringLiteral("正文")), QStringLiteral("改过"));
    rs.Close();

    ASSERT_TRUE(rs.Open(kAllWorks));
    QStringList poems;
    for (int i = 0; i < rs.RecordCount(); ++i, rs.MoveNext())
        poems << rs.Text(QStringLiteral("正文"));
    EXPECT_EQ(poems, (QStringList{"春眠不觉晓|处处闻啼鸟", "床前明月光", "无题一", "改过"}));
    EXPECT_FALSE(rs.MoveNext());   // already past the last row
}

TEST_F(RecordsetTest, FieldsWrittenWithoutUpdateAreDropped)
{
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(kAllWorks, {}, LockType::Optimistic));
    ASSERT_TRUE(rs.SetField(QStringLiteral("篇名"), QStringLiteral("未存")));
    ASSERT_TRUE(rs.MoveNext());
    ASSERT_TRUE(rs.AddNew());
    ASSERT_TRUE(rs.SetField(QStringLiteral("篇名"), QStringLiteral("也未存")));
    rs.Close();
    EXPECT_EQ(Titles(), (QStringList{"春晓", "静夜思", "<null>"}));
    EXPECT_FALSE(rs.SetField(QStringLiteral("篇名"), QStringLiteral("x")));   // closed
}

TEST_F(RecordsetTest, FailedWriteLeavesNothingBehind)
{
    char *msg = nullptr;
    ASSERT_EQ(sqlite3_exec(store->Handle(),
                           "CREATE TEMP TRIGGER refuse BEFORE INSERT ON 作品 WHEN NEW.篇名 = 'bad' "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                           nullptr, nullptr, &msg), SQLITE_OK) << msg;
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(kAllWorks, {}, LockType::Optimistic));
    ASSERT_TRUE(rs.AddNew());
    ASSERT_TRUE(rs.SetField(QStringLiteral("篇名"), QStringLiteral("bad")));
    EXPECT_FALSE(rs.Update());
    EXPECT_TRUE(rs.LastError().contains(QStringLiteral("数据库拒绝了这项修改"))) << rs.LastError().toStdString();
    EXPECT_EQ(rs.RecordCount(), 3);
    rs.Close();
    EXPECT_EQ(sqlite3_get_autocommit(store->Handle()), 1);   // no transaction left open
    EXPECT_EQ(AddWork(QStringLiteral("good")), 4);
    EXPECT_EQ(Titles(), (QStringList{"春晓", "静夜思", "<null>", "good"}));
}

// Several writes as one: all of them reach the file, or none does.
TEST_F(RecordsetTest, TransactionStoresAllWritesOrNone)
{
    char *msg = nullptr;
    ASSERT_EQ(sqlite3_exec(store->Handle(),
                           "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON 作品 WHEN NEW.篇名 = 'bad' "
                           "BEGIN SELECT RAISE(ABORT, 'refused'); END",
                           nullptr, nullptr, &msg), SQLITE_OK) << msg;
    // Adds a work and renames the first one to `rename`, inside a transaction.
    const auto addAndRename = [&](StoreTransaction &tx, const QString &rename) {
        EXPECT_TRUE(tx.Active()) << tx.LastError().toStdString();
        AddWork(QStringLiteral("新"));
        Recordset &rs = store->Rs();
        EXPECT_TRUE(rs.Open(QStringLiteral("select *from 作品 where id=?"), {1}, LockType::Optimistic));
        const bool ok = rs.SetField(QStringLiteral("篇名"), rename) && rs.Update();
        rs.Close();
        return ok;
    };
    const QStringList before{"春晓", "静夜思", "<null>"};
    {
        StoreTransaction tx(*store);
        EXPECT_FALSE(StoreTransaction(*store).Active());   // one at a time
        EXPECT_FALSE(addAndRename(tx, QStringLiteral("bad")));
        EXPECT_EQ(Titles(), (QStringList{"春晓", "静夜思", "<null>", "新"}));   // seen inside
    }   // not committed
    EXPECT_EQ(Titles(), before);
    {
        StoreTransaction tx(*store);
        EXPECT_TRUE(addAndRename(tx, QStringLiteral("早")));
    }
    EXPECT_EQ(Titles(), before);
    {
        StoreTransaction tx(*store);
        EXPECT_TRUE(addAndRename(tx, QStringLiteral("早")));
        EXPECT_TRUE(tx.Commit()) << tx.LastError().toStdString();
        EXPECT_FALSE(tx.Commit());
    }
    EXPECT_EQ(sqlite3_get_autocommit(store->Handle()), 1);
    DataStore other(StoreLocation{appDir, seedDir});   // a second connection sees the file
    ASSERT_TRUE(other.Connect());
    Recordset &rs = other.Rs();
    ASSERT_TRUE(rs.Open(kAllWorks));
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_EQ(rs.Text(QStringLiteral("篇名")), QStringLiteral("早"));
    rs.Close();
    {
        // The engine itself gave up the transaction (as after a full disk):
        // later writes do not slip through on their own.
        StoreTransaction tx(*store);
        ASSERT_EQ(sqlite3_exec(store->Handle(), "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
        Recordset &w = store->Rs();
        ASSERT_TRUE(w.Open(kAllWorks, {}, LockType::Optimistic));
        EXPECT_TRUE(w.AddNew() && w.SetField(QStringLiteral("篇名"), QStringLiteral("漏")));
        EXPECT_FALSE(w.Update());
        w.Close();
        EXPECT_FALSE(tx.Commit());
        EXPECT_EQ(tx.LastError(), QStringLiteral("数据库中途放弃了这组修改。"));
    }
    AddWork(QStringLiteral("后"));   // writes outside a transaction store at once
    EXPECT_EQ(Titles(), (QStringList{"早", "静夜思", "<null>", "新", "后"}));
}

TEST_F(RecordsetTest, ConnectAndNewRecordsetReplaceTheSharedObjects)
{
    Recordset &old = store->Rs();
    ASSERT_TRUE(old.Open(QStringLiteral("select *from 作品 where id=?"), {1}, LockType::Optimistic));
    ASSERT_TRUE(store->Connect());
    // The result opened on the replaced connection can still be stored.
    ASSERT_TRUE(old.SetField(QStringLiteral("作者"), QStringLiteral("孟浩然（改）")));
    ASSERT_TRUE(old.Update()) << old.LastError().toStdString();
    old.Close();

    ASSERT_TRUE(old.Open(kAllWorks));
    Recordset &fresh = store->NewRecordset();
    EXPECT_FALSE(old.IsOpen());
    ASSERT_TRUE(fresh.Open(QStringLiteral("select *from 作品 where id=?"), {1}));
    EXPECT_EQ(fresh.Text(QStringLiteral("作者")), QStringLiteral("孟浩然（改）"));
    EXPECT_EQ(&store->Rs(), &fresh);
}

TEST_F(RecordsetTest, ReconnectSeesAFileReplacedOnDisk)
{
    AddWork(QStringLiteral("只在旧文件里"));
    Recordset &rs = store->Rs();
    ASSERT_TRUE(rs.Open(kAllWorks));   // keeps the old file's connection alive
    ASSERT_TRUE(QFile::remove(DbPath()));
    ASSERT_TRUE(store->Connect()) << store->LastError().toStdString();   // made afresh from the seed
    rs.Close();
    EXPECT_EQ(Titles(), (QStringList{"春晓", "静夜思", "<null>"}));

    // Replaced by a file that cannot be read: the next connect says so.
    ASSERT_TRUE(QFile::remove(DbPath()));
    WriteFile(DbPath(), QByteArray(2048, 'x'));
    EXPECT_FALSE(store->Connect());
    EXPECT_FALSE(store->IsConnected());
    EXPECT_FALSE(rs.Open(kAllWorks));
}

}  // namespace
}  // namespace versilo::test

namespace versilo::test {
namespace {

class TuneLookupTest : public StoreTest {};

TEST_F(TuneLookupTest, FindsByNameAndRefusesWhatIsNoBook)
{
    Seed(QStringLiteral("白香词谱"),
         QStringLiteral("篇名\t格律\t正文\n"
                        "如梦令\t○●-●○-\t单调-\n"
                        "如梦令\t●●-\t又一体-\n"
                        "忆王孙's\t○-\t\n"));
    auto store = Open();
    Recordset &rs = store->Rs();

    TuneRow tune;
    QString why;
    ASSERT_TRUE(FindTune(rs, kBaixiangBook, QStringLiteral("如梦令"), tune, &why));
    EXPECT_EQ(tune.name, QStringLiteral("如梦令"));
    EXPECT_EQ(tune.pattern, QStringLiteral("○●-●○-"));   // the first of two rows
    EXPECT_EQ(tune.explanation, QStringLiteral("单调-"));
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_TRUE(FindTune(rs, kBaixiangBook, QStringLiteral("忆王孙's"), tune));

    // Not found: false, no error, an empty tune.
    EXPECT_FALSE(FindTune(rs, kCommonBook, QStringLiteral("如梦令"), tune, &why));
    EXPECT_TRUE(why.isEmpty());
    EXPECT_TRUE(tune.name.isEmpty() && tune.pattern.isEmpty());

    // A book name is a table name: anything but the two books is refused
    // before it reaches SQL.
    for (const QString &book : {QStringLiteral("作品"), QString(),
                                QStringLiteral("白香词谱 where 1=1 --")}) {
        EXPECT_FALSE(IsPatternBook(book));
        EXPECT_FALSE(FindTune(rs, book, QStringLiteral("如梦令"), tune, &why));
        EXPECT_FALSE(why.isEmpty());
    }
}

}  // namespace
}  // namespace versilo::test
