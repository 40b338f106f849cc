// SPDX-License-Identifier: GPL-3.0-or-later
// The prosody engine: pattern notation, line handling, the conformance check
// ("判断正误") and the tone and rhyme annotation ("判断平仄韵调").
//
// Everything here is pure: the window copies its controls into ComposeTexts,
// calls a run, and writes the texts back. Lines in a text box are separated
// by CR LF. A position in a line is one character, that is one code point:
// a character outside the BMP (𠀀) is one position and one mark.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <functional>

#include "rhymedict.h"

namespace versilo {

// ---- notation -------------------------------------------------------------

inline const QString kCrLf = QStringLiteral("\r\n");

// Legends and headings shown above the result columns.
inline const QString kToneLegend = QStringLiteral("○：平韵  ●：仄韵    ※：平仄两读");
inline const QString kResultLegendPingshui = QStringLiteral("★：正确   ¤：错误    ※：平仄两读");
inline const QString kCompareHeading = QStringLiteral("★：正确  ¤：错误  ※：平仄两读具体分析");
inline const QString kRhymeHeading = QStringLiteral("判断韵调");
inline const QString kUnknownMark = QStringLiteral("空");

// What NormaliseLine removes from a poem line. Every set removes a bracketed
// marker as a whole: (韵) (换平韵) (换仄韵) (读) (句) (叠) (逗), in ASCII or
// full-width brackets. A bare 韵 读 句 叠 is a poem character (读罢泪沾襟 has
// five positions) and is looked up like any other. Every set then removes
// all punctuation (Unicode P*: ， 。 、 ； ： “ ” 《 》 — … · ? …) and all
// blanks (space, U+3000, tab, any Unicode blank), so a line is read as the
// poet typed it; letters, digits and symbols stay and are marked 空 when the
// dictionary lacks them. The sets are kept apart for the callers that name
// the pass they run.
enum class StripSet {
    Full,          // the conformance check under 平水韵, the tone pass
    Punctuation,   // the conformance check under 中华新韵
    Rhyme,         // the rhyme pass
};

// Leading and trailing U+0020 removed, nothing else.
QString TrimBlanks(const QString &text);

// Cuts at CR LF pairs; n pairs give n + 1 lines, the last always empty.
// Whatever follows the last CR LF is dropped; lone CR and LF are removed.
QStringList SplitLines(const QString &text);

// The line without its bracketed markers, punctuation and blanks (CR and LF
// among them).
QString NormaliseLine(const QString &line, StripSet set);

// One ResultMark for a pattern symbol (null QChar, or 0: no symbol at this
// position) and a ToneMark.
QChar ClassifyPosition(QChar symbol, QChar mark);
QChar ClassifyPosition(char32_t symbol, char32_t mark);

// ---- stored and display forms --------------------------------------------

// `格律` of a pattern book as Form1.Text5 shows it: every "-"-terminated piece
// a line, then one more CR LF; text after the last "-" is not shown.
QString PatternDisplayForm(const QString &stored);
// `正文` of a pattern book as Form1.Text3 shows it, one piece a line.
QString ExplanationDisplayForm(const QString &stored);
// `正文` of a work as Form1.Text2 shows it: every "|"-separated piece a line.
QString PoemDisplayForm(const QString &stored);
// Text2 -> `正文` of 作品: CR LF -> "|", trimmed of blanks.
QString StoredPoem(const QString &text2);
// `正文` of 作品 -> Text2, the exact inverse of StoredPoem: "|" -> CR LF,
// nothing added, so a work opened and saved unchanged stays the same.
QString PoemFromStored(const QString &stored);
// Text5 -> `格律`: CR LF -> "-", trimmed of blanks; a box of nothing but
// empty lines (the display form of no pattern) stores as empty.
QString StoredPattern(const QString &text5);

// ---- the checks -------------------------------------------------------------

// The texts of the composition window a check reads and writes.
struct ComposeTexts {
    QString text2;      // poem
    QString text4;      // title
    QString text5;      // pattern, display form
    QString text6;      // tone column
    QString text8;      // result / rhyme column
    QString label1;     // tune name
    QString label2;     // legend above Text6
    QString label3;     // heading above Text8
    QString command2;   // rhyme system: "中华新韵" or "平水韵"
};

// Appends, for every line of SplitLines(poem) and then one more empty line,
// the ToneMarks of the line's kept characters ("空" where nothing resolves)
// and CR LF. With trimFirstLineStart the blanks at the start of the first
// line are removed before stripping.
QString MarkTones(const RhymeDictionary &dict, const QString &poem, StripSet set,
                  bool trimFirstLineStart = false);
// The result lines of Text8: mark line i of text6 against pattern line i of text5.
QString ComparePattern(const QString &text6, const QString &text5);
// The rhyme-group names of the poem's kept characters (RhymeStripSet).
QString NameRhymes(const RhymeDictionary &dict, const QString &poem);

// Loads the dictionary of a rhyme system; false when it cannot be read.
using DictionaryLoader = std::function<bool(const QString &system, RhymeDictionary &out)>;

// "判断正误". False when the dictionary could not be loaded: the run stopped
// after tidying the boxes (Text2, Text5, Text6, Text8 trimmed of blanks);
// the result columns and captions are otherwise as they were.
bool RunConformanceCheck(ComposeTexts &form, const DictionaryLoader &load);
// "判断平仄韵调". A last line without a line break after it is annotated like
// every other line. False when the dictionary could not be loaded: nothing
// changed.
bool RunAnnotation(ComposeTexts &form, const DictionaryLoader &load);

// The same runs on a dictionary already loaded for form.command2, so that
// many poems share one load.
void RunConformanceCheckWith(ComposeTexts &form, const RhymeDictionary &dict);
void RunAnnotationWith(ComposeTexts &form, const RhymeDictionary &dict);

}  // namespace versilo
