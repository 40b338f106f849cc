// The pattern management window's pure parts: the edit layout of a stored
// tune text and the thumb of its list.
#include "prosody.h"
#include "tunetext.h"

#include <gtest/gtest.h>

namespace versilo {
void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << QString(s).replace("\r", "\\r").replace("\n", "\\n").toStdString() << '"';
}
}  // namespace versilo

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

TEST(TuneListThumb, DragMapsFiveThousandSixHundredTwipsToTheBook)
{
    using namespace tunelist;
    const struct {
        int top, count, start;
    } cases[] = {
        {1665, 100, 0},   {1000, 100, 0},   {1721, 100, 1},   {1720, 100, 0},
        {7265, 100, 100}, {7945, 100, 112}, {9000, 100, 112},   // past the end: empty labels
        {5000, 0, 0},     {7945, 1, 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StartForThumb(c.top, c.count), c.start) << c.top << " " << c.count;
    // The thumb stands where the drag would show the same start.
    for (int count : {1, 7, 20, 64, 100, 999})
        for (int start = 0; start <= count; ++start)
            ASSERT_EQ(StartForThumb(ThumbForStart(start, count), count), start) << start << "/" << count;
    EXPECT_EQ(ThumbForStart(3, 0), kThumbTop);
}

TEST(TuneListThumb, ArrowsReachTheLastNameAndStopThere)
{
    using namespace tunelist;
    const struct {
        int start, count, direction, next;
    } cases[] = {
        {0, 100, -1, 0}, {5, 100, -1, 4}, {0, 100, +1, 1}, {79, 100, +1, 80},
        {80, 100, +1, 80},   // names 80..99 fill the 20 labels
        {0, 20, +1, 0},  {0, 0, +1, 0},   {112, 100, +1, 112}, {112, 100, -1, 111},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ArrowStep(c.start, c.count, c.direction), c.next)
            << c.start << " " << c.count << " " << c.direction;
}

}  // namespace
}  // namespace versilo
