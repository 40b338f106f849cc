// The edit layout of a stored tune text in the pattern management window.
#include "prosody.h"
#include "tunetext.h"
#include "ui_support.h"

#include <gtest/gtest.h>

namespace versilo {
namespace {

TEST(TuneEditForm, EveryPieceALineAndTheRestOneMore)
{
    const struct {
        const char16_t *stored;
        const char16_t *shown;
    } cases[] = {
        {u"○●-●○-", u"○●\r\n●○\r\n\r\n"},            // ends with "-": an empty last line
        {u"○●-●○", u"○●\r\n●○\r\n"},                  // the rest after the last "-" shows too
        {u"", u"\r\n"},
        {u"  甲 - 乙 -丙  ", u"甲\r\n乙\r\n丙\r\n"},   // pieces trimmed of blanks
        {u"--", u"\r\n\r\n\r\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TuneEditForm(QString::fromUtf16(c.stored)), QString::fromUtf16(c.shown))
            << QString::fromUtf16(c.stored).toStdString();
}

TEST(TuneEditForm, StoringTheBoxUnchangedAddsOneDash)
{
    const QString shown = TuneEditForm(QStringLiteral("○●-●○-"));
    EXPECT_EQ(StoredPattern(shown), QStringLiteral("○●-●○--"));
}

}  // namespace
}  // namespace versilo
