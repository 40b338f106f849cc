// SPDX-License-Identifier: GPL-3.0-or-later
// Each rule of the diagnostics on its own, with lines made by hand: 平 and
// 仄 stand for any level and oblique syllable, the rhyme words carry their
// 平水韵 groups.
#include "diagnostics.h"
#include "rules.h"
#include "wordreadings.h"

#include <gtest/gtest.h>

using namespace versilo;
using namespace versilo::diag;

void PrintTo(const QString &s, std::ostream *os);

namespace {

QString S(const char16_t *s) { return QString::fromUtf16(s); }

RhymeDictionary HandDictionary()
{
    RhymeDictionary dict(kPingshui);
    const struct {
        const char16_t *hanzi;
        const char *tone, *group;
    } rows[] = {
        {u"平", "0", ""},  {u"仄", "1", ""},  {u"两", "2", ""},
        {u"东", "0", "1"}, {u"同", "0", "1"}, {u"风", "0", "1"}, {u"红", "0", "1"},
        {u"冬", "0", "2"}, {u"农", "0", "2"}, {u"钟", "2", "2"}, {u"钟", "2", "33"}, {u"江", "0", "3"}, {u"盐", "0", "30"},
        {u"咸", "0", "31"}, {u"衫", "0", "31"}, {u"凡", "0", "31"}, {u"岩", "0", "31"},
        {u"董", "1", "32"}, {u"孔", "1", "32"}, {u"动", "1", "32"},
        {u"间", "2", "1"}, {u"间", "2", "32"},
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

const ReadingIndex &Index()
{
    static const ReadingIndex index(HandDictionary());
    return index;
}

// One verse line per text line, so that a position is the syllable's index.
QList<Verse> Lines(const QList<const char16_t *> &lines)
{
    QStringList text;
    for (const char16_t *l : lines)
        text.append(S(l));
    return SplitVerses(text.join(QStringLiteral("\r\n")), {}, StripSet::Full, Index().Lookup());
}

// "失对 2:-", "孤平 2:-", "失律 3:5": kind, verse line and syllable, from 1.
QStringList Brief(const QList<Finding> &findings)
{
    QStringList out;
    for (const Finding &f : findings)
        out.append(KindName(f.kind) + QStringLiteral(" %1:%2")
                                          .arg(f.verse + 1)
                                          .arg(f.position < 0 ? QStringLiteral("-")
                                                              : QString::number(f.position + 1)));
    return out;
}

using Rule = void (*)(RegulatedPoem &);

// The findings of one rule, the rules before it having run as the judge
// runs them.
QStringList Apply(Rule rule, const QList<Verse> &verses, const RegulatedForm &form)
{
    const Rule order[] = {RuleTies, RuleLineEnds, RuleCorePattern, RuleEvenPositions, RuleRhymes};
    QList<Finding> out;
    Needs needs;
    needs.Reset(verses);
    RegulatedPoem p(verses, Index().Lookup(), kPingshui, form, out, needs);
    for (Rule r : order) {
        if (r == rule)
            break;
        r(p);
    }
    out.clear();
    rule(p);
    return Brief(out);
}

RegulatedForm Form(bool levelStart, bool firstLineRhymes, bool levelRhyme = true)
{
    RegulatedForm f;
    f.levelStart = levelStart;
    f.firstLineRhymes = firstLineRhymes;
    f.levelRhyme = levelRhyme;
    return f;
}

struct RuleCase {
    const char *what;
    QList<const char16_t *> lines;
    RegulatedForm form;
    QStringList findings;
};

void Check(Rule rule, const std::vector<RuleCase> &cases)
{
    for (const RuleCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Apply(rule, Lines(c.lines), c.form), c.findings);
    }
}

// 仄起 五绝, first line not rhyming: the textbook pattern.
const QList<const char16_t *> kPlain = {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同"};

// The same with an oblique last rhyme.
const QList<const char16_t *> kPlainOblique = {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平董"};

TEST(RegulatedForm, ShapeAndNameOfTheForm)
{
    const struct {
        const char *what;
        QList<const char16_t *> lines;
        const char16_t *describe;   // "" when not regulated
    } cases[] = {
        {"五绝", kPlain, u"五绝 仄起 首句不入韵 东韵"},
        {"五律", {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同", u"仄仄平平仄",
                  u"平平仄仄风", u"平平平仄仄", u"仄仄仄平红"},
         u"五律 仄起 首句不入韵 东韵"},
        {"a 排律 of ten lines", {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同",
                                 u"仄仄平平仄", u"平平仄仄风", u"平平平仄仄", u"仄仄仄平红",
                                 u"仄仄平平仄", u"平平仄仄冬"},
         u"五言排律 仄起 首句不入韵 东韵"},
        {"七绝 平起 首句入韵", {u"平平仄仄仄平东", u"仄仄平平仄仄同", u"仄仄平平平仄仄",
                               u"平平仄仄仄平风"},
         u"七绝 平起 首句入韵 东韵"},
        {"a 排律 of twelve seven-syllable lines",
         {u"平平仄仄仄平东", u"仄仄平平仄仄同", u"仄仄平平平仄仄", u"平平仄仄仄平风",
          u"平平仄仄平平仄", u"仄仄平平仄仄红", u"仄仄平平平仄仄", u"平平仄仄仄平冬",
          u"平平仄仄平平仄", u"仄仄平平仄仄东", u"仄仄平平平仄仄", u"平平仄仄仄平同"},
         u"七言排律 平起 首句入韵 东韵"},
        {"rhymes in 咸", {u"仄仄平平仄", u"平平仄仄咸", u"平平平仄仄", u"仄仄仄平衫"},
         u"五绝 仄起 首句不入韵 咸韵"},
        {"the first line borrowing from 盐 beside 咸", {u"仄仄仄平盐", u"平平仄仄咸", u"平平平仄仄",
                                                         u"仄仄仄平凡"},
         u"五绝 仄起 首句入韵 咸韵"},
        {"six lines", {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同", u"仄仄平平仄",
                       u"平平仄仄风"},
         u""},
        {"lines of six", {u"仄仄平平平仄", u"平平仄仄平东", u"平平平仄仄仄", u"仄仄仄平平同"}, u""},
        {"lines of unequal length", {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平平同"}, u""},
        {"no tone relation holds", {u"平平平平平", u"平平平平东", u"平平平平平", u"平平平平同"}, u""},
        {"oblique rhymes make a 古绝", {u"平平平仄仄", u"仄仄平平董", u"仄仄平平仄", u"平平仄仄孔"}, u""},
        {"a quatrain whose rhyme goes oblique", kPlainOblique, u""},
        {"rhymes that go oblique halfway",
         {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同", u"平平平仄平", u"仄仄平平董",
          u"仄仄平平平", u"平平仄仄孔"},
         u""},
        {"one oblique rhyme in eight lines is a fault, not another form",
         {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同", u"仄仄平平仄", u"平平仄仄董",
          u"平平平仄仄", u"仄仄仄平风"},
         u"五律 仄起 首句不入韵 东韵"},
        {"a change of rhyme (换韵)",
         {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同", u"仄仄平平仄", u"平平仄仄江",
          u"平平平仄仄", u"仄仄仄平江"},
         u""},
        {"rhymes going over to the neighbouring 冬 for good, the tones loose as well",
         {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同", u"仄平平平仄", u"平平仄仄冬",
          u"平平平仄仄", u"仄仄仄平农"},
         u""},
        {"the same tones keeping one rhyme",
         {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同", u"仄平平平仄", u"平平仄仄风",
          u"平平平仄仄", u"仄仄仄平红"},
         u"五律 仄起 首句不入韵 东韵"},
        {"rhymes going over to 冬 in strict tones: a 律诗 with two rhymes out",
         {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同", u"仄仄平平仄", u"平平仄仄冬",
          u"平平平仄仄", u"仄仄仄平农"},
         u"五律 仄起 首句不入韵 东韵"},
        {"rhymes starting in 冬, one of them a word of both tones, the tones loose",
         {u"仄仄平平仄", u"平平仄仄冬", u"平平平仄仄", u"仄仄仄平钟", u"仄平平平仄", u"平平仄仄东",
          u"平平平仄仄", u"仄仄仄平同", u"仄仄平平仄", u"平平仄仄风"},
         u""},
        {"the special form twice and one couplet unjoined: too loose for a 绝句",
         {u"平平仄平仄", u"仄仄仄平东", u"平平仄平仄", u"仄仄仄平同"},
         u""},
        {"every couplet unjoined and unopposed",
         {u"仄仄仄平平", u"仄仄仄平东", u"平平平仄仄", u"平平平仄同"}, u""},
        {"couplets never joined, with two lines awry besides",
         {u"仄仄平仄仄", u"平平仄仄东", u"仄仄平平仄", u"平平仄仄同", u"仄仄平仄仄", u"平平仄仄风",
          u"仄仄平平仄", u"平平仄仄红"},
         u""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const auto form = DetectRegulated(Lines(c.lines), Index().Lookup(), kPingshui);
        const QString describe = S(c.describe);
        if (describe.isEmpty()) {
            EXPECT_FALSE(form.has_value()) << form->Describe().toStdString();
            continue;
        }
        ASSERT_TRUE(form.has_value());
        EXPECT_EQ(form->Describe(), describe);
    }
}

TEST(RegulatedRules, TiesBetweenLines)
{
    Check(RuleTies, {
        {"the textbook pattern", kPlain, Form(false, false), {}},
        {"a couplet not opposed", {u"仄仄平平仄", u"仄仄平平东", u"仄仄平平仄", u"平平仄仄同"},
         Form(false, false), {S(u"失对 2:-")}},
        {"couplets not joined", {u"仄仄平平仄", u"平平仄仄东", u"仄仄平平仄", u"平平仄仄同"},
         Form(false, false), {S(u"失粘 3:-")}},
        {"the first line sets the start", {u"平平平仄仄", u"仄仄仄平东", u"仄仄平平仄", u"平平仄仄同"},
         Form(false, false), {}},
        {"even positions that do not agree settle nothing",
         {u"仄仄仄仄仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同"}, Form(false, false), {}},
        {"the last couplet of a ten-line 排律",
         {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同", u"仄仄平平仄", u"平平仄仄风",
          u"平平平仄仄", u"仄仄仄平红", u"平平平仄仄", u"仄仄仄平冬"},
         Form(false, false), {S(u"失粘 9:-")}},
    });
}

TEST(RegulatedRules, LineEnds)
{
    Check(RuleLineEnds, {
        {"every end in its tone", kPlain, Form(false, false), {}},
        {"a line that does not rhyme ends level", {u"仄仄平平仄", u"平平仄仄东", u"平平平仄平", u"仄仄仄平同"},
         Form(false, false), {S(u"失律 3:5")}},
        {"the first line ends level without rhyming", {u"仄仄平平平", u"平平仄仄东", u"平平平仄仄",
                                                        u"仄仄仄平同"},
         Form(false, false), {S(u"失律 1:5")}},
        {"a rhyming first line is the rhymes' concern", {u"仄仄仄平仄", u"平平仄仄东", u"平平平仄仄",
                                                         u"仄仄仄平同"},
         Form(false, true), {}},
        {"oblique rhymes: the other lines end level", {u"仄仄平平平", u"平平平仄董", u"平平仄仄仄",
                                                        u"仄仄平平孔"},
         Form(false, false, false), {S(u"失律 3:5")}},
    });
    // The end of a line that does not rhyme asks for the other tone.
    const QList<Verse> verses = Lines(kPlain);
    QList<Finding> out;
    Needs needs;
    needs.Reset(verses);
    RegulatedPoem p(verses, Index().Lookup(), kPingshui, Form(false, false), out, needs);
    RuleLineEnds(p);
    EXPECT_EQ(needs.need[2][4], Need::Oblique);
    EXPECT_EQ(needs.need[1][4], Need::None);
}

TEST(RegulatedRules, CorePatternAndRescues)
{
    Check(RuleCorePattern, {
        {"the textbook pattern", kPlain, Form(false, false), {}},
        {"孤平", {u"仄仄平平仄", u"仄平仄仄东", u"平平平仄仄", u"仄仄仄平同"}, Form(false, false),
         {S(u"孤平 2:-")}},
        {"孤平 rescued in the line", {u"仄仄平平仄", u"仄平平仄东", u"平平平仄仄", u"仄仄仄平同"},
         Form(false, false), {S(u"本句自救 2:3")}},
        {"the fourth rescued by the next line's third",
         {u"仄仄平仄仄", u"平平平仄东", u"平平平仄仄", u"仄仄仄平同"}, Form(false, false),
         {S(u"对句相救 2:3")}},
        {"the fourth not rescued", {u"仄仄平仄仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同"},
         Form(false, false), {S(u"拗句 1:4")}},
        {"the special form", {u"仄仄平平仄", u"平平仄仄东", u"平平仄平仄", u"仄仄仄平同"},
         Form(false, false), {S(u"特拗 3:-")}},
        {"the special form wants a level first", {u"仄仄平平仄", u"平平仄仄东", u"仄平仄平仄",
                                                  u"仄仄仄平同"},
         Form(false, false), {S(u"拗句 3:1")}},
        {"三仄尾", {u"仄仄平平仄", u"平平仄仄东", u"平平仄仄仄", u"仄仄仄平同"}, Form(false, false),
         {S(u"三仄尾 3:-")}},
        {"三平尾", {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄平平同"}, Form(false, false),
         {S(u"三平尾 4:-")}},
        {"仄平仄平平 keeps two level syllables: no 孤平",
         {u"仄仄平平仄", u"仄平仄平东", u"平平平仄仄", u"仄仄仄平同"}, Form(false, false), {}},
        {"平仄仄仄平 keeps one", {u"仄仄平平仄", u"平仄仄仄东", u"平平平仄仄", u"仄仄仄平同"},
         Form(false, false), {S(u"孤平 2:-")}},
        {"a syllable with both readings may save the line",
         {u"仄仄平平仄", u"仄平两仄东", u"平平平仄仄", u"仄仄仄平同"}, Form(false, false), {}},
        {"孤平 in the core of a seven-syllable line",
         {u"平平仄仄平平仄", u"仄仄仄平仄仄东", u"仄仄平平平仄仄", u"平平仄仄仄平同"}, Form(true, false),
         {S(u"孤平 2:-")}},
        {"oblique rhymes have no core patterns of their own",
         {u"仄仄平平平", u"平平平仄董", u"平平仄仄平", u"仄平仄平孔"}, Form(false, false, false), {}},
    });
}

TEST(RegulatedRules, EvenPositions)
{
    Check(RuleEvenPositions, {
        {"the textbook pattern", kPlain, Form(false, false), {}},
        {"the second position", {u"仄平平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同"},
         Form(false, false), {S(u"失律 1:2")}},
        {"the sixth of a seven-syllable line",
         {u"平平仄仄平平仄", u"仄仄平平仄平东", u"仄仄平平平仄仄", u"平平仄仄仄平同"}, Form(true, false),
         {S(u"失律 2:6")}},
        {"the fourth the special form swaps is no fault",
         {u"仄仄平平仄", u"平平仄仄东", u"平平仄平仄", u"仄仄仄平同"}, Form(false, false), {}},
        {"仄平仄平平: the fourth is the fault, told once",
         {u"仄仄平平仄", u"仄平仄平东", u"平平平仄仄", u"仄仄仄平同"}, Form(false, false),
         {S(u"失律 2:4")}},
        {"仄仄平仄平: 孤平 alone, not the second besides",
         {u"仄仄平平仄", u"仄仄平仄东", u"平平平仄仄", u"仄仄仄平同"}, Form(false, false), {}},
        {"the fourth an unrescued line swaps is told once",
         {u"仄仄平仄仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同"}, Form(false, false), {}},
    });
}

TEST(RegulatedRules, Rhymes)
{
    Check(RuleRhymes, {
        {"one group", kPlain, Form(false, false), {}},
        {"rhymes in 咸", {u"仄仄平平仄", u"平平仄仄咸", u"平平平仄仄", u"仄仄仄平衫"}, Form(false, false), {}},
        {"a rhyme out of its group", {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同",
                                      u"仄仄平平仄", u"平平仄仄冬", u"平平平仄仄", u"仄仄仄平风"},
         Form(false, false), {S(u"出韵 6:5")}},
        {"a rhyme in the oblique tone", {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同",
                                         u"仄仄平平仄", u"平平仄仄董", u"平平平仄仄", u"仄仄仄平风"},
         Form(false, false), {S(u"出韵 6:5")}},
        {"a rhyme used twice", {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平东"},
         Form(false, false), {S(u"重韵 4:5")}},
        {"the first line borrows from a neighbouring group",
         {u"仄仄仄平冬", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平同"}, Form(false, true), {S(u"邻韵 1:5")}},
        {"the first line in a group far off", {u"仄仄仄平江", u"平平仄仄东", u"平平平仄仄",
                                                u"仄仄仄平同"},
         Form(false, true), {S(u"出韵 1:5")}},
        {"oblique rhymes are told once", {u"仄仄平平平", u"平平平仄董", u"平平仄仄平", u"仄仄平平孔"},
         Form(false, false, false), {S(u"仄韵 2:5")}},
    });
}

// ---- ci

struct CiCase {
    const char *what;
    const char16_t *pattern;
    QList<const char16_t *> lines;
    QStringList findings;
};

QStringList ApplyCi(void (*rule)(CiPoem &), const CiCase &c)
{
    const QList<Verse> verses = Lines(c.lines);
    const QList<PatternLine> lines = ParsePattern(S(c.pattern));
    QList<Finding> out;
    Needs needs;
    needs.Reset(verses);
    CiPoem p(verses, lines, Index().Lookup(), kPingshui, out, needs);
    RuleCiLines(p);
    if (rule != RuleCiLines) {
        out.clear();
        rule(p);
    }
    return Brief(out);
}

const char16_t kTune[] = u"○○●●△\r\n●●○○\r\n○○●●△\r\n";

TEST(CiRules, LinesAgainstThePattern)
{
    const CiCase cases[] = {
        {"every line in place", kTune, {u"平平仄仄东", u"仄仄平平", u"平平仄仄同"}, {}},
        {"a line one short", kTune, {u"平平仄仄东", u"仄仄平", u"平平仄仄同"}, {S(u"句长 2:-")}},
        {"a line too many", kTune, {u"平平仄仄东", u"仄仄平平", u"平平仄仄同", u"仄仄平平仄平仄仄"},
         {S(u"多句 4:-")}},
        {"a line missing", kTune, {u"平平仄仄东", u"仄仄平平"}, {S(u"缺句 2:-")}},
        {"a poem that stops short misses its last lines, said once",
         u"○○●●△\r\n○○●●△\r\n○○●●△\r\n○○●●△\r\n", {u"平平仄仄东", u"平平仄仄同"},
         {S(u"缺句 2:-")}},
        {"two lines written as one", kTune, {u"平平仄仄东仄仄平平", u"平平仄仄同"}, {S(u"句读 1:-")}},
        {"one line written as two", u"○○●●○●●△\r\n", {u"平平仄仄", u"平仄仄东"},
         {S(u"句读 1:-"), S(u"句读 2:-")}},
    };
    for (const CiCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ApplyCi(RuleCiLines, c), c.findings);
    }
}

TEST(CiRules, RhymesOfThePattern)
{
    const CiCase cases[] = {
        {"rhymes in one section", kTune, {u"平平仄仄东", u"仄仄平平", u"平平仄仄冬"}, {}},
        {"a rhyme out of its section", kTune, {u"平平仄仄东", u"仄仄平平", u"平平仄仄江"},
         {S(u"出韵 3:5")}},
        {"a rhyme on a line of the wrong length is not judged", kTune,
         {u"平平仄仄东", u"仄仄平平", u"平平仄仄平江"}, {}},
        {"the rhyme changes to oblique", u"○○●●△\r\n●●○○▲\r\n○○●●▲\r\n",
         {u"平平仄仄东", u"仄仄平平董", u"平平仄仄孔"}, {}},
        {"a level rhyme in an oblique section", u"○○●●△\r\n●●○○▲\r\n○○●●▲\r\n",
         {u"平平仄仄东", u"仄仄平平董", u"平平仄仄江"}, {S(u"出韵 3:5")}},
        {"a marked change of rhyme starts a new section",
         u"○○●●△\r\n●●○○●(换平韵)\r\n○○●●△\r\n",
         {u"平平仄仄东", u"仄仄平平江", u"平平仄仄江"}, {}},
    };
    for (const CiCase &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ApplyCi(RuleCiRhymes, c), c.findings);
    }
}

TEST(CiRules, TunesRankedBestFirstAsManyAsAsked)
{
    // Tunes of one line each, 2 to 12 syllables; the verse has 7.
    QList<TuneCandidate> tunes;
    for (int n = 2; n <= 12; ++n)
        tunes.append({S(u"书"), QStringLiteral("调%1").arg(n), QString(n, u'○') + QStringLiteral("\r\n")});
    tunes.append({S(u"书"), S(u"无谱"), QString()});
    tunes.append({S(u"另书"), S(u"调7"), S(u"○○○○○○○\r\n")});
    const QList<Verse> verses = Lines({u"平平仄仄平平仄"});
    const struct {
        int count;
        QStringList names;
    } cases[] = {
        {1, {S(u"调7")}},
        {3, {S(u"调7"), S(u"调6"), S(u"调8")}},
        {5, {S(u"调7"), S(u"调6"), S(u"调8"), S(u"调5"), S(u"调9")}},
        {20, {S(u"调7"), S(u"调6"), S(u"调8"), S(u"调5"), S(u"调9"), S(u"调4"), S(u"调10"), S(u"调3"),
              S(u"调11"), S(u"调2"), S(u"调12")}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.count);
        QStringList names;
        for (const TuneMatch &m : RankTunes(verses, tunes, c.count))
            names.append(m.name);
        EXPECT_EQ(names, c.names);
    }
    const QList<TuneMatch> best = RankTunes(verses, tunes, 1);
    ASSERT_EQ(best.size(), 1);
    EXPECT_EQ(best.first().book, S(u"书"));   // the first book of a name that fits alike
    EXPECT_DOUBLE_EQ(best.first().fit, 1.0);
}

TEST(FindingKinds, NamesAreTheWritersWords)
{
    const QStringList names = S(u"失律 失对 失粘 孤平 三平尾 三仄尾 拗句 本句自救 对句相救 特拗 "
                                u"出韵 邻韵 重韵 仄韵 句长 句读 多句 缺句 两读 又一体 对仗 合掌 重字")
                                  .split(u' ');
    ASSERT_EQ(names.size(), qsizetype(std::size(kFindingKinds)));
    for (qsizetype i = 0; i < names.size(); ++i) {
        EXPECT_EQ(KindName(kFindingKinds[i]), names.at(i));
        EXPECT_EQ(KindOfName(names.at(i)), kFindingKinds[i]);
    }
    EXPECT_FALSE(KindOfName(S(u"失")).has_value());
}

}  // namespace

// ---- 两读 settled by the word

TEST(WordReadings, TheWordAroundACharacterSettlesIt)
{
    const WordReadings table = WordReadings::FromText(S(
        u"词\t字\t平仄\n"
        u"分手\t分\t0\n本分\t分\t1\n首长\t长\t1\n长安\t长\t2\n"
        u"一中\t中\t0\n一中的\t中\t1\n水中\t中\t0\n中的\t中\t1\n"
        u"坏行\t分\t0\n坏行\t分\n坏\t坏\t0\n好字\t好\tx\r\n"));
    const struct {
        const char16_t *chars;
        int k;
        const char16_t *word;   // "" when nothing settles it
        Tone tone;
    } cases[] = {
        {u"挥手分手去", 2, u"分手", Tone::Level},
        {u"守本分", 2, u"本分", Tone::Oblique},
        {u"手分", 1, u"", Tone::Either},                  // 分手 does not stand here
        {u"回首长安", 2, u"", Tone::Either},              // 首长 only seems to stand here
        {u"首长", 1, u"首长", Tone::Oblique},
        {u"长安", 0, u"", Tone::Either},                  // a word that settles nothing
        {u"一中的", 1, u"一中的", Tone::Oblique},         // the longer word
        {u"水中的", 1, u"", Tone::Either},                // two words disagree
        {u"坏行", 1, u"", Tone::Either},                  // rows that do not fit
        {u"好字", 0, u"", Tone::Either},
        {u"分", 0, u"", Tone::Either},
        {u"分手", 5, u"", Tone::Either},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(S(c.chars).toStdString());
        QList<char32_t> chars;
        for (uint u : S(c.chars).toUcs4())
            chars.append(u);
        const auto s = table.Settle(chars, c.k);
        if (S(c.word).isEmpty()) {
            EXPECT_FALSE(s.has_value()) << s->word.toStdString();
            continue;
        }
        ASSERT_TRUE(s.has_value());
        EXPECT_EQ(s->word, S(c.word));
        EXPECT_EQ(s->tone, c.tone);
    }
}

TEST(WordReadings, TheRulesJudgeTheReadingTheWordGives)
{
    const WordReadings table =
        WordReadings::FromText(S(u"词\t字\t平仄\n两平\t两\t0\n两仄\t两\t1\n平间\t间\t1\n"));
    const WordReadings none;
    const struct {
        const char *what;
        QList<const char16_t *> lines;
        const WordReadings *words;
        QStringList kinds;
        const char16_t *note;   // part of the 两读 note
    } cases[] = {
        {"the position decides without a word",
         {u"仄仄平平仄", u"平平仄仄东", u"平平两平仄", u"仄仄仄平同"}, &none, {S(u"特拗")}, u"须读仄声"},
        {"the word reads it level: no special form",
         {u"仄仄平平仄", u"平平仄仄东", u"平平两平仄", u"仄仄仄平同"}, &table, {S(u"失律")},
         u"在「两平」中读平声"},
        {"a reading of both tones saves the line from 孤平",
         {u"仄仄平平仄", u"仄平两仄东", u"平平平仄仄", u"仄仄仄平同"}, &none, {}, u""},
        {"the word reads it oblique: 孤平",
         {u"仄仄平平仄", u"仄平两仄东", u"平平平仄仄", u"仄仄仄平同"}, &table, {S(u"孤平")},
         u"在「两仄」中读仄声"},
        {"a rhyme word the word would read oblique rhymes all the same",
         {u"仄仄平平仄", u"平平仄仄东", u"平平平仄仄", u"仄仄仄平间"}, &table, {}, u"韵脚"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QStringList text;
        for (const char16_t *l : c.lines)
            text.append(S(l));
        DiagnosisInput in;
        in.poem = text.join(QStringLiteral("\r\n"));
        in.system = kPingshui;
        in.words = c.words;
        const Diagnosis d = Diagnose(in, Index().Lookup());
        ASSERT_TRUE(d.regulated.has_value());
        QStringList kinds;
        QString note;
        for (const Finding &f : d.findings) {
            if (f.kind == FindingKind::TwoReadings)
                note = f.message;
            else
                kinds.append(KindName(f.kind));
        }
        EXPECT_EQ(kinds, c.kinds);
        EXPECT_TRUE(note.contains(S(c.note))) << note.toStdString();
    }
}
