// SPDX-License-Identifier: GPL-3.0-or-later
// 对仗: the rules on a small hand-made word list, real couplets on the list
// the program carries, and the findings a 律诗 gets.
#include "couplets.h"
#include "seed.h"

#include "seeddictionary.h"

#include <gtest/gtest.h>

using namespace versilo;
using versilo::testing::SeedDictionary;

namespace {

QString S(const char16_t *s) { return QString::fromUtf16(s); }

// Eight verse lines: the couplet under test in the place of the 颔联, plain
// lines of the same length around it.
QList<Verse> Poem(const QString &out, const QString &in, int at = 1)
{
    QList<Verse> verses;
    for (int i = 0; i < 8; ++i) {
        QString text = i == 2 * at ? out : i == 2 * at + 1 ? in : QString(out.size(), u'甲');
        Verse v;
        v.line = i;
        for (char32_t c : text.toUcs4()) {
            v.positions.append(int(v.chars.size()));
            v.chars.append(c);
            v.marks += u'○';
        }
        verses.append(v);
    }
    return verses;
}

QStringList Texts(const Couplet &c)
{
    QStringList out;
    for (const FacingPair &p : c.pairs)
        out.append(p.out.text + u'—' + p.in.text);
    return out;
}

// Rows "词 词类 细类 同义" ("-" for an empty field).
CoupletWords Hand()
{
    CoupletWords w;
    const char16_t *rows[] = {
        u"明 形 - -", u"清 形 - -", u"月 名 天文 月", u"泉 名 地理 -", u"松 名 植物 -",
        u"石 名 地理 -", u"间 方位 - -", u"上 方位 - -", u"照 动 - -", u"流 动 - -",
        u"明月 名 - -", u"清泉 名 - -", u"山 名 地理 山", u"峰 名 地理 山", u"水 名 地理 水",
        u"江 名 地理 水", u"高 形 - 高", u"峻 形 - 高", u"看 动 - 看", u"望 动 - 看",
        u"红 颜色|形 颜色 -", u"白 颜色|形 颜色 -", u"花 名 植物 -", u"雪 名 天文 -",
        u"不 虚字 否 -", u"无 虚字|动 否 -", u"去 动 - -", u"来 动 - -", u"人 名 人伦 -",
        u"上流 名 - -", u"石上 名 - -", u"独 虚字 副 -", u"深 形 - -",
    };
    for (const char16_t *r : rows) {
        QStringList f = S(r).split(u' ');
        for (QString &x : f)
            if (x == u"-")
                x.clear();
        w.Add(f.at(0), f.at(1).split(u'|'), f.at(2), f.at(3));
    }
    return w;
}

TEST(Couplets, FacingWordsOnAHandMadeList)
{
    const CoupletWords words = Hand();
    struct Case {
        const char16_t *what;
        const char16_t *out;
        const char16_t *in;
        bool parallel;
        bool strict;       // 工对
        QStringList pairs;
        int at;            // the pair whose facing is checked
        Facing facing;
    };
    const Case cases[] = {
        {u"nature nouns of two fine classes: a loose pair; verbs with verbs: strict", u"明月松间照",
         u"清泉石上流", true, false, {S(u"明月—清泉"), S(u"松间—石上"), S(u"照—流")}, 2, Facing::Strict},
        {u"the noun pair above", u"明月松间照", u"清泉石上流", true, false,
         {S(u"明月—清泉"), S(u"松间—石上"), S(u"照—流")}, 0, Facing::Loose},
        {u"colours face colours, stones springs: a 工对", u"红泉照明月", u"白石流清泉", true, true,
         {S(u"红泉—白石"), S(u"照—流"), S(u"明月—清泉")}, 0, Facing::Strict},
        {u"a verb faces an adjective loosely", u"明月松间照", u"清泉石上深", true, false,
         {S(u"明月—清泉"), S(u"松间—石上"), S(u"照—深")}, 2, Facing::Loose},
        {u"an adverb stands where an adjective would", u"独照明月去", u"深流清泉来", true, false,
         {S(u"独照—深流"), S(u"明月—清泉"), S(u"去—来")}, 0, Facing::Loose},
        {u"a direction faces a noun by leave", u"明月松间照", u"清泉石松流", true, false,
         {S(u"明月—清泉"), S(u"松间—石松"), S(u"照—流")}, 1, Facing::Loose},
        {u"one syllable that fails and one by leave are still passed over", u"明月松间照", u"清泉石松花",
         true, false, {S(u"明月—清泉"), S(u"松间—石松"), S(u"照—花")}, 2, Facing::None},
        {u"nouns against verbs: not parallel", u"明月松间照", u"照流照流花", false, false,
         {S(u"明月—照流"), S(u"松间—照流"), S(u"照—花")}, 0, Facing::None},
        {u"one syllable that faces nothing is passed over", u"明月松间照", u"清泉石上花", true, false,
         {S(u"明月—清泉"), S(u"松间—石上"), S(u"照—花")}, 2, Facing::None},
        {u"characters the list lacks face anything loosely", u"甲乙松间照", u"丙丁石上流", true, false,
         {S(u"甲乙—丙丁"), S(u"松间—石上"), S(u"照—流")}, 0, Facing::Loose},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.what).toStdString());
        const QList<Couplet> cs = JudgeCouplets(Poem(S(c.out), S(c.in)), words);
        ASSERT_EQ(cs.size(), 4);
        const Couplet &k = cs.at(1);
        EXPECT_EQ(k.parallel, c.parallel) << DescribePairs(k).toStdString();
        EXPECT_EQ(k.strict, c.strict) << DescribePairs(k).toStdString();
        EXPECT_EQ(Texts(k), c.pairs);
        ASSERT_GT(k.pairs.size(), c.at);
        EXPECT_EQ(k.pairs.at(c.at).facing, c.facing) << DescribePairs(k).toStdString();
    }
}

TEST(Couplets, TheSplitBothLinesShare)
{
    const CoupletWords words = Hand();
    // 石上 and 上流 are both words: 2+2+1 faces better (松间—石上) than
    // 2+1+2 would (松—石, 间照—上流), and is the common split besides.
    Couplet c = JudgeCouplets(Poem(S(u"明月松间照"), S(u"清泉石上流")), words).at(1);
    EXPECT_EQ(Texts(c), QStringList({S(u"明月—清泉"), S(u"松间—石上"), S(u"照—流")}));
    // Where only the 2+1+2 split faces, it is taken.
    c = JudgeCouplets(Poem(S(u"明月照明月"), S(u"清泉流清泉")), words).at(1);
    EXPECT_TRUE(c.parallel);
    EXPECT_EQ(c.pairs.size(), 3);
    // Seven syllables: 2+2+2+1 or 2+2+1+2.
    c = JudgeCouplets(Poem(S(u"明月明月松间照"), S(u"清泉清泉石上流")), words).at(1);
    EXPECT_EQ(Texts(c), QStringList({S(u"明月—清泉"), S(u"明月—清泉"), S(u"松间—石上"), S(u"照—流")}));
    EXPECT_EQ(c.pairs.at(2).in.start, 4);
}

TEST(Couplets, RepeatedCharactersAndLinesSayingOneThing)
{
    const CoupletWords words = Hand();
    struct Case {
        const char16_t *what;
        const char16_t *out;
        const char16_t *in;
        QList<int> repeated;
        bool sameSense;
    };
    const Case cases[] = {
        {u"重字: 照 faces 照", u"明月松间照", u"清泉石上照", {4}, false},
        {u"合掌: mountains high, looked at, the moon twice", u"山高望明月", u"峰峻看明月", {3, 4}, true},
        {u"合掌 by one sense without a repeated character", u"山高看明月", u"峰峻望清泉", {}, true},
        {u"facing but saying two things", u"明月松间照", u"清泉石上流", {}, false},
        {u"叠字 facing 叠字 is no 重字 of the other line", u"明明松间照", u"清清石上流", {}, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.what).toStdString());
        const Couplet k = JudgeCouplets(Poem(S(c.out), S(c.in)), words).at(1);
        EXPECT_EQ(k.repeated, c.repeated);
        EXPECT_EQ(k.sameSense, c.sameSense) << DescribePairs(k).toStdString();
    }
}

TEST(Couplets, WhichCouplets)
{
    const CoupletWords words = Hand();
    // A quatrain and lines of unequal length have no couplets to judge.
    QList<Verse> four = Poem(S(u"明月松间照"), S(u"清泉石上流"), 0).mid(0, 4);
    EXPECT_TRUE(JudgeCouplets(four, words).isEmpty());
    QList<Verse> uneven = Poem(S(u"明月松间照"), S(u"清泉石上流"));
    uneven[5].chars.removeLast();
    EXPECT_TRUE(JudgeCouplets(uneven, words).isEmpty());

    // A 排律 of twelve lines: every couplet between the first and the last
    // must face.
    QList<Verse> twelve = Poem(S(u"明月松间照"), S(u"清泉石上流"));
    twelve += twelve.mid(0, 4);
    for (int i = 0; i < twelve.size(); ++i)
        twelve[i].line = i;
    const QList<Couplet> cs = JudgeCouplets(twelve, words);
    QStringList names;
    QList<bool> must;
    for (const Couplet &c : cs) {
        names.append(c.name);
        must.append(c.mustFace);
    }
    EXPECT_EQ(names, S(u"首联 颔联 颈联 第四联 第五联 尾联").split(u' '));
    EXPECT_EQ(must, QList<bool>({false, true, true, true, true, false}));
    EXPECT_EQ(cs.at(3).first, 6);
}

TEST(Couplets, TheWordListReadsItsTable)
{
    const CoupletWords w = CoupletWords::FromText(S(u"词\t词类\t细类\t同义\n月\t名\t天文\t月\n"
                                                    u"坏行\n\t名\t\t\n明\t形|动\t\t\n"));
    ASSERT_NE(w.Find(S(u"月")), nullptr);
    EXPECT_EQ(w.Find(S(u"月"))->fine, S(u"天文"));
    EXPECT_EQ(w.Find(S(u"明"))->classes, QStringList({S(u"形"), S(u"动")}));
    EXPECT_EQ(w.Find(S(u"坏行")), nullptr);
    EXPECT_TRUE(CoupletWords::FromText(S(u"字\t类\n月\t名\n")).IsEmpty());
}

TEST(Couplets, TheUsageTableReadsItsRows)
{
    CoupletWords w;
    w.AddUsage(S(u"字\t次数\t对字\n风\t100\t雨12 月9 风5\n雨\t80\t风12\n坏\tx\t风3\n月\t50\t\n"
                 u"云\t40\t雨 雾x 烟2 𠀋4\n"));
    ASSERT_TRUE(w.HasUsage());
    struct Case {
        char32_t a;
        char32_t b;
        int faced;
    };
    const Case cases[] = {
        {U'风', U'雨', 12}, {U'雨', U'风', 12},   // listed under both
        {U'风', U'月', 9},  {U'月', U'风', 9},    // listed under one, faced both ways
        {U'风', U'风', 0},                        // a character does not face itself
        {U'风', U'雪', 0},  {U'雪', U'风', 0},    // never faced
        {U'坏', U'风', 0},                        // a row without a count is passed by
        {U'云', U'烟', 2},  {U'云', U'雨', 0},  {U'云', U'雾', 0},   // partners without a count are passed by
        {U'云', U'𠀋', 4},  {U'𠀋', U'云', 4},    // a character beyond the basic plane
    };
    for (const Case &c : cases)
        EXPECT_EQ(w.Faced(c.a, c.b), c.faced)
            << QString::fromUcs4(&c.a, 1).toStdString() << QString::fromUcs4(&c.b, 1).toStdString();
    EXPECT_EQ(w.Seen(U'风'), 100);
    EXPECT_EQ(w.Seen(U'月'), 50);
    EXPECT_EQ(w.Seen(U'坏'), 0);

    CoupletWords bad;
    bad.AddUsage(S(u"字\t对字\n风\t雨12\n"));
    EXPECT_FALSE(bad.HasUsage());
}

// The judge hears the poets beside the classes: on the hand-made list 照
// (a verb) and 人 (a noun) do not face, unless the usage says the poets face
// them; and what the usage says of the other places decides how much a
// first or a middle couplet may cost.
TEST(Couplets, ThePoetsUsageBesideTheClasses)
{
    using Partners = QList<std::pair<char32_t, int>>;
    const Partners kin = {{U'子', 5}, {U'丑', 5}, {U'寅', 5}, {U'卯', 5}};
    struct Case {
        const char *what;
        QList<std::pair<char32_t, Partners>> usage;   // seen 100 times each
        const char16_t *out;
        const char16_t *in;
        int at;                 // 0 首联, 1 颔联
        bool parallel;
        bool learned;           // 照—人 faces by the poets' usage
    };
    const Case cases[] = {
        {"no usage: the classes alone, as a first couplet", {}, u"明月松间照", u"清泉石上人", 0, true, false},
        {"the poets face 照—人", {{U'照', {{U'人', 7}}}}, u"明月松间照", u"清泉石上人", 0, true, true},
        {"the poets face 照—人, middle", {{U'照', {{U'人', 7}}}}, u"明月松间照", u"清泉石上人", 1, true, true},
        {"no pair faced: a first couplet with a miss", {{U'风', {{U'雨', 7}}}}, u"明月松间照", u"清泉石上人", 0,
         false, false},
        {"no pair faced: a middle couplet may have one miss", {{U'风', {{U'雨', 7}}}}, u"明月松间照",
         u"清泉石上人", 1, true, false},
        {"one pair faced: a first couplet may have one miss", {{U'月', {{U'泉', 7}}}}, u"明月松间照",
         u"清泉石上人", 0, true, false},
        {"no pair faced, nothing amiss", {{U'风', {{U'雨', 7}}}}, u"明月松间照", u"清泉石上流", 0, true, false},
        {"照 and 人 faced with four of the same characters", {{U'照', kin}, {U'人', kin}}, u"明月松间照",
         u"清泉石上人", 0, true, true},
        {"照 and 人 faced with three of the same", {{U'照', kin}, {U'人', kin.mid(1, 3)}},
         u"明月松间照", u"清泉石上人", 0, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        CoupletWords words = Hand();
        for (const auto &[ch, partners] : c.usage)
            words.AddUsage(ch, 100, partners);
        const Couplet k = JudgeCouplets(Poem(S(c.out), S(c.in), c.at), words).at(c.at);
        EXPECT_EQ(k.parallel, c.parallel) << DescribePairs(k).toStdString();
        ASSERT_EQ(k.pairs.size(), 3);
        EXPECT_EQ(k.pairs.last().usage, c.learned);
        EXPECT_EQ(DescribePairs(k).contains(S(u"照—人（动／名·人伦，诗家常对）")), c.learned)
            << DescribePairs(k).toStdString();
    }
}

// Poets' couplets on the list the program carries.
TEST(Couplets, PoetsCouplets)
{
    ASSERT_FALSE(CoupletWords::Builtin().IsEmpty());
    struct Case {
        const char16_t *what;
        const char16_t *out;
        const char16_t *in;
        bool parallel;
    };
    const Case cases[] = {
        {u"王维 山居秋暝 颔联", u"明月松间照", u"清泉石上流", true},
        {u"王维 山居秋暝 颈联", u"竹喧归浣女", u"莲动下渔舟", true},
        {u"杜甫 旅夜书怀 颔联", u"星垂平野阔", u"月涌大江流", true},
        {u"王维 使至塞上 颈联", u"大漠孤烟直", u"长河落日圆", true},
        {u"杜甫 春望 首联", u"国破山河在", u"城春草木深", true},
        {u"杜甫 登高 颔联", u"无边落木萧萧下", u"不尽长江滚滚来", true},
        {u"杜甫 闻官军收河南河北 尾联, 流水对", u"即从巴峡穿巫峡", u"便下襄阳向洛阳", true},
        {u"李商隐 锦瑟 颔联", u"庄生晓梦迷蝴蝶", u"望帝春心托杜鹃", true},
        {u"李白 送友人 颔联, famously not parallel", u"此地一为别", u"孤蓬万里征", false},
        {u"杜甫 春望 尾联", u"白头搔更短", u"浑欲不胜簪", false},
        {u"李白 送友人 尾联", u"挥手自兹去", u"萧萧班马鸣", false},
        {u"王维 山居秋暝 尾联", u"随意春芳歇", u"王孙自可留", false},
        {u"孟浩然 临洞庭湖赠张丞相 尾联", u"坐观垂钓者", u"徒有羡鱼情", false},
        {u"李白 黄鹤楼送孟浩然之广陵", u"故人西辞黄鹤楼", u"烟花三月下扬州", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.what).toStdString());
        const Couplet k = JudgeCouplets(Poem(S(c.out), S(c.in))).at(1);
        EXPECT_EQ(k.parallel, c.parallel) << DescribePairs(k).toStdString();
        EXPECT_FALSE(k.sameSense) << DescribePairs(k).toStdString();
    }
}

// What the program learned of the poets, and real couplets judged where they
// stand: lines that run on are no 对仗 at the head or the end of a poem, a
// middle couplet whose word is used as another part of speech still faces.
TEST(Couplets, PoetsCoupletsWhereTheyStand)
{
    const CoupletWords &words = CoupletWords::Builtin();
    ASSERT_TRUE(words.HasUsage());
    EXPECT_GT(words.Faced(U'风', U'雨'), 100);
    EXPECT_GT(words.Faced(U'琴', U'酒'), 0);
    EXPECT_GT(words.Faced(U'剑', U'书'), 0);
    EXPECT_EQ(words.Faced(U'此', U'孤'), 0);
    EXPECT_TRUE(words.Akin(U'即', U'便'));
    EXPECT_FALSE(words.Akin(U'此', U'孤'));
    EXPECT_FALSE(words.Akin(U'者', U'情'));

    struct Case {
        const char16_t *what;
        const char16_t *out;
        const char16_t *in;
        int at;   // 0 首联, 1 颔联, 2 颈联, 3 尾联
        bool parallel;
    };
    const Case cases[] = {
        {u"尾联, one line running on into the next", u"野人如有幸", u"应得见陶钧", 3, false},
        {u"尾联, not parallel", u"虚弃如吾者", u"逢君益自伤", 3, false},
        {u"颈联, 狖 村 声 景 as nouns, 咽 春 as verbs", u"月狖声和琴调咽", u"烟村景接柳条春", 2, true},
        {u"the same lines as a 首联", u"月狖声和琴调咽", u"烟村景接柳条春", 0, false},
        {u"颔联, 数有 as an adverb and a verb", u"数有关中乱", u"何曾劒外清", 1, true},
        {u"杜甫 春望 首联", u"国破山河在", u"城春草木深", 0, true},
        {u"李白 送友人 首联", u"青山横北郭", u"白水绕东城", 0, true},
        {u"李白 送友人 颔联, famously not parallel", u"此地一为别", u"孤蓬万里征", 1, false},
        {u"李白 送友人 尾联", u"挥手自兹去", u"萧萧班马鸣", 3, false},
        {u"杜甫 闻官军收河南河北 尾联, 流水对", u"即从巴峡穿巫峡", u"便下襄阳向洛阳", 3, true},
        {u"孟浩然 临洞庭湖赠张丞相 尾联", u"坐观垂钓者", u"徒有羡鱼情", 3, false},
        {u"王维 山居秋暝 尾联", u"随意春芳歇", u"王孙自可留", 3, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.what).toStdString());
        const Couplet k = JudgeCouplets(Poem(S(c.out), S(c.in), c.at)).at(c.at);
        EXPECT_EQ(k.parallel, c.parallel) << DescribePairs(k).toStdString();
    }
}

// The findings of a 律诗 under 平水韵.
class CoupletFindings : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        QString error;
        const RhymeDictionary dict = SeedDictionary(kPingshui, &error);
        ASSERT_GT(dict.Size(), 0) << error.toStdString();
        index = new ReadingIndex(dict);
    }
    static void TearDownTestSuite()
    {
        delete index;
        index = nullptr;
    }
    static QList<Finding> Run(const char16_t *poem)
    {
        DiagnosisInput in;
        in.poem = S(poem);
        in.system = kPingshui;
        QList<Finding> out;
        for (const Finding &f : Diagnose(in, index->Lookup()).findings) {
            if (f.kind == FindingKind::Parallel || f.kind == FindingKind::SameSense
                || f.kind == FindingKind::RepeatedWord)
                out.append(f);
        }
        return out;
    }
    static ReadingIndex *index;
};

ReadingIndex *CoupletFindings::index = nullptr;

TEST_F(CoupletFindings, MiddleCoupletsMustFaceTheOthersMay)
{
    // 山居秋暝: the middle couplets face: no fault.
    for (const Finding &f : Run(u"空山新雨后，天气晚来秋。\r\n明月松间照，清泉石上流。\r\n"
                                u"竹喧归浣女，莲动下渔舟。\r\n随意春芳歇，王孙自可留。"))
        EXPECT_FALSE(f.fault) << f.message.toStdString();

    // 春望: a 首联 that faces is a note, on its second line.
    QList<Finding> f = Run(u"国破山河在，城春草木深。\r\n感时花溅泪，恨别鸟惊心。\r\n"
                           u"烽火连三月，家书抵万金。\r\n白头搔更短，浑欲不胜簪。");
    ASSERT_EQ(f.size(), 1);
    EXPECT_EQ(KindName(f.first().kind), S(u"对仗"));
    EXPECT_FALSE(f.first().fault);
    EXPECT_EQ(f.first().line, 0);
    EXPECT_EQ(f.first().verse, 1);
    EXPECT_EQ(f.first().position, -1);
    EXPECT_TRUE(f.first().message.startsWith(S(u"首联对仗"))) << f.first().message.toStdString();
    EXPECT_TRUE(f.first().message.contains(S(u"国破—城春"))) << f.first().message.toStdString();

    // 送友人 has the 颔联 that does not face: a fault, word by word.
    f = Run(u"青山横北郭，白水绕东城。\r\n此地一为别，孤蓬万里征。\r\n"
            u"浮云游子意，落日故人情。\r\n挥手自兹去，萧萧班马鸣。");
    QStringList what;
    for (const Finding &x : f)
        what.append(KindName(x.kind) + (x.fault ? u'误' : u'注') + x.message.left(5));
    EXPECT_EQ(what, QStringList({S(u"对仗注首联对仗（"), S(u"对仗误颔联不对仗")}));
    ASSERT_EQ(f.size(), 2);
    EXPECT_EQ(f.at(1).line, 1);
    EXPECT_TRUE(f.at(1).message.contains(S(u"此地—孤蓬"))) << f.at(1).message.toStdString();
    EXPECT_TRUE(f.at(1).message.contains(S(u"不对"))) << f.at(1).message.toStdString();

    // A quatrain is no 律诗: its couplets are not judged.
    EXPECT_TRUE(Run(u"两个黄鹂鸣翠柳，一行白鹭上青天。\r\n窗含西岭千秋雪，门泊东吴万里船。").isEmpty());
}

}  // namespace
