// SPDX-License-Identifier: GPL-3.0-or-later
// The table gateway: rows of every table read by the windows' SQL texts,
// and rows added, changed and deleted by id.
#include "store_fixture.h"

#include "gateway.h"
#include "rhymedict.h"

#include <sqlite3.h>

namespace versilo::test {
namespace {

class GatewayTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        Seed(QStringLiteral("作品"),
             QStringLiteral("篇名\t正文\t格律\t词牌名\t词谱名\t作者\t时间\n"
                            "春晓\t春眠不觉晓|\t○-\t忆江南\t常用词谱\t孟浩然\t唐\n"
                            "\\N\t无题\t\t\t\t\t\n"));
        Seed(QStringLiteral("作者"), QStringLiteral("姓名\t朝代\t年代\t拼音\n李白\t唐\t701\tLB\n"));
        Seed(QStringLiteral("中华新韵"), QStringLiteral("汉字\t平仄\t韵调\t拼音\n东\t0\t10\tdong\n懂\t\\N\t\t\n"));
        store = Open();
    }
    Recordset &Rs() { return store->Rs(); }
    std::vector<WorkRow> Works()
    {
        std::vector<WorkRow> rows;
        EXPECT_TRUE(ReadAll(Rs(), QStringLiteral("select *from 作品"), {}, rows));
        return rows;
    }
    std::unique_ptr<DataStore> store;
};

TEST_F(GatewayTest, ReadsEveryColumnOfEachRowType)
{
    const std::vector<WorkRow> works = Works();
    ASSERT_EQ(works.size(), 2u);
    EXPECT_EQ(works[0].id, 1);
    EXPECT_EQ(QStringList({works[0].title, works[0].poem, works[0].pattern, works[0].tuneName,
                           works[0].patternBook, works[0].author, works[0].time}),
              QStringList({"春晓", "春眠不觉晓|", "○-", "忆江南", "常用词谱", "孟浩然", "唐"}));
    EXPECT_EQ(works[1].title, QString());   // null reads empty

    AuthorRow author;
    ASSERT_TRUE(ReadFirst(Rs(), QStringLiteral("select *from 作者 where 姓名=?"), {QStringLiteral("李白")}, author));
    EXPECT_EQ(author.year, 701.0);
    EXPECT_EQ(author.initials, QStringLiteral("LB"));

    std::vector<DictionaryRow> dict;
    ASSERT_TRUE(ReadAll(Rs(), QStringLiteral("select *from 中华新韵"), {}, dict));
    ASSERT_EQ(dict.size(), 2u);
    EXPECT_EQ(QStringList({dict[0].hanzi, dict[0].tone, dict[0].group, dict[0].pinyin}),
              QStringList({"东", "0", "10", "dong"}));
    EXPECT_FALSE(dict[0].toneNull);
    EXPECT_TRUE(dict[1].toneNull);

    // Nothing found is no failure; a failing query and a result without the
    // row type's columns are.
    QString why;
    EXPECT_FALSE(ReadFirst(Rs(), QStringLiteral("select *from 作者 where 姓名=?"), {QStringLiteral("无")}, author, &why));
    EXPECT_TRUE(why.isEmpty());
    EXPECT_FALSE(ReadAll(Rs(), QStringLiteral("select *from 无此表"), {}, dict, &why));
    EXPECT_FALSE(why.isEmpty());
    EXPECT_FALSE(ReadAll(Rs(), QStringLiteral("select *from 作者"), {}, dict, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("汉字"))) << why.toStdString();
    EXPECT_FALSE(Rs().IsOpen());
}

TEST_F(GatewayTest, WritesOnlyTheNamedColumnsOfTheRowOfAnId)
{
    WorkRow added{0, QStringLiteral("新"), QStringLiteral("甲|乙"), {}, QStringLiteral("如梦令"), {},
                  QStringLiteral("不写"), {}};
    ASSERT_TRUE(InsertRow(Rs(), kWorksTable, added, {column::kTitle, column::kText, column::kTuneName}));
    EXPECT_EQ(added.id, 3);

    WorkRow changed = Works()[0];
    changed.title = QStringLiteral("春晓（改）");
    changed.author = QStringLiteral("不写");
    ASSERT_TRUE(UpdateRow(Rs(), kWorksTable, changed, {column::kTitle}));

    std::vector<WorkRow> works = Works();
    ASSERT_EQ(works.size(), 3u);
    EXPECT_EQ(works[0].title, QStringLiteral("春晓（改）"));
    EXPECT_EQ(works[0].author, QStringLiteral("孟浩然"));
    EXPECT_EQ(works[2].poem, QStringLiteral("甲|乙"));
    EXPECT_EQ(works[2].author, QString());

    // One row without a title per call; none left is no failure.
    EXPECT_TRUE(DeleteFirst(Rs(), QStringLiteral("select *from 作品 where 篇名 is  null")));
    EXPECT_FALSE(DeleteFirst(Rs(), QStringLiteral("select *from 作品 where 篇名 is  null")));
    EXPECT_TRUE(DeleteRow(Rs(), kWorksTable, 1));
    QString why;
    EXPECT_FALSE(DeleteRow(Rs(), kWorksTable, 1, &why));
    EXPECT_FALSE(why.isEmpty());
    changed.id = 99;
    EXPECT_FALSE(UpdateRow(Rs(), kWorksTable, changed));
    works = Works();
    ASSERT_EQ(works.size(), 1u);
    EXPECT_EQ(works[0].id, 3);
}

// A column name the row type lacks is refused, alone or beside known ones:
// a change leaves the row with every column it had, an addition adds no row.
TEST_F(GatewayTest, WriteNamingAnUnknownColumnWritesNothing)
{
    const WorkRow before = Works()[0];
    WorkRow changed = before;
    changed.title = QStringLiteral("改");
    const QStringList cases[] = {{QStringLiteral("无此字段")},
                                 {column::kTitle, QStringLiteral("标题")},
                                 {QStringLiteral("篇名 ")}};
    for (const QStringList &columns : cases) {
        QString why;
        EXPECT_FALSE(UpdateRow(Rs(), kWorksTable, changed, columns, &why)) << columns.join(',').toStdString();
        EXPECT_TRUE(why.contains(columns.last())) << why.toStdString();
        EXPECT_FALSE(Rs().IsOpen());
        EXPECT_EQ(Works()[0].title, before.title);

        WorkRow added{0, QStringLiteral("新"), QStringLiteral("甲|乙"), {}, {}, {}, {}, {}};
        why.clear();
        EXPECT_FALSE(InsertRow(Rs(), kWorksTable, added, columns, &why)) << columns.join(',').toStdString();
        EXPECT_TRUE(why.contains(columns.last())) << why.toStdString();
        EXPECT_EQ(added.id, 0);
        EXPECT_FALSE(Rs().IsOpen());
        EXPECT_EQ(Works().size(), 2u);
    }
}

// A listing streams its texts straight from the statement; a single row is
// read through the recordset's values. Both read every kind of stored value
// (numbers, reals, blobs, nulls, empty texts, repeated ones) as the same text.
TEST_F(GatewayTest, ListedRowsReadAsSingleRowsDo)
{
    const char *sql =
        "DROP TABLE 中华新韵; CREATE TABLE 中华新韵(id INTEGER PRIMARY KEY, 汉字, 平仄, 韵调, 拼音);"
        "INSERT INTO 中华新韵(汉字, 平仄, 韵调, 拼音) VALUES"
        "('东', 0, 10, 'dong'), ('东', '0', '10', 'dong'), (5, 1.5, 3.0, x'6869'),"
        "('', NULL, -7, ''), (NULL, '', 281474976710656, NULL), ('𠀀', 2, 0, 'qiu'),"
        "(CAST(x'ff' AS TEXT), 1, 12, 'a long pinyin text of many letters');";
    ASSERT_EQ(sqlite3_exec(store->Handle(), sql, nullptr, nullptr, nullptr), SQLITE_OK);
    std::vector<DictionaryRow> listed;
    ASSERT_TRUE(ReadAll(Rs(), QStringLiteral("select *from 中华新韵"), {}, listed));
    ASSERT_EQ(listed.size(), 7u);
    for (const DictionaryRow &row : listed) {
        DictionaryRow single;
        ASSERT_TRUE(ReadFirst(Rs(), QStringLiteral("select *from 中华新韵 where id=?"), {row.id}, single));
        EXPECT_EQ(QStringList({row.hanzi, row.tone, row.group, row.pinyin}),
                  QStringList({single.hanzi, single.tone, single.group, single.pinyin}))
            << row.id;
        EXPECT_EQ(row.toneNull, single.toneNull) << row.id;
    }
    EXPECT_EQ(listed[0].group, QStringLiteral("10"));
    EXPECT_EQ(listed[2].hanzi, QStringLiteral("5"));
    EXPECT_EQ(listed[3].group, QStringLiteral("-7"));
    EXPECT_TRUE(listed[3].toneNull);
    EXPECT_FALSE(listed[4].toneNull);
    EXPECT_EQ(listed[4].group, QStringLiteral("281474976710656"));
}

// A row deleted by someone else after Open cannot be written: the write
// reaches no row and must say so.
TEST_F(GatewayTest, UpdateOfARowDeletedAfterOpenFails)
{
    Recordset &rs = Rs();
    ASSERT_TRUE(rs.Open(QStringLiteral("select *from 作品 where id=?"), {1}, LockType::Optimistic));
    ASSERT_EQ(sqlite3_exec(store->Handle(), "DELETE FROM 作品 WHERE id=1", nullptr, nullptr, nullptr), SQLITE_OK);
    ASSERT_TRUE(rs.SetField(column::kTitle, QStringLiteral("改")));
    EXPECT_FALSE(rs.Update());
    EXPECT_FALSE(rs.LastError().isEmpty());
    rs.Close();
    EXPECT_EQ(Works().size(), 1u);
}

}  // namespace
}  // namespace versilo::test
