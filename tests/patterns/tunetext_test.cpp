// SPDX-License-Identifier: GPL-3.0-or-later
// A stored tune text, the edit box of pattern management and what the
// pattern browser hands to the composition window.
#include "prosody.h"
#include "tunetext.h"
#include "ui_support.h"

#include <gtest/gtest.h>

namespace versilo {
namespace {

TEST(TuneText, EditBoxAndStoredFormAreExactInverses)
{
    const struct {
        const char16_t *stored;
        const char16_t *shown;
    } cases[] = {
        {u"○●-●○-", u"○●\r\n●○\r\n"},     // every line ended by "-"
        {u"○●-●○", u"○●\r\n●○"},           // a last line typed without a Return
        {u"", u""},
        {u"甲 - 乙 -丙", u"甲 \r\n 乙 \r\n丙"},   // blanks inside stay where they were
        {u"--", u"\r\n\r\n"},
    };
    for (const auto &c : cases) {
        const QString stored = QString::fromUtf16(c.stored);
        EXPECT_EQ(TuneEditForm(stored), QString::fromUtf16(c.shown)) << stored.toStdString();
        // Stored again with nothing typed: the same text, however often.
        QString again = stored;
        for (int i = 0; i < 3; ++i)
            again = StoredTuneText(TuneEditForm(again));
        EXPECT_EQ(again, stored) << stored.toStdString();
    }
}

TEST(TuneText, TheLastLineIsEndedForTheBrowser)
{
    const struct {
        const char16_t *stored;
        const char16_t *terminated;
        const char16_t *display;   // Form1.Text5
    } cases[] = {
        {u"A-B-", u"A-B-", u"A\r\nB\r\n\r\n"},   // old rows open as they always did
        {u"A-B", u"A-B-", u"A\r\nB\r\n\r\n"},
        {u"A", u"A-", u"A\r\n\r\n"},
        {u"A- ", u"A- ", u"A\r\n\r\n"},
        {u"", u"", u"\r\n"},
    };
    for (const auto &c : cases) {
        const QString terminated = TerminatedTuneText(QString::fromUtf16(c.stored));
        EXPECT_EQ(terminated, QString::fromUtf16(c.terminated));
        EXPECT_EQ(PatternDisplayForm(terminated), QString::fromUtf16(c.display));
    }
}

}  // namespace
}  // namespace versilo
