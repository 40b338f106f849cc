// SPDX-License-Identifier: GPL-3.0-or-later
// The diagnostics on the examples textbooks use, read with the shipped
// 平水韵 table, and the pieces they rest on with small hand-made data.
#include "diagnostics.h"
#include "seed.h"

#include "seeddictionary.h"

#include <gtest/gtest.h>

using namespace versilo;
using versilo::testing::SeedDictionary;

void PrintTo(const QString &s, std::ostream *os);

namespace {

QString S(const char16_t *s) { return QString::fromUtf16(s); }

QStringList Kinds(const Diagnosis &d, bool notes = true)
{
    QStringList kinds;
    for (const Finding &f : d.findings) {
        if (f.kind != FindingKind::TwoReadings && (notes || f.fault))
            kinds.append(KindName(f.kind));
    }
    return kinds;
}

const Finding *Find(const Diagnosis &d, const QString &kind, const QString &text = {})
{
    for (const Finding &f : d.findings) {
        if (KindName(f.kind) == kind && f.message.contains(text))
            return &f;
    }
    return nullptr;
}

class Textbook : public ::testing::Test {
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

    static Diagnosis Run(const QString &poem, const QString &pattern = {})
    {
        DiagnosisInput in;
        in.poem = poem;
        in.pattern = pattern;
        in.tuneName = pattern.isEmpty() ? QString() : QStringLiteral("调");
        in.system = kPingshui;
        return Diagnose(in, index->Lookup());
    }

    static ReadingIndex *index;
};

ReadingIndex *Textbook::index = nullptr;

TEST_F(Textbook, RegulatedVerseFormAndFindings)
{
    struct Case {
        const char16_t *what;
        const char16_t *poem;
        const char16_t *form;
        QStringList kinds;   // in order, both readings left aside
    };
    const Case cases[] = {
        {u"孤平 in a made-up line", u"白日依山尽，古河入海流。\r\n欲穷千里目，更上一层楼。",
         u"五绝 仄起 首句不入韵 尤韵", {S(u"孤平")}},
        {u"the same line rescued by its third character",
         u"白日依山尽，古河通海流。\r\n欲穷千里目，更上一层楼。", u"五绝 仄起 首句不入韵 尤韵",
         {S(u"本句自救")}},
        {u"登乐游原: 仄仄仄仄仄 rescued in the next line",
         u"向晚意不适，驱车登古原。\r\n夕阳无限好，只是近黄昏。", u"五绝 仄起 首句不入韵 元韵",
         {S(u"对句相救")}},
        {u"宿建德江: the special form", u"移舟泊烟渚，日暮客愁新。\r\n野旷天低树，江清月近人。",
         u"五绝 平起 首句不入韵 真韵", {S(u"特拗")}},
        {u"登高 without a fault: its first and last couplets face as well (notes)",
         u"风急天高猿啸哀，渚清沙白鸟飞回。\r\n无边落木萧萧下，不尽长江滚滚来。\r\n"
         u"万里悲秋常作客，百年多病独登台。\r\n艰难苦恨繁霜鬓，潦倒新停浊酒杯。",
         u"七律 仄起 首句入韵 灰韵", {S(u"对仗"), S(u"对仗")}},
        {u"锦瑟: the first line rhymes",
         u"锦瑟无端五十弦，一弦一柱思华年。\r\n庄生晓梦迷蝴蝶，望帝春心托杜鹃。\r\n"
         u"沧海月明珠有泪，蓝田日暖玉生烟。\r\n此情可待成追忆，只是当时已惘然。",
         u"七律 仄起 首句入韵 先韵", {}},
        {u"春望 with one rhyme out of its group",
         u"国破山河在，城春草木深。\r\n感时花溅泪，恨别鸟惊心。\r\n"
         u"烽火连三月，家书抵万斤。\r\n白头搔更短，浑欲不胜簪。",
         u"五律 仄起 首句不入韵 侵韵", {S(u"对仗"), S(u"出韵")}},
        {u"the third line not joined to the second, and a rhyme used twice",
         u"白日依山尽，黄河入海流。\r\n万径人踪灭，登楼望远流。", u"五绝 仄起 首句不入韵 尤韵",
         {S(u"失粘"), S(u"重韵")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.what).toStdString());
        const Diagnosis d = Run(S(c.poem));
        ASSERT_TRUE(d.regulated.has_value());
        EXPECT_EQ(d.regulated->Describe(), S(c.form));
        EXPECT_EQ(Kinds(d), c.kinds);
    }

    // Where a finding points: 斤 is the fifth mark of the third line.
    const Diagnosis d = Run(S(cases[6].poem));
    const Finding *f = Find(d, S(u"出韵"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->line, 2);
    EXPECT_EQ(f->position, 9);
    EXPECT_EQ(f->verse, 5);
    EXPECT_TRUE(f->fault);
    EXPECT_TRUE(f->message.contains(S(u"「斤」属文韵"))) << f->message.toStdString();
}

TEST_F(Textbook, CiOfFiveAndSevenCharactersIsNoRegulatedVerse)
{
    // 生查子 and 玉楼春 have the shape of a 五律 and a 七律 but rhyme oblique;
    // they are offered their tunes.
    const struct {
        const char16_t *tune;
        const char16_t *poem;
    } cases[] = {
        {u"生查子", u"去年元夜时，花市灯如昼。\r\n月上柳梢头，人约黄昏后。\r\n"
                    u"今年元夜时，月与灯依旧。\r\n不见去年人，泪湿春衫袖。"},
        {u"玉楼春", u"东城渐觉风光好，縠皱波纹迎客棹。\r\n绿杨烟外晓寒轻，红杏枝头春意闹。\r\n"
                    u"浮生长恨欢娱少，肯爱千金轻一笑。\r\n为君持酒劝斜阳，且向花间留晚照。"},
    };
    const QList<TuneCandidate> tunes = {
        {S(u"常用词谱"), S(u"浣溪沙"), S(u"⊙●⊙○⊙●△\r\n⊙○⊙●●○△\r\n⊙○⊙●●○△\r\n"
                                         u"⊙●⊙○○●●\r\n⊙○⊙●●○△\r\n⊙○⊙●●○△\r\n")},
        {S(u"常用词谱"), S(u"生查子"), S(u"⊙●●○○\r\n⊙●○○▲\r\n⊙●●○○\r\n⊙●○○▲\r\n"
                                         u"⊙●●○○\r\n⊙●○○▲\r\n⊙●●○○\r\n⊙●○○▲\r\n")},
        {S(u"常用词谱"), S(u"玉楼春"), S(u"⊙○⊙●○○▲\r\n⊙●⊙○○●▲\r\n⊙○⊙●●○○\r\n⊙●⊙○○●▲\r\n"
                                         u"⊙○⊙●○○▲\r\n⊙●⊙○○●▲\r\n⊙○⊙●●○○\r\n⊙●⊙○○●▲\r\n")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(S(c.tune).toStdString());
        const Diagnosis d = Run(S(c.poem));
        EXPECT_TRUE(d.uniformLines);
        EXPECT_FALSE(d.regulated.has_value()) << d.regulated->Describe().toStdString();
        EXPECT_TRUE(Kinds(d).isEmpty());
        const QList<TuneMatch> best = RankTunes(d.verses, tunes, 3);
        ASSERT_FALSE(best.isEmpty());
        EXPECT_EQ(best.first().name, S(c.tune));
    }
}

TEST_F(Textbook, TwoReadingsSayWhichReadingThePositionNeeds)
{
    // 锦瑟: 思 must be oblique in 一弦一柱思华年, 华 level.
    const Diagnosis d = Run(S(u"锦瑟无端五十弦，一弦一柱思华年。\r\n庄生晓梦迷蝴蝶，望帝春心托杜鹃。\r\n"
                              u"沧海月明珠有泪，蓝田日暖玉生烟。\r\n此情可待成追忆，只是当时已惘然。"));
    const Finding *si = Find(d, S(u"两读"), S(u"「思」"));
    ASSERT_TRUE(si);
    EXPECT_FALSE(si->fault);
    EXPECT_EQ(si->position, 11);
    EXPECT_TRUE(si->message.contains(S(u"须读仄声（置韵）"))) << si->message.toStdString();
    const Finding *hua = Find(d, S(u"两读"), S(u"「华」"));
    ASSERT_TRUE(hua);
    EXPECT_TRUE(hua->message.contains(S(u"须读平声（麻韵）"))) << hua->message.toStdString();
    // Without a form or a tune there is nothing to need.
    const Diagnosis free = Run(S(u"华"));
    ASSERT_EQ(free.findings.size(), 1);
    EXPECT_FALSE(free.findings.first().message.contains(S(u"须读")));
}

// 念奴娇 as 常用词谱 gives it.
const char16_t kNianNuJiao[] =
    u"⊙○⊙●\r\n●○○\r\n⊙●⊙○○●(韵)\r\n⊙●○○○●●\r\n⊙●⊙○○●(韵)\r\n⊙●○○\r\n⊙○⊙●\r\n"
    u"⊙●○○●(韵)\r\n⊙○⊙●\r\n⊙○⊙●○●(韵)\r\n⊙●⊙●○○\r\n⊙○⊙●\r\n●●○○●(韵)\r\n"
    u"⊙●○○○●●\r\n⊙●⊙○○●(韵)\r\n⊙●○○\r\n⊙○⊙●\r\n⊙●○○●(韵)\r\n⊙○⊙●\r\n"
    u"●○⊙●○●(韵)\r\n\r\n";

const char16_t kDaJiangDongQu[] =
    u"大江东去，浪淘尽、千古风流人物。\r\n故垒西边人道是，三国周郎赤壁。\r\n"
    u"乱石穿空，惊涛拍岸，卷起千堆雪。\r\n江山如画，一时多少豪杰。\r\n"
    u"遥想公瑾当年，小乔初嫁了，雄姿英发。\r\n羽扇纶巾谈笑间，强虏灰飞烟灭。\r\n"
    u"故国神游，多情应笑，我早生华发。\r\n人间如梦，一尊还酹江月。";

TEST_F(Textbook, CiAgainstItsTune)
{
    // 苏轼 breaks 小乔初嫁了，雄姿英发 (5/4) where the tune has 4/5; the
    // entering-tone rhymes 壁 (锡) and 雪 (屑) are held together as Song ci
    // holds them.
    Diagnosis d = Run(S(kDaJiangDongQu), S(kNianNuJiao));
    EXPECT_FALSE(d.regulated);
    EXPECT_EQ(Kinds(d), (QStringList{S(u"句读"), S(u"句读")}));
    for (const Finding &f : d.findings) {
        if (KindName(f.kind) != S(u"句读"))
            continue;
        EXPECT_EQ(f.line, 4);
        EXPECT_EQ(f.position, -1);
        EXPECT_TRUE(f.message.contains(S(u"词谱断作4、5字：小乔初嫁／了雄姿英发"))) << f.message.toStdString();
    }

    // A tune whose level rhymes change to oblique ones and back (△ ▲): a
    // line one syllable short, and a level rhyme out of its section.
    d = Run(S(u"春风吹柳条，\r\n雨过山，\r\n江边去路遥。\r\n花落雨，\r\n满地无人语。\r\n"
              u"秋风送客归，\r\n飞花落水深。"),
            S(u"○○○●△\r\n●●○○\r\n○○●●△\r\n○●▲\r\n●●○○▲\r\n○○●●△\r\n●○○●△\r\n"));
    EXPECT_EQ(Kinds(d), (QStringList{S(u"句长"), S(u"出韵")}));
    const Finding *f = Find(d, S(u"出韵"));
    ASSERT_TRUE(f);
    EXPECT_EQ(f->line, 6);
    EXPECT_EQ(f->position, 4);
    EXPECT_TRUE(f->message.contains(S(u"「深」属侵韵"))) << f->message.toStdString();
}

TEST_F(Textbook, TunesRankedByLineLengths)
{
    const QList<Verse> verses = SplitVerses(S(kDaJiangDongQu), {}, StripSet::Full, index->Lookup());
    const QList<TuneCandidate> tunes = {
        {S(u"常用词谱"), S(u"浣溪沙"), S(u"⊙●⊙○⊙●○\r\n⊙○⊙●●○○\r\n⊙○⊙●●○○\r\n")},
        {S(u"白香词谱"), S(u"念奴娇"), S(kNianNuJiao)},
        {S(u"常用词谱"), S(u"念奴娇"), S(kNianNuJiao)},
        {S(u"常用词谱"), S(u"空"), QString()},
    };
    const QList<TuneMatch> best = RankTunes(verses, tunes, 3);
    ASSERT_EQ(best.size(), 2);   // one entry per name; a tune without a pattern is no candidate
    EXPECT_EQ(best.at(0).name, S(u"念奴娇"));
    EXPECT_EQ(best.at(0).book, S(u"白香词谱"));
    EXPECT_GT(best.at(0).fit, 0.95);
    EXPECT_EQ(best.at(1).name, S(u"浣溪沙"));
    EXPECT_LT(best.at(1).fit, 0.5);
}

// ---- the pieces, on hand-made data

RhymeDictionary Hand(const QString &system)
{
    RhymeDictionary dict(system);
    const struct {
        const char16_t *hanzi;
        const char *tone, *group;
    } rows[] = {
        {u"看", "2", "76"}, {u"看", "2", "15"}, {u"山", "0", "15"}, {u"水", "1", "35"},
        {u"𠀋", "1", ""}, {u"无", "9", ""},
    };
    for (const auto &r : rows) {
        DictionaryRow row;
        row.hanzi = S(r.hanzi);
        row.tone = QString::fromLatin1(r.tone);
        row.group = QString::fromLatin1(r.group);
        dict.Append(row);
    }
    return dict;
}

TEST(DiagnosticPieces, ReadingIndexKeepsEveryReading)
{
    const ReadingIndex pingshui(Hand(kPingshui));
    const CharReadings kan = pingshui.Of(U'看');
    ASSERT_EQ(kan.readings.size(), 2);
    // Under 平水韵 the group gives the tone of a reading; the last row decides.
    EXPECT_EQ(kan.readings.at(0).tone, Tone::Oblique);
    EXPECT_EQ(kan.readings.at(1).tone, Tone::Level);
    EXPECT_EQ(kan.mark, QChar(u'※'));
    EXPECT_EQ(kan.deciding.groupName, S(u"寒"));
    EXPECT_EQ(pingshui.Of(U'𠀋').mark, QChar(u'●'));   // beyond the BMP, by code point
    EXPECT_TRUE(pingshui.Of(U'无').readings.isEmpty());   // no known code, no group
    EXPECT_TRUE(DescribeReadings(U'看', kan, kPingshui).contains(S(u"依最后一条读音（寒韵）")));
    EXPECT_EQ(DescribeReadings(U'无', {}, kPingshui), S(u"「无」韵书未收"));

    // Under 中华新韵 the tone code gives it.
    const ReadingIndex modern(Hand(kNewRhyme));
    EXPECT_EQ(modern.Of(U'看').readings.at(0).tone, Tone::Either);
    EXPECT_EQ(modern.Of(U'水').readings.at(0).tone, Tone::Oblique);
}

TEST(DiagnosticPieces, VersesKeepThePositionsOfTheToneColumn)
{
    const ReadingIndex index(Hand(kPingshui));
    // Punctuation and blanks take no position (an enumeration comma and a
    // blank as well); a character beyond the BMP is one syllable.
    const QString poem = S(u"看山，水、山 看\r\n𠀋山");
    QList<Verse> v = SplitVerses(poem, S(u"※○●○※\r\n●○\r\n\r\n"), StripSet::Full, index.Lookup());
    ASSERT_EQ(v.size(), 5);
    EXPECT_EQ(v.at(0).positions, (QList<int>{0, 1}));
    EXPECT_EQ(v.at(1).positions, (QList<int>{2}));
    EXPECT_EQ(v.at(2).positions, (QList<int>{3}));
    EXPECT_EQ(v.at(3).positions, (QList<int>{4}));
    EXPECT_EQ(v.at(3).line, 0);
    EXPECT_EQ(v.at(4).line, 1);
    EXPECT_EQ(v.at(4).chars, (QList<char32_t>{U'𠀋', U'山'}));
    EXPECT_EQ(v.at(4).marks, S(u"●○"));
    // A column line that does not fit: the marks come from the dictionary.
    v = SplitVerses(poem, S(u"○○\r\n"), StripSet::Full, index.Lookup());
    EXPECT_EQ(v.at(0).marks, S(u"※○"));
    EXPECT_EQ(v.at(4).marks, S(u"●○"));
}

}  // namespace
