// SPDX-License-Identifier: GPL-3.0-or-later
#include "prosody.h"

#include <gtest/gtest.h>

#include "ui_support.h"

using namespace versilo;


namespace {

QString S(const char16_t *s) { return QString::fromUtf16(s); }

struct Entry {
    const char16_t *hanzi;
    const char *tone;
    const char *group;
};

RhymeDictionary MakeDict(const QString &system, std::initializer_list<Entry> entries)
{
    RhymeDictionary dict(system);
    qint64 id = 1;
    for (const Entry &e : entries) {
        DictionaryRow row;
        row.id = id++;
        row.hanzi = S(e.hanzi);
        row.tone = QString::fromLatin1(e.tone);
        row.group = QString::fromLatin1(e.group);
        dict.Append(row);
    }
    return dict;
}

// A small dictionary for both systems: the characters of 登鹳雀楼's first
// couplet, one character with both readings, and a few duplicates.
RhymeDictionary Fixture(const QString &system)
{
    return MakeDict(system, {
        {u"白", "0", "4"}, {u"日", "1", "13"}, {u"依", "0", "12"}, {u"山", "0", "8"},
        {u"尽", "1", "9"}, {u"黄", "0", "10"}, {u"河", "0", "2"}, {u"入", "1", "14"},
        {u"海", "1", "4"}, {u"流", "0", "7"}, {u"看", "2", "24"},
        {u"谁", "0", "5"}, {u"知", "0", "13"},
        // The last row with a known code decides.
        {u"重", "0", "11"}, {u"重", "1", "11"},
        {u"思", "1", "13"}, {u"思", "3", "99"},
        {u"长", "1", "10"}, {u"长", "2", "10"},
        {u"", "1", "1"},
        // A marker word as a poem character, and characters outside the BMP.
        {u"读", "1", "92"}, {u"𠀀", "0", "1"}, {u"龘", "1", "2"},
    });
}

DictionaryLoader FixtureLoader(int *calls = nullptr)
{
    return [calls](const QString &system, RhymeDictionary &out) {
        if (calls)
            ++*calls;
        out = Fixture(system);
        return true;
    };
}

const DictionaryLoader kFailingLoader = [](const QString &, RhymeDictionary &) { return false; };

ComposeTexts Form(const QString &poem, const QString &system = kNewRhyme)
{
    ComposeTexts f;
    f.text2 = poem;
    f.command2 = system;
    return f;
}

}  // namespace

// ---- line handling --------------------------------------------------------------

TEST(SplitLines, CutsAtCrLfAndAlwaysEndsWithAnEmptyLine)
{
    EXPECT_EQ(SplitLines(S(u"白日依山尽\r\n黄河入海流\r\n")),
              (QStringList{S(u"白日依山尽"), S(u"黄河入海流"), ""}));
    // Whatever follows the last CR LF is dropped.
    EXPECT_EQ(SplitLines(S(u"白日依山尽\r\n黄河入海流")), (QStringList{S(u"白日依山尽"), ""}));
    EXPECT_EQ(SplitLines(""), QStringList{""});
    EXPECT_EQ(SplitLines("abc"), QStringList{""});
    EXPECT_EQ(SplitLines("\r\n\r\n"), (QStringList{"", "", ""}));
    // Lone CR and LF do not cut; they vanish from their line.
    EXPECT_EQ(SplitLines("a\rb\nc\r\nd\n\r\n\re\r\r\n"), (QStringList{"abc", "d", "e", ""}));
}

TEST(NormaliseLine, StripSets)
{
    const QString line = S(u"明月几时有，把酒问青天。");
    EXPECT_EQ(NormaliseLine(line, StripSet::Full), S(u"明月几时有把酒问青天"));
    // Blanks, 、, ；, ：, quotes and ASCII . and ; go too; digits and letters stay.
    EXPECT_EQ(NormaliseLine(S(u"春眠 不觉晓"), StripSet::Full).size(), 5);
    EXPECT_EQ(NormaliseLine(S(u"春眠 不觉晓"), StripSet::Punctuation).size(), 5);
    EXPECT_EQ(NormaliseLine(S(u"君不见、黄河"), StripSet::Punctuation).size(), 5);
    EXPECT_EQ(NormaliseLine(S(u"a1.;；：“”　、"), StripSet::Full), S(u"a1"));
    // The old members of each set, and CR LF; bare marker words stay; the
    // rhyme pass drops "?" like the others.
    const QString all = S(u",，。！!?？)(）（韵读句叠\r\n");
    EXPECT_EQ(NormaliseLine(all, StripSet::Full), S(u"韵读句叠"));
    EXPECT_EQ(NormaliseLine(all, StripSet::Punctuation), S(u"韵读句叠"));
    EXPECT_EQ(NormaliseLine(all, StripSet::Rhyme), S(u"韵读句叠"));
}

TEST(NormaliseLine, MarkerWordsAreMarkersOnlyInsideBrackets)
{
    const struct {
        const char16_t *line;
        const char16_t *kept;   // under every set
    } cases[] = {
        {u"读书(韵)", u"读书"},
        {u"读罢泪沾襟", u"读罢泪沾襟"},
        {u"放新句吹入。", u"放新句吹入"},
        {u"(换平韵)（换仄韵）(读）（句)(叠)(逗)", u""},
        {u"春（韵）眠(逗)晓", u"春眠晓"},
        // Other words in brackets, and a bracket left open, lose only the
        // brackets (and the blank, as everywhere).
        {u"(月)", u"月"},
        {u"(韵 )", u"韵"},
        {u"花(韵", u"花韵"},
    };
    for (const auto &c : cases)
        for (StripSet set : {StripSet::Full, StripSet::Punctuation, StripSet::Rhyme})
            EXPECT_EQ(NormaliseLine(S(c.line), set), S(c.kept)) << int(set);
}

TEST(TrimBlanks, OnlyU0020)
{
    EXPECT_EQ(TrimBlanks(S(u"  a b \u3000 ")), S(u"a b \u3000"));
    EXPECT_EQ(TrimBlanks("\t a\r\n "), "\t a\r\n");
    EXPECT_EQ(TrimBlanks("   "), "");
}

// ---- comparison -------------------------------------------------------------------

TEST(ClassifyPosition, Table)
{
    const QString marks = S(u"○●※空");
    const struct {
        char16_t symbol;
        const char16_t *results;   // against ○ ● ※ 空
    } rows[] = {
        {u'○', u"★¤※¤"}, {u'●', u"¤★※¤"}, {u'△', u"★¤※¤"}, {u'▲', u"¤★※¤"},
        {u'◎', u"★★★★"}, {u'⊙', u"★★★★"}, {0, u"¤¤¤¤"}, {u'(', u"¤¤¤¤"},
        {u'x', u"¤¤¤¤"},
        // A pattern character equal to the mark itself is satisfied by it.
        {u'※', u"¤¤★¤"}, {u'空', u"¤¤¤★"},
    };
    for (const auto &row : rows) {
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(ClassifyPosition(QChar(row.symbol), marks.at(i)), QChar(row.results[i]))
                << QString(QChar(row.symbol)).toStdString() << " vs "
                << QString(marks.at(i)).toStdString();
        }
    }
}

TEST(ComparePattern, LineAgainstLine)
{
    EXPECT_EQ(ComparePattern(S(u"○○●※空"), S(u"○●◎▲○\r\n")), S(u"\r\n"));
    EXPECT_EQ(ComparePattern(S(u"○○●※空\r\n"), S(u"○●◎▲○\r\n")), S(u"★¤★※¤\r\n\r\n"));
    EXPECT_EQ(ComparePattern(S(u"●●\r\n"), S(u"△▲\r\n")), S(u"¤★\r\n\r\n"));
    // Too long a poem line, too long a pattern line, a missing pattern line.
    EXPECT_EQ(ComparePattern(S(u"○○○○\r\n○○\r\n●●\r\n"), S(u"○○\r\n○○○○\r\n")),
              S(u"★★¤¤\r\n★★\r\n¤¤\r\n\r\n"));
    // A marker in the pattern takes positions like any character.
    EXPECT_EQ(ComparePattern(S(u"○●○\r\n"), S(u"○●(韵)\r\n")), S(u"★★¤\r\n\r\n"));
}

// ---- the conformance check ----------------------------------------------------------

TEST(ConformanceCheck, MarksAndComparesWithTitleAndTune)
{
    int calls = 0;
    ComposeTexts f = Form(S(u"  白日依山尽，\r\n黄河入海流。  "));
    f.text4 = S(u"登鹳雀楼");
    f.label1 = S(u"五绝");
    f.text5 = S(u" ◎●○○●\r\n○○●●◎\r\n\r\n ");
    f.text6 = "old";
    f.text8 = "old";
    ASSERT_TRUE(RunConformanceCheck(f, FixtureLoader(&calls)));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(f.text2, S(u"白日依山尽，\r\n黄河入海流。"));
    EXPECT_EQ(f.text5, S(u"◎●○○●\r\n○○●●◎\r\n\r\n"));
    EXPECT_EQ(f.text6, S(u"○●○○●\r\n○○●●○\r\n\r\n\r\n"));
    EXPECT_EQ(f.text8, S(u"★★★★★\r\n★★★★★\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(f.label2, kToneLegend);
    EXPECT_EQ(f.label3, kCompareHeading);

    // A second run gives the same boxes: they are rebuilt, not appended to.
    const ComposeTexts before = f;
    ASSERT_TRUE(RunConformanceCheck(f, FixtureLoader()));
    EXPECT_EQ(f.text6, before.text6);
    EXPECT_EQ(f.text8, before.text8);
}

TEST(ConformanceCheck, PoemAgainstShorterPattern)
{
    // One line more than the pattern, a line with two characters too many,
    // an unknown character, a character with both readings.
    ComposeTexts f = Form(S(u"白日依山尽看海\r\n黄x河\r\n谁知"));
    f.text4 = "t";
    f.label1 = "n";
    f.text5 = S(u"○●○○●\r\n○○●●○\r\n");
    ASSERT_TRUE(RunConformanceCheck(f, FixtureLoader()));
    EXPECT_EQ(f.text6, S(u"○●○○●※●\r\n○空○\r\n○○\r\n\r\n\r\n"));
    EXPECT_EQ(f.text8, S(u"★★★★★¤¤\r\n★¤¤\r\n¤¤\r\n\r\n\r\n\r\n"));
}

TEST(ConformanceCheck, StripSetFollowsTheRhymeSystem)
{
    // Under both systems a bare 韵 读 句 叠 is a character of the poem and a
    // bracketed marker is no position; the legend is the same.
    for (const QString &system : {kPingshui, kNewRhyme}) {
        ComposeTexts f = Form(S(u"白韵日读依句山叠尽?(韵)"), system);
        ASSERT_TRUE(RunConformanceCheck(f, FixtureLoader()));
        EXPECT_EQ(f.text6, S(u"○空●●○空○空●\r\n\r\n\r\n"));
        EXPECT_EQ(f.label2, kToneLegend);
    }
}

TEST(ConformanceCheck, CharacterOutsideTheBmpIsOnePosition)
{
    ComposeTexts f = Form(S(u"𠀀龘山，\r\n读"));
    f.text4 = "t";
    f.label1 = "n";
    f.text5 = S(u"○●○\r\n𠀀\r\n");
    ASSERT_TRUE(RunConformanceCheck(f, FixtureLoader()));
    EXPECT_EQ(f.text6, S(u"○●○\r\n●\r\n\r\n\r\n"));
    // A pattern character outside the BMP is one position as well.
    EXPECT_EQ(f.text8, S(u"★★★\r\n¤\r\n\r\n\r\n\r\n"));
    EXPECT_EQ(ComparePattern(S(u"○○\r\n"), S(u"𠀀○\r\n")), S(u"¤★\r\n\r\n"));

    ASSERT_TRUE(RunAnnotation(f, FixtureLoader()));
    EXPECT_EQ(f.text6, S(u"○●○\r\n●\r\n\r\n\r\n"));
    EXPECT_EQ(f.text8, S(u"麻波寒\r\n空\r\n\r\n\r\n"));
}

TEST(ConformanceCheck, LastRowWithKnownCodeDecides)
{
    ComposeTexts f = Form(S(u"重思长"));
    ASSERT_TRUE(RunConformanceCheck(f, FixtureLoader()));
    EXPECT_EQ(f.text6, S(u"●●※\r\n\r\n\r\n"));
}

TEST(ConformanceCheck, GateAndHeadings)
{
    // Empty poem with a tune and a title.
    ComposeTexts f = Form("");
    f.text4 = "t";
    f.label1 = "n";
    ASSERT_TRUE(RunConformanceCheck(f, FixtureLoader()));
    EXPECT_EQ(f.text6, "\r\n\r\n\r\n");
    EXPECT_EQ(f.text8, "\r\n\r\n\r\n\r\n");
    EXPECT_EQ(f.label3, kCompareHeading);

    // A tune but no title: marks only, the interim heading stays.
    f = Form(S(u"白日"));
    f.label1 = "n";
    f.text8 = "old";
    ASSERT_TRUE(RunConformanceCheck(f, FixtureLoader()));
    EXPECT_EQ(f.text6, S(u"○●\r\n\r\n\r\n"));
    EXPECT_EQ(f.text8, "");
    EXPECT_EQ(f.label3, kRhymeHeading);

    // A title but no tune: the heading is emptied.
    f = Form(S(u"白日"));
    f.text4 = "t";
    f.label3 = "x";
    ASSERT_TRUE(RunConformanceCheck(f, FixtureLoader()));
    EXPECT_EQ(f.text8, "");
    EXPECT_EQ(f.label3, "");
}

TEST(ConformanceCheck, FailedLoadStopsAfterTidying)
{
    ComposeTexts f = Form(S(u" 白日 "));
    f.text5 = " p ";
    f.text6 = " six ";
    f.text8 = " eight ";
    f.label2 = "L2";
    f.label3 = "L3";
    EXPECT_FALSE(RunConformanceCheck(f, kFailingLoader));
    EXPECT_EQ(f.text2, S(u"白日"));
    EXPECT_EQ(f.text5, "p");
    EXPECT_EQ(f.text6, "six");
    EXPECT_EQ(f.text8, "eight");
    EXPECT_EQ(f.label2, "L2");
    EXPECT_EQ(f.label3, "L3");
}

// ---- the annotation ------------------------------------------------------------------

TEST(Annotation, TonesAndGroups)
{
    ComposeTexts f = Form(S(u"白日依山尽，\r\n黄河入海流。\r\n"));
    f.text4 = "t";
    f.label1 = "n";
    f.text5 = S(u"●●●●●\r\n");
    ASSERT_TRUE(RunAnnotation(f, FixtureLoader()));
    EXPECT_EQ(f.text2, S(u"白日依山尽，\r\n黄河入海流。\r\n"));
    EXPECT_EQ(f.text6, S(u"○●○○●\r\n○○●●○\r\n\r\n\r\n"));
    EXPECT_EQ(f.text8, S(u"开支齐寒文\r\n唐波姑开尤\r\n\r\n\r\n"));
    EXPECT_EQ(f.label2, kToneLegend);
    EXPECT_EQ(f.label3, kRhymeHeading);

    // Without the final line break the last line counts all the same, as
    // it does in the conformance check.
    const QString withBreak = f.text6;
    f.text2 = S(u"白日依山尽，\r\n黄河入海流。");
    ASSERT_TRUE(RunAnnotation(f, FixtureLoader()));
    EXPECT_EQ(f.text6, withBreak);
    EXPECT_EQ(f.text8, S(u"开支齐寒文\r\n唐波姑开尤\r\n\r\n\r\n"));
    ASSERT_TRUE(RunConformanceCheck(f, FixtureLoader()));
    EXPECT_EQ(f.text6, withBreak);

    f.text2 = "";
    ASSERT_TRUE(RunAnnotation(f, FixtureLoader()));
    EXPECT_EQ(f.text6, "\r\n\r\n");
    EXPECT_EQ(f.text8, "\r\n\r\n");
}

TEST(Annotation, PassesStripAlike)
{
    // "?" and blanks, at the start of any line, get neither a mark nor a
    // name slot; 叠 is a character in both passes.
    ComposeTexts f = Form(S(u"  谁知?叠\r\n 白\r\n"), kPingshui);
    ASSERT_TRUE(RunAnnotation(f, FixtureLoader()));
    EXPECT_EQ(f.text6, S(u"○○空\r\n○\r\n\r\n\r\n"));
    EXPECT_EQ(f.text8, S(u"缁文空\r\n支\r\n\r\n\r\n"));
    EXPECT_EQ(f.label2, kToneLegend);
}

TEST(Annotation, GroupNamesPerSystem)
{
    ComposeTexts f = Form(S(u"看入海思\r\n"), kPingshui);
    ASSERT_TRUE(RunAnnotation(f, FixtureLoader()));
    // 平水韵: 24 筐, 14 元, 4 支; 思's last row (99) is still a named group.
    EXPECT_EQ(f.text8, S(u"筐元支黠\r\n\r\n\r\n"));
    f.command2 = kNewRhyme;
    ASSERT_TRUE(RunAnnotation(f, FixtureLoader()));
    // 中华新韵: 24 and 99 have no name; 思 falls back to its earlier row (13).
    EXPECT_EQ(f.text8, S(u"空姑开支\r\n\r\n\r\n"));
    EXPECT_EQ(f.text6, S(u"※●●●\r\n\r\n\r\n"));
}

TEST(Annotation, FailedLoadChangesNothing)
{
    ComposeTexts f = Form(S(u" 白日 "));
    f.text6 = " six ";
    f.text8 = " eight ";
    f.label2 = "L2";
    f.label3 = "L3";
    const ComposeTexts before = f;
    EXPECT_FALSE(RunAnnotation(f, kFailingLoader));
    EXPECT_EQ(f.text2, before.text2);
    EXPECT_EQ(f.text6, before.text6);
    EXPECT_EQ(f.text8, before.text8);
    EXPECT_EQ(f.label2, before.label2);
    EXPECT_EQ(f.label3, before.label3);
}

// ---- layouts and stored forms ----------------------------------------------------------

TEST(Layouts, PatternDisplayForm)
{
    EXPECT_EQ(PatternDisplayForm("A-B-"), "A\r\nB\r\n\r\n");
    EXPECT_EQ(PatternDisplayForm("A-B"), "A\r\n\r\n");
    EXPECT_EQ(PatternDisplayForm(""), "\r\n");
    EXPECT_EQ(PatternDisplayForm("--"), "\r\n\r\n\r\n");
    // The rest is trimmed after every piece; the first piece keeps its blanks.
    EXPECT_EQ(PatternDisplayForm(" A -  B - C"), " A \r\nB \r\n\r\n");
}

TEST(Layouts, ExplanationDisplayForm)
{
    EXPECT_EQ(ExplanationDisplayForm("X-Y"), "X\r\n");
    EXPECT_EQ(ExplanationDisplayForm("X-Y-"), "X\r\nY\r\n");
    EXPECT_EQ(ExplanationDisplayForm(""), "");
    EXPECT_EQ(ExplanationDisplayForm("no dash"), "");
    // Line-break pairs inside a piece go; lone ones stay. LF CR pairs are
    // removed before CR LF pairs.
    EXPECT_EQ(ExplanationDisplayForm("a\r\nb\n\rc\nd-  e\r\n\r\n- f"), "abc\nd\r\ne\r\n");
    EXPECT_EQ(ExplanationDisplayForm("\r\n\r\n\r-"), "\r\r\n");
}

TEST(Layouts, PoemDisplayFormAndStoredForms)
{
    EXPECT_EQ(PoemDisplayForm("A|B|"), "A\r\nB\r\n\r\n");
    EXPECT_EQ(PoemDisplayForm("A|B"), "A\r\nB\r\n");
    EXPECT_EQ(PoemDisplayForm(""), "\r\n");
    EXPECT_EQ(PoemDisplayForm(" A|  B||C"), " A\r\nB\r\n\r\nC\r\n");

    EXPECT_EQ(StoredPoem("A\r\nB\r\n"), "A|B|");
    EXPECT_EQ(StoredPoem("A\r\nB"), "A|B");
    EXPECT_EQ(StoredPoem(" A\r\n\r\nB\n "), "A||B\n");
    EXPECT_EQ(StoredPattern("P\r\nQ\r\n"), "P-Q-");
    EXPECT_EQ(StoredPattern(" P\rQ\r\n "), "P\rQ-");

    // A work put back shows the poem as saved, plus a final empty line where
    // the saved poem ended without one.
    for (const QString &poem : {QString("A\r\nB\r\n"), QString("A\r\n\r\nB\r\n")})
        EXPECT_EQ(PoemDisplayForm(StoredPoem(poem)), poem + "\r\n");
    EXPECT_EQ(PoemDisplayForm(StoredPoem("A\r\nB")), "A\r\nB\r\n");
    // A pattern picked from a book survives saving: its stored form lays
    // out again with the same lines.
    const QString shown = PatternDisplayForm(S(u"○●-◎○-"));
    EXPECT_EQ(SplitLines(PatternDisplayForm(StoredPattern(shown))).mid(0, 2),
              SplitLines(shown).mid(0, 2));
    // No pattern (a work saved without a tune, put back and saved again)
    // stays no pattern, however often it goes round.
    for (const QString &box : {QString(""), QString("\r\n"), QString(" \r\n \r\n")})
        EXPECT_EQ(StoredPattern(box), "") << box.toStdString();
    EXPECT_EQ(StoredPattern(PatternDisplayForm(StoredPattern(PatternDisplayForm("")))), "");
}
