// SPDX-License-Identifier: GPL-3.0-or-later
// The rhyme words of a group: on small hand-made tables for the rules, and on
// the shipped tables for what a poet expects to see first.
#include "rhymewords.h"
#include "seed.h"

#include "seeddictionary.h"

#include <gtest/gtest.h>

using namespace versilo;
using versilo::testing::SeedDictionary;

namespace {

QString S(const char16_t *s) { return QString::fromUtf16(s); }

QStringList Chars(const QList<RhymeWord> &words, int n = 1000)
{
    QStringList out;
    for (const RhymeWord &w : words)
        if (out.size() < n)
            out.append(w.hanzi);
    return out;
}

// Rows "字 平仄 韵调".
RhymeDictionary Hand(const QString &system, std::initializer_list<const char16_t *> rows)
{
    RhymeDictionary dict(system);
    for (const char16_t *r : rows) {
        const QStringList f = S(r).split(u' ');
        DictionaryRow row;
        row.hanzi = f.at(0);
        row.tone = f.at(1);
        row.group = f.at(2);
        dict.Append(row);
    }
    return dict;
}

// 东(1) and 冬(2) share a section, 江(3) does not; 董(32) is oblique.
const RhymeDictionary &Pingshui()
{
    static const RhymeDictionary d = Hand(kPingshui, {
        u"东 0 1", u"风 0 1", u"中 0 1", u"中 1 63", u"同 0 1", u"東 0 1", u"双 0 1",
        u"冬 0 2", u"峰 0 2", u"容 0 2",
        u"江 0 3", u"窗 0 3",
        u"生 0 24", u"声 0 24", u"明 0 24",
        u"董 1 32", u"动 1 32", u"看 2 15",
    });
    return d;
}

const RhymeDictionary &Xinyun()
{
    static const RhymeDictionary d = Hand(kNewRhyme, {
        u"东 0 11", u"风 0 11", u"中 0 11", u"中 1 11", u"同 0 11", u"冬 0 11", u"峰 0 11",
        u"容 0 11", u"生 0 11", u"声 0 11", u"明 0 11", u"董 1 11", u"动 1 11",
        u"江 0 10", u"窗 0 10", u"双 0 10",
    });
    return d;
}

const RhymeUsage &Usage()
{
    static const RhymeUsage u = RhymeUsage::FromText(S(
        u"韵书\t韵调\t平仄\t汉字\t次数\n"
        u"平水韵\t1\t0\t风\t90\n平水韵\t1\t0\t中\t70\n平水韵\t1\t0\t同\t30\n平水韵\t1\t0\t东\t20\n"
        u"平水韵\t2\t0\t峰\t50\n平水韵\t2\t0\t容\t40\n平水韵\t3\t0\t窗\t9\n"
        u"平水韵\t24\t0\t生\t80\n平水韵\t24\t0\t声\t60\n"
        u"平水韵\t32\t1\t动\t5\n"
        u"中华新韵\t11\t0\t风\t90\n中华新韵\t11\t0\t生\t80\n中华新韵\t11\t0\t中\t70\n"
        u"中华新韵\t11\t1\t动\t3\n中华新韵\t11\t1\t中\t2\n中华新韵\t10\t0\t双\t7\n"
        u"中华新韵\t11\t0\t坏行\t9\n平水韵\tx\t0\t风\t9\n平水韵\t1\t0\t风\n平水韵\t1\t2\t风\t9\n"));
    return u;
}

TEST(RhymeWords, ListsOfHandMadeGroups)
{
    struct Case {
        const char *what;
        const RhymeDictionary *dict;
        const RhymeDictionary *other;
        int group;
        Tone tone;
        QStringList words, neighbours, outOfRhyme;
    };
    const RhymeDictionary &p = Pingshui();
    const RhymeDictionary &x = Xinyun();
    const QList<Case> cases{
        {"most rhymed first, never rhymed after in dictionary order, a form once",
         &p, nullptr, 1, Tone::Level, {"风", "中", "同", "东", "東", "双"}, {"峰", "容"}, {}},
        {"alike today in the other system but another group: 出韵",
         &p, &x, 1, Tone::Level, {"风", "中", "同", "东", "東", "双"}, {"峰", "容"}, {"生", "声"}},
        {"a neighbour's own list holds the first group as its 邻韵",
         &p, &x, 2, Tone::Level, {"峰", "容", "冬"}, {"风", "中", "同", "东"}, {"生", "声"}},
        {"a group with no neighbour; an oblique group lists oblique readings",
         &p, nullptr, 32, Tone::Oblique, {"动", "董"}, {}, {}},
        {"the tone filter drops the level readings; a word of both tones counts its oblique rhymes",
         &x, nullptr, 11, Tone::Oblique, {"动", "中", "董"}, {}, {}},
        {"中华新韵 has no 邻韵; the ancient group of its words that no longer rhymes is 出韵",
         &x, &p, 11, Tone::Level,
         {"风", "生", "中", "东", "同", "冬", "峰", "容", "声", "明"}, {}, {"双"}},
        {"a group without a name gives nothing", &p, &x, 200, Tone::Level, {}, {}, {}},
    };
    for (const Case &c : cases) {
        const RhymeWords r = ListRhymeWords(*c.dict, c.other, Usage(), c.group, c.tone);
        EXPECT_EQ(Chars(r.words), c.words) << c.what;
        EXPECT_EQ(Chars(r.neighbours), c.neighbours) << c.what;
        EXPECT_EQ(Chars(r.outOfRhyme), c.outOfRhyme) << c.what;
    }
}

TEST(RhymeWords, LimitAndGroupOfSetApartWords)
{
    const RhymeWords r = ListRhymeWords(Pingshui(), &Xinyun(), Usage(), 1, Tone::Level, 2);
    EXPECT_EQ(Chars(r.words), (QStringList{"风", "中"}));
    ASSERT_EQ(r.neighbours.size(), 2);
    EXPECT_EQ(r.neighbours.first().group, "冬");
    EXPECT_EQ(r.neighbours.first().count, 50);
    ASSERT_EQ(r.outOfRhyme.size(), 2);
    EXPECT_EQ(r.outOfRhyme.first().group, RhymeGroupName(kPingshui, "24"));
    EXPECT_EQ(RhymeWordLine(r.words, 5), "风 中");
    EXPECT_EQ(RhymeWordLine(r.words, 1), "风");
}

TEST(RhymeWords, UsageTablePassesByRowsThatDoNotFit)
{
    EXPECT_EQ(Usage().Count(kPingshui, 1, Tone::Level, U'风'), 90);
    EXPECT_EQ(Usage().Count(kPingshui, 1, Tone::Oblique, U'风'), 0);
    EXPECT_EQ(Usage().Count(kNewRhyme, 11, Tone::Level, U'中'), 70);
    EXPECT_EQ(Usage().Count(kNewRhyme, 11, Tone::Oblique, U'中'), 2);
    EXPECT_EQ(Usage().Count(kNewRhyme, 11, Tone::Either, U'中'), 72);
    EXPECT_EQ(Usage().Count(kPingshui, 1, Tone::Level, U'冬'), 0);
    EXPECT_TRUE(RhymeUsage::FromText("汉字\t次数\n风\t3\n").IsEmpty());
    EXPECT_TRUE(RhymeUsage::FromText("").IsEmpty());
}

TEST(RhymeWords, GroupNumbersAndTones)
{
    const struct {
        QString system, name;
        int group;
    } cases[] = {
        {kPingshui, "东", 1}, {kPingshui, "上平一东", 1}, {kPingshui, "2", 2},
        {kPingshui, "999", 0}, {kPingshui, "", 0}, {kPingshui, "无", 0},
        {kNewRhyme, "十一庚", 11}, {kNewRhyme, "庚", 11}, {kNewRhyme, "东", 0},
        // the rhyme books' names of four 平水韵 groups the dictionary names otherwise
        {kPingshui, "庚", 24}, {kPingshui, "下平八庚", 24}, {kPingshui, "筐", 24},
        {kPingshui, "寘", 64}, {kPingshui, "祃", 83}, {kPingshui, "箇", 82},
    };
    for (const auto &c : cases)
        EXPECT_EQ(RhymeGroupNumber(c.system, c.name), c.group) << c.name.toStdString();
    EXPECT_EQ(GroupTone(Pingshui(), 1), Tone::Level);
    EXPECT_EQ(GroupTone(Pingshui(), 32), Tone::Oblique);
}

TEST(RhymeWords, RhymeOfAPoemIsTheGroupMostEvenLineEndsShare)
{
    const ReadingIndex index(Pingshui());
    const auto verses = [](std::initializer_list<const char16_t *> lines) {
        QList<Verse> out;
        for (const char16_t *l : lines) {
            Verse v;
            for (uint c : S(l).toUcs4())
                v.chars.append(char32_t(c));
            out.append(v);
        }
        return out;
    };
    const struct {
        const char *what;
        QList<Verse> poem;
        int group;
        Tone tone;
    } cases[] = {
        {"ends of the even lines", verses({u"一江", u"一风", u"一容", u"一同"}), 1, Tone::Level},
        {"the first of a tie", verses({u"一东", u"一峰", u"一江", u"一风"}), 2, Tone::Level},
        {"oblique rhymes", verses({u"一东", u"一动", u"一风", u"一董"}), 32, Tone::Oblique},
    };
    for (const auto &c : cases) {
        const auto r = FindPoemRhyme(c.poem, index.Lookup());
        ASSERT_TRUE(r) << c.what;
        EXPECT_EQ(r->group, c.group) << c.what;
        EXPECT_EQ(r->tone, c.tone) << c.what;
    }
    EXPECT_FALSE(FindPoemRhyme(verses({u"一东", u"一无"}), index.Lookup()));
    EXPECT_FALSE(FindPoemRhyme(verses({u"一东"}), index.Lookup()));
}

// The shipped tables.
RhymeDictionary Shipped(const QString &system) { return SeedDictionary(system); }

TEST(RhymeWords, ShippedTablesPutTheWordsPoetsUsedFirst)
{
    ASSERT_FALSE(RhymeUsage::Builtin().IsEmpty());
    const RhymeDictionary pingshui = Shipped(kPingshui);
    const RhymeDictionary xinyun = Shipped(kNewRhyme);
    ASSERT_GT(pingshui.Size(), 10000);
    ASSERT_GT(xinyun.Size(), 10000);
    const struct {
        const RhymeDictionary *dict, *other;
        QString group;
        Tone tone;
        QStringList first;        // among the first ten words
        QStringList neighbours;   // among the first 30 of the 邻韵
        QStringList outOfRhyme;   // among the first 40 出韵 words
        QStringList never;        // in none of the lists
    } cases[] = {
        {&pingshui, &xinyun, "东", Tone::Level, {"风", "中", "空", "东"}, {"峰", "钟", "龙"},
         {"生", "声", "明"}, {"动"}},
        {&pingshui, &xinyun, "寒", Tone::Level, {"寒", "难", "看", "残"}, {"山", "间", "闲"},
         {}, {"汉"}},
        {&pingshui, &xinyun, "屋", Tone::Oblique, {"竹", "屋", "木"}, {"足", "绿", "玉"},
         {"路", "树"}, {"风"}},
        {&xinyun, &pingshui, "庚", Tone::Level, {"风", "中", "生", "声"}, {}, {}, {"动", "梦"}},
        {&xinyun, &pingshui, "庚", Tone::Oblique, {"影", "冷", "永"}, {}, {}, {"风", "生"}},
    };
    for (const auto &c : cases) {
        const int g = RhymeGroupNumber(c.dict->System(), c.group);
        const RhymeWords r = ListRhymeWords(*c.dict, c.other, RhymeUsage::Builtin(), g, c.tone, 200);
        const QStringList first = Chars(r.words, 10);
        const QStringList near = Chars(r.neighbours, 30);
        const QStringList apart = Chars(r.outOfRhyme, 40);
        const std::string what = (c.dict->System() + c.group).toStdString();
        for (const QString &w : c.first)
            EXPECT_TRUE(first.contains(w)) << what << " first: " << w.toStdString();
        for (const QString &w : c.neighbours)
            EXPECT_TRUE(near.contains(w)) << what << " 邻韵: " << w.toStdString();
        for (const QString &w : c.outOfRhyme)
            EXPECT_TRUE(apart.contains(w)) << what << " 出韵: " << w.toStdString();
        for (const QString &w : c.never)
            EXPECT_FALSE(Chars(r.words).contains(w) || Chars(r.neighbours).contains(w)
                         || Chars(r.outOfRhyme).contains(w))
                << what << " never: " << w.toStdString();
    }
}

}  // namespace
