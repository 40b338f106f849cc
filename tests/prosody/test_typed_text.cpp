// SPDX-License-Identifier: GPL-3.0-or-later
// A poem line read as a poet types it: punctuation of any kind and blanks of
// any width take no position, in both checks and under both rhyme systems;
// letters, digits and symbols stay and are marked 空.
#include "diagnostics.h"
#include "prosody.h"

#include <gtest/gtest.h>

using namespace versilo;

namespace {

QString S(const char16_t *s) { return QString::fromUtf16(s); }

RhymeDictionary Dictionary(const QString &system)
{
    RhymeDictionary dict(system);
    const struct {
        const char16_t *hanzi;
        const char *tone;
        const char *group;
    } rows[] = {
        {u"寂", "1", "1"}, {u"寞", "1", "2"}, {u"梧", "0", "3"}, {u"桐", "0", "4"},
        {u"深", "0", "5"}, {u"院", "1", "6"}, {u"锁", "1", "7"}, {u"清", "0", "8"},
        {u"秋", "0", "9"}, {u"看", "2", "10"}, {u"读", "1", "11"}, {u"𠀀", "0", "12"},
    };
    qint64 id = 1;
    for (const auto &r : rows) {
        DictionaryRow row;
        row.id = id++;
        row.hanzi = S(r.hanzi);
        row.tone = QString::fromLatin1(r.tone);
        row.group = QString::fromLatin1(r.group);
        dict.Append(row);
    }
    return dict;
}

bool Load(const QString &system, RhymeDictionary &out)
{
    out = Dictionary(system);
    return true;
}

QString FirstLine(const QString &column) { return column.left(column.indexOf(QStringLiteral("\r\n"))); }

TEST(TypedText, PunctuationAndBlanksTakeNoPosition)
{
    const struct {
        const char16_t *typed;
        const char16_t *marks;   // the tone column, both checks, both systems
    } cases[] = {
        // 白香词谱 prints 相见欢 with a 、 inside the line.
        {u"寂寞梧桐、深院锁清秋。", u"●●○○○●●○○"},
        {u"寂寞；梧桐：深院", u"●●○○○●"},
        {u"“寂寞”‘梧桐’《深院》〈锁〉「清」『秋』【看】", u"●●○○○●●○○※"},
        {u"寂寞——梧桐……深院—锁", u"●●○○○●●"},
        {u"寂·寞・梧‧桐", u"●●○○"},
        {u"寂 寞\u3000梧\t桐\u00a0深", u"●●○○○"},
        {u"寂寞!?;:'\".梧桐,-*", u"●●○○"},
        {u"﹐寂﹔寞﹖〔梧〕", u"●●○"},
        // Letters, digits and symbols stay, so a slip shows.
        {u"寂a寞1梧～桐+", u"●空●空○空○空"},
        // A bracketed marker goes as before; a bare marker word is a character.
        {u"读(韵)看（叠）", u"●※"},
        // A character beyond the BMP keeps its single position.
        {u"𠀀、看", u"○※"},
        {u"。，、", u""},
    };
    for (const auto &c : cases) {
        const QString typed = S(c.typed);
        const QString marks = S(c.marks);
        const std::string what = typed.toStdString();
        for (const QString &system : {kNewRhyme, kPingshui}) {
            ComposeTexts f;
            f.text2 = typed;
            f.command2 = system;
            f.text4 = QStringLiteral("t");
            f.label1 = QStringLiteral("n");
            // The pattern is the expected mark line itself: every position
            // is right only when no mark has moved.
            f.text5 = marks + QStringLiteral("\r\n");
            ASSERT_TRUE(RunConformanceCheck(f, Load));
            EXPECT_EQ(FirstLine(f.text6), marks) << what << " 判断正误 " << system.toStdString();
            EXPECT_EQ(FirstLine(f.text8), QString(marks.toUcs4().size(), u'★')) << what;

            ASSERT_TRUE(RunAnnotation(f, Load));
            EXPECT_EQ(FirstLine(f.text6), marks) << what << " 判断平仄韵调 " << system.toStdString();
            // The rhyme column names exactly the characters that got a mark.
            EXPECT_EQ(FirstLine(f.text8).toUcs4().size(), marks.toUcs4().size()) << what;
        }
        for (bool annotation : {false, true}) {
            for (const QString &system : {kNewRhyme, kPingshui}) {
                const QString kept = NormaliseLine(typed, RunStripSet(annotation, system));
                EXPECT_EQ(kept.toUcs4().size(), marks.toUcs4().size()) << what;
            }
        }
    }
}

// Blanks before the poem and a "?" once counted in the rhyme pass only, so
// the rhyme names slid against the tone marks; both columns now agree.
TEST(TypedText, BothColumnsOfTheAnnotationStayAligned)
{
    for (const QString &system : {kNewRhyme, kPingshui}) {
        ComposeTexts f;
        f.text2 = S(u"  寂寞?\r\n　梧 桐？\r\n");
        f.command2 = system;
        ASSERT_TRUE(RunAnnotation(f, Load));
        EXPECT_EQ(f.text6, S(u"●●\r\n○○\r\n\r\n\r\n"));
        EXPECT_EQ(f.text8.count(QStringLiteral("空")), 0) << f.text8.toStdString();
    }
}

// Under 平水韵 the conformance check heads the tone column with the legend
// of the marks it holds; the result column keeps its own heading.
TEST(TypedText, ToneLegendStandsOverToneMarks)
{
    for (const QString &system : {kNewRhyme, kPingshui}) {
        ComposeTexts f;
        f.text2 = S(u"寂寞梧桐");
        f.text4 = QStringLiteral("t");
        f.label1 = QStringLiteral("n");
        f.text5 = S(u"●●○○\r\n");
        f.command2 = system;
        ASSERT_TRUE(RunConformanceCheck(f, Load));
        EXPECT_EQ(f.label2, S(u"○：平韵  ●：仄韵    ※：平仄两读")) << system.toStdString();
        EXPECT_EQ(f.label3, S(u"★：正确  ¤：错误  ※：平仄两读具体分析"));
    }
}

}  // namespace
