// SPDX-License-Identifier: GPL-3.0-or-later
// Rhyme groups, tone codes and the indexed lookup with the last-match rule.
#include "rhymedict.h"
#include "store_fixture.h"

#include <QElapsedTimer>
#include <random>

#include <sqlite3.h>

namespace versilo::test {
namespace {

DictionaryRow Row(const QString &hanzi, const QString &tone, const QString &group = {})
{
    DictionaryRow r;
    r.hanzi = hanzi;
    r.tone = tone;
    r.group = group;
    return r;
}

TEST(RhymeGroupNameTest, NamesOfBothSystems)
{
    EXPECT_EQ(RhymeGroupName(kNewRhyme, QStringLiteral("1")), QStringLiteral("麻"));
    EXPECT_EQ(RhymeGroupName(kNewRhyme, QStringLiteral("14")), QStringLiteral("姑"));
    EXPECT_EQ(RhymeGroupName(kPingshui, QStringLiteral("1")), QStringLiteral("东"));
    EXPECT_EQ(RhymeGroupName(kPingshui, QStringLiteral("22")), QStringLiteral("麻"));
    EXPECT_EQ(RhymeGroupName(kPingshui, QStringLiteral("24")), QStringLiteral("筐"));
    EXPECT_EQ(RhymeGroupName(kPingshui, QStringLiteral("64")), QStringLiteral("置"));
    EXPECT_EQ(RhymeGroupName(kPingshui, QStringLiteral("65")), QStringLiteral("邃"));
    EXPECT_EQ(RhymeGroupName(kPingshui, QStringLiteral("92")), QStringLiteral("屋"));
    EXPECT_EQ(RhymeGroupName(kPingshui, QStringLiteral("108")), QStringLiteral("洽"));

    QString newNames, pingshuiNames;
    for (int n = 1; n <= 14; ++n)
        newNames += RhymeGroupName(kNewRhyme, QString::number(n));
    for (int n = 1; n <= 108; ++n)
        pingshuiNames += RhymeGroupName(kPingshui, QString::number(n));
    EXPECT_EQ(newNames, QStringLiteral("麻波皆开微豪尤寒文唐庚齐支姑"));
    EXPECT_EQ(pingshuiNames.size(), 108);
    EXPECT_TRUE(pingshuiNames.startsWith(QStringLiteral("东冬江支缁微鱼虞齐佳灰真文元寒删先萧肴豪")));
    EXPECT_TRUE(pingshuiNames.endsWith(QStringLiteral("药陌锡职缉合叶洽")));

    // Only the plain decimal text of a known number has a name.
    for (const char *text : {"0", "15", "01", " 1", "1 ", "+1", "-1", "1.0", "", "abc"})
        EXPECT_EQ(RhymeGroupName(kNewRhyme, QString::fromLatin1(text)), QString()) << text;
    EXPECT_EQ(RhymeGroupName(kPingshui, QStringLiteral("109")), QString());
    EXPECT_EQ(RhymeGroupName(QStringLiteral("其他"), QStringLiteral("1")), QString());
}

TEST(ToneMarkTest, CodesAndMarks)
{
    EXPECT_EQ(ToneMarkOfCode(QStringLiteral("0")), QChar(u'○'));
    EXPECT_EQ(ToneMarkOfCode(QStringLiteral("1")), QChar(u'●'));
    EXPECT_EQ(ToneMarkOfCode(QStringLiteral("2")), QChar(u'※'));
    for (const char *code : {"3", "", "00", " 0", "平"})
        EXPECT_TRUE(ToneMarkOfCode(QString::fromUtf8(code)).isNull()) << code;
}

TEST(RhymeDictionaryTest, LastMatchingRowWithAKnownCodeDecides)
{
    RhymeDictionary dict(kNewRhyme);
    dict.Append(Row(QStringLiteral("甲"), QStringLiteral("0"), QStringLiteral("1")));
    dict.Append(Row(QStringLiteral("甲"), QStringLiteral("1"), QStringLiteral("2")));
    dict.Append(Row(QStringLiteral("乙"), QStringLiteral("1"), QStringLiteral("3")));
    dict.Append(Row(QStringLiteral("乙"), QStringLiteral("3"), QStringLiteral("15")));
    dict.Append(Row(QString(), QStringLiteral("0"), QStringLiteral("1")));
    dict.Append(Row(QStringLiteral("丙丁"), QStringLiteral("0"), QStringLiteral("1")));
    DictionaryRow nullTone = Row(QStringLiteral("戊"), QString(), QStringLiteral("4"));
    nullTone.toneNull = true;
    dict.Append(nullTone);

    EXPECT_EQ(dict.Size(), 7);
    for (bool indexed : {true, false}) {
        const auto tone = [&](char16_t c) {
            return indexed ? dict.ToneMark(QChar(c)) : dict.ToneMarkByScan(QChar(c));
        };
        const auto group = [&](char16_t c) {
            return indexed ? dict.GroupName(QChar(c)) : dict.GroupNameByScan(QChar(c));
        };
        EXPECT_EQ(tone(u'甲'), QChar(u'●'));
        EXPECT_EQ(group(u'甲'), QStringLiteral("波"));
        EXPECT_EQ(tone(u'乙'), QChar(u'●'));   // "3" is no code: the "1" before it stands
        EXPECT_EQ(group(u'乙'), QStringLiteral("皆"));
        EXPECT_TRUE(tone(u'丙').isNull());     // two code units never match one
        EXPECT_TRUE(tone(u'\0').isNull());     // nor does an empty 汉字
        EXPECT_EQ(group(u'\0'), QString());
        EXPECT_TRUE(tone(u'戊').isNull());
        EXPECT_EQ(group(u'戊'), QStringLiteral("开"));
        EXPECT_TRUE(tone(u'己').isNull());
    }

    dict.Clear();
    EXPECT_EQ(dict.Size(), 0);
    EXPECT_TRUE(dict.ToneMark(QChar(u'甲')).isNull());
    EXPECT_EQ(dict.GroupName(QChar(u'甲')), QString());
}

TEST(RhymeDictionaryTest, IndexGivesTheAnswersOfTheScan)
{
    std::mt19937 rng(20240917);
    const QString chars = QStringLiteral("东冬江支微鱼虞齐佳灰真文");
    const QStringList tones{"0", "1", "2", "3", "", "01"};
    const QStringList groups{"1", "2", "14", "15", "24", "65", "108", "109", "0", "", "07"};
    for (const QString &system : {kNewRhyme, kPingshui}) {
        for (int round = 0; round < 20; ++round) {
            RhymeDictionary dict(system);
            const int n = int(rng() % 200);
            for (int i = 0; i < n; ++i) {
                DictionaryRow r;
                const unsigned pick = rng() % 20;
                r.hanzi = pick == 0 ? QString() : pick == 1 ? QStringLiteral("东冬")
                                                            : QString(chars[rng() % chars.size()]);
                r.toneNull = rng() % 10 == 0;
                r.tone = r.toneNull ? QString() : tones[rng() % tones.size()];
                r.group = groups[rng() % groups.size()];
                r.id = i + 1;
                dict.Append(r);
            }
            for (QChar c : chars + QStringLiteral("西")) {
                ASSERT_EQ(dict.ToneMark(c), dict.ToneMarkByScan(c)) << round;
                ASSERT_EQ(dict.GroupName(c), dict.GroupNameByScan(c)) << round;
            }
        }
    }
}

class LoadDictionaryTest : public StoreTest {};

TEST_F(LoadDictionaryTest, LoadsEveryRowInStoreOrder)
{
    Seed(kNewRhyme, QStringLiteral("汉字\t平仄\t韵调\t拼音\n"
                                   "麻\t0\t1\tma\n"
                                   "马\t1\tabc\tma\n"
                                   "怪\t\\N\t\\N\tguai\n"));
    Seed(kPingshui, QStringLiteral("汉字\t平仄\t韵调\t拼音\n"
                                   "东\t0\t1\tdong\n"
                                   "筐\t0\t24\tkuang\n"));
    auto store = Open();
    RhymeDictionary dict;
    QString error;
    ASSERT_TRUE(LoadRhymeDictionary(*store, kNewRhyme, dict, &error)) << error.toStdString();
    EXPECT_EQ(dict.System(), kNewRhyme);
    ASSERT_EQ(dict.Size(), 3);
    EXPECT_EQ(dict.Rows()[0].id, 1);
    EXPECT_EQ(dict.Rows()[0].group, QStringLiteral("1"));
    EXPECT_EQ(dict.Rows()[1].group, QStringLiteral("abc"));
    EXPECT_EQ(dict.Rows()[2].group, QString());
    EXPECT_TRUE(dict.Rows()[2].toneNull);
    EXPECT_FALSE(dict.Rows()[0].toneNull);
    EXPECT_EQ(dict.GroupName(QChar(u'麻')), QStringLiteral("麻"));
    EXPECT_EQ(dict.ToneMark(QChar(u'马')), QChar(u'●'));
    EXPECT_FALSE(store->Rs().IsOpen());

    ASSERT_TRUE(LoadRhymeDictionary(*store, kPingshui, dict));
    EXPECT_EQ(dict.Size(), 2);
    EXPECT_EQ(dict.GroupName(QChar(u'东')), QStringLiteral("东"));
    EXPECT_EQ(dict.GroupName(QChar(u'筐')), QStringLiteral("筐"));

    EXPECT_FALSE(LoadRhymeDictionary(*store, QStringLiteral("作品"), dict, &error));
    EXPECT_FALSE(error.isEmpty());
    DataStore nowhere(StoreLocation{appDir + QStringLiteral("/missing"), seedDir});
    EXPECT_FALSE(LoadRhymeDictionary(nowhere, kNewRhyme, dict, &error));
    EXPECT_EQ(dict.Size(), 0);
}

TEST_F(LoadDictionaryTest, CharacterOutsideTheBmpIsOneCharacter)
{
    // 𠀀 (U+20000) and 𪚥 (U+2A6A5) stored in the file; a row of two such
    // characters never matches.
    Seed(kPingshui, QStringLiteral("汉字\t平仄\t韵调\t拼音\n"
                                   "𠀀\t1\t3\tqiu\n"
                                   "𠀀\t0\t1\tqiu\n"
                                   "𪚥\t1\t92\tzhe\n"
                                   "𠀀𪚥\t1\t2\tx\n"));
    auto store = Open();
    RhymeDictionary dict;
    ASSERT_TRUE(LoadRhymeDictionary(*store, kPingshui, dict));
    EXPECT_EQ(CodePoints(QStringLiteral("𠀀龘山")), (std::vector<char32_t>{0x20000, 0x9f98, 0x5c71}));
    EXPECT_EQ(CharacterText(0x20000), QStringLiteral("𠀀"));
    for (bool indexed : {true, false}) {
        const auto tone = [&](char32_t c) { return indexed ? dict.ToneMark(c) : dict.ToneMarkByScan(c); };
        const auto group = [&](char32_t c) { return indexed ? dict.GroupName(c) : dict.GroupNameByScan(c); };
        EXPECT_EQ(tone(0x20000), QChar(u'○'));
        EXPECT_EQ(group(0x20000), QStringLiteral("东"));
        EXPECT_EQ(tone(0x2a6a5), QChar(u'●'));
        EXPECT_EQ(group(0x2a6a5), QStringLiteral("屋"));
        EXPECT_TRUE(tone(0xd840).isNull());   // half of 𠀀
        EXPECT_TRUE(tone(0x4e00).isNull());
    }
}

// A check loads the lookups alone, read straight from the columns: for
// every kind of value a file made elsewhere may hold (numbers, texts with
// blanks or leading zeros, reals, blobs, broken UTF-8, several characters),
// they give what the lookups of the whole rows give.
TEST_F(LoadDictionaryTest, LookupsAloneAnswerAsTheWholeRows)
{
    auto store = Open();
    for (const QString &system : {kNewRhyme, kPingshui}) {
        const QByteArray table = system.toUtf8();
        const QByteArray sql = "DROP TABLE " + table + "; CREATE TABLE " + table
            + "(id INTEGER PRIMARY KEY, 汉字, 平仄, 韵调, 拼音);"
              "INSERT INTO " + table + "(汉字, 平仄, 韵调) VALUES"
              "('东', 0, 10), ('东', '1', '3'), ('冬', 2.0, 1.0), ('江', x'31', x'31'),"
              "('支', -1, -5), ('支', 3, 1000), ('支', 1, 108), ('支', 0, 109),"
              "('微', '01', '07'), ('微', NULL, NULL), ('鱼', ' 1', '1 '), ('鱼', '0', 100),"
              "('𠀀', 1, 2), (CAST(x'ff' AS TEXT), 1, 1), (CAST(x'eda080' AS TEXT), 0, 2),"
              "(CAST(x'c1bf' AS TEXT), 2, 3), ('东冬', 0, 1), ('', 0, 1), (NULL, 0, 1),"
              "(5, 0, 4), ('虞', '2', 14), ('虞', '9', 0), ('虞', 'x', 'x'), ('a', '1', '12');";
        ASSERT_EQ(sqlite3_exec(store->Handle(), sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        RhymeDictionary rows, lookups;
        ASSERT_TRUE(LoadRhymeDictionary(*store, system, rows));
        ASSERT_TRUE(LoadRhymeDictionary(*store, system, lookups, nullptr, DictionaryKeep::LookupsOnly));
        EXPECT_EQ(rows.Size(), 24);
        EXPECT_EQ(lookups.Size(), 0);
        EXPECT_EQ(lookups.System(), system);
        std::vector<char32_t> chars{0xfffd, 0xd800, U'5', U'西'};
        for (const DictionaryRow &row : rows.Rows())
            for (char32_t c : CodePoints(row.hanzi))
                chars.push_back(c);
        for (char32_t c : chars) {
            EXPECT_EQ(lookups.ToneMark(c), rows.ToneMark(c)) << system.toStdString() << ' ' << unsigned(c);
            EXPECT_EQ(lookups.GroupName(c), rows.GroupName(c)) << system.toStdString() << ' ' << unsigned(c);
        }
        EXPECT_EQ(lookups.ToneMark(U'东'), QChar(u'●'));
        EXPECT_EQ(lookups.ToneMark(U'𠀀'), QChar(u'●'));
        EXPECT_EQ(lookups.ToneMark(U'虞'), QChar(u'※'));
        EXPECT_EQ(lookups.GroupName(U'支'), system == kNewRhyme ? QString() : QStringLiteral("洽"));
    }
}

TEST_F(LoadDictionaryTest, LargeDictionaryLoadsQuickly)
{
    QString tsv = QStringLiteral("汉字\t平仄\t韵调\t拼音\n");
    const int rows = 25000;
    for (int i = 0; i < rows; ++i)
        tsv += QChar(char16_t(0x4e00 + i % 20000)) + QStringLiteral("\t%1\t%2\tpin\n").arg(i % 3).arg(i % 14 + 1);
    Seed(kNewRhyme, tsv);
    auto store = Open();
    QElapsedTimer timer;
    timer.start();
    RhymeDictionary dict;
    ASSERT_TRUE(LoadRhymeDictionary(*store, kNewRhyme, dict));
    const qint64 ms = timer.elapsed();
    EXPECT_EQ(dict.Size(), rows);
    EXPECT_EQ(dict.ToneMark(QChar(char16_t(0x4e00))), dict.ToneMarkByScan(QChar(char16_t(0x4e00))));
    RecordProperty("load_ms", int(ms));
    std::printf("[ timing ] %d dictionary rows loaded in %lld ms\n", rows, (long long)ms);
    EXPECT_LT(ms, 2000);
}

}  // namespace
}  // namespace versilo::test
