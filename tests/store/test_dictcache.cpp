// SPDX-License-Identifier: GPL-3.0-or-later
// The dictionary kept between checks, changed rows taken in place, and the
// row-for-row reading of a dictionary list after 修改.
#include "gateway.h"
#include "rhymedict.h"
#include "store_fixture.h"

#include <random>

namespace versilo::test {
namespace {

class DictionaryCacheTest : public StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        Seed(kNewRhyme, QStringLiteral("汉字\t平仄\t韵调\t拼音\n东\t0\t10\tdong\n西\t0\t12\txi\n"));
        Seed(kPingshui, QStringLiteral("汉字\t平仄\t韵调\t拼音\n东\t0\t1\tdong\n"));
    }
    static void SetTone(DataStore &store, qint64 id, const QString &tone)
    {
        DictionaryRow row;
        ASSERT_TRUE(ReadFirst(store.NewRecordset(), QStringLiteral("select *from 中华新韵 where id=?"), {id}, row));
        row.tone = tone;
        ASSERT_TRUE(UpdateRow(store.NewRecordset(), kNewRhyme, row));
    }
};

TEST_F(DictionaryCacheTest, TableIsReadAgainOnlyWhenTheFileChanged)
{
    auto store = Open();
    DictionaryCache cache;
    RhymeDictionary dict;
    const auto tone = [&](char16_t c) {
        QString error;
        EXPECT_TRUE(cache.Load(*store, kNewRhyme, dict, &error)) << error.toStdString();
        return dict.ToneMark(QChar(c));
    };

    EXPECT_EQ(tone(u'东'), QChar(u'○'));
    EXPECT_EQ(tone(u'东'), QChar(u'○'));
    EXPECT_EQ(cache.TableReads(), 1);

    // A change through this program's own connection (the maintenance window).
    SetTone(*store, 1, QStringLiteral("1"));
    EXPECT_EQ(tone(u'东'), QChar(u'●'));
    EXPECT_EQ(cache.TableReads(), 2);

    // A change committed by another program.
    {
        DataStore other(StoreLocation{appDir, seedDir});
        ASSERT_TRUE(other.Connect());
        SetTone(other, 1, QStringLiteral("2"));
    }
    EXPECT_EQ(tone(u'东'), QChar(u'※'));
    EXPECT_EQ(tone(u'东'), QChar(u'※'));
    EXPECT_EQ(cache.TableReads(), 3);

    // The other system is kept apart; both stay kept.
    ASSERT_TRUE(cache.Load(*store, kPingshui, dict));
    EXPECT_EQ(dict.GroupName(QChar(u'东')), QStringLiteral("东"));
    ASSERT_TRUE(cache.Load(*store, kNewRhyme, dict));
    EXPECT_EQ(dict.GroupName(QChar(u'东')), QStringLiteral("唐"));
    EXPECT_EQ(cache.TableReads(), 4);

    // A store that cannot connect fails and forgets.
    DataStore nowhere(StoreLocation{appDir + QStringLiteral("/missing"), seedDir});
    QString error;
    EXPECT_FALSE(cache.Load(nowhere, kNewRhyme, dict, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(dict.Size(), 0);
}

TEST(RhymeDictionaryChangeTest, ChangedAndRemovedRowsKeepTheIndexEqualToTheScan)
{
    // Random rows of few characters with codes in and out of the tables;
    // then random changes and removals, each checked against the scan.
    std::mt19937 rng(4711);
    const QString chars = QStringLiteral("东西南北中");
    const QStringList tones{QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QString()};
    const QStringList groups{QStringLiteral("1"), QStringLiteral("12"), QStringLiteral("15"), QStringLiteral("x")};
    const auto randomRow = [&](qint64 id) {
        DictionaryRow r;
        r.id = id;
        r.hanzi = rng() % 9 ? QString(chars.at(int(rng() % 5))) : QString();
        r.tone = tones.at(int(rng() % tones.size()));
        r.group = groups.at(int(rng() % groups.size()));
        return r;
    };
    RhymeDictionary dict(kNewRhyme);
    for (qint64 id = 1; id <= 40; ++id)
        dict.Append(randomRow(id));
    const RhymeDictionary before = dict;   // a copy shares until a change
    const std::vector<DictionaryRow> rowsBefore = before.Rows();

    for (int step = 0; step < 300; ++step) {
        const qint64 id = 1 + qint64(rng() % 45);   // now and then an id not loaded
        const bool known = std::any_of(dict.Rows().begin(), dict.Rows().end(),
                                       [id](const DictionaryRow &r) { return r.id == id; });
        if (rng() % 4 == 0)
            EXPECT_EQ(dict.RemoveRow(id), known);
        else
            EXPECT_EQ(dict.ReplaceRow(randomRow(id)), known);
        for (QChar c : chars) {
            ASSERT_EQ(dict.ToneMark(c), dict.ToneMarkByScan(c)) << step;
            ASSERT_EQ(dict.GroupName(c), dict.GroupNameByScan(c)) << step;
        }
    }
    ASSERT_EQ(before.Rows().size(), rowsBefore.size());
    for (size_t i = 0; i < rowsBefore.size(); ++i)
        EXPECT_EQ(before.Rows()[i].tone, rowsBefore[i].tone);
}

TEST_F(DictionaryCacheTest, ListOfTheWholeTableTakesTheChangedRowInPlace)
{
    auto store = Open();
    std::vector<DictionaryRow> whole, found;
    ASSERT_TRUE(ReadAll(store->NewRecordset(), QStringLiteral("select *from 中华新韵"), {}, whole));
    ASSERT_TRUE(ReadAll(store->NewRecordset(), QStringLiteral("select *from 中华新韵 where 汉字 like ?"),
                        {QStringLiteral("%西%")}, found));
    DictionaryRow changed = whole[1];
    changed.hanzi = QStringLiteral("北");
    changed.group = QStringLiteral("5");
    ASSERT_TRUE(UpdateRow(store->NewRecordset(), kNewRhyme, changed));

    const std::vector<DictionaryRow> foundBefore = found;
    EXPECT_FALSE(RefreshListedRow(store->NewRecordset(), kNewRhyme, found, changed.id));   // a search result
    EXPECT_EQ(found[0].hanzi, foundBefore[0].hanzi);
    EXPECT_FALSE(RefreshListedRow(store->NewRecordset(), kNewRhyme, whole, 99));           // not listed
    ASSERT_TRUE(RefreshListedRow(store->NewRecordset(), kNewRhyme, whole, changed.id));
    EXPECT_EQ(whole[1].hanzi, QStringLiteral("北"));
    EXPECT_EQ(whole[1].group, QStringLiteral("5"));
    EXPECT_EQ(whole[0].hanzi, QStringLiteral("东"));
    EXPECT_FALSE(store->Rs().IsOpen());
}

}  // namespace
}  // namespace versilo::test
