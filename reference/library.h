// SPDX-License-Identifier: GPL-3.0-or-later
// The poetry library's rules that need no window: the selection mark, the
// author line, the search pattern and the scrolling of its two lists.
#pragma once

#include <QString>

#include "listscroll.h"

namespace versilo {

// The chosen title or author carries this mark as its first character.
inline const QString kSelectionMark = QStringLiteral("●");

// The text without any selection mark.
QString Unmarked(const QString &text);
// The text with exactly one selection mark, in front.
QString Marked(const QString &text);

// 朝代 + "(公元" + 年代 + "年)".
QString AuthorLifeLine(const QString &dynasty, double year);

// The `like` pattern of a search by pinyin initials: the letters anywhere in
// `拼音` (no letters: every row).
QString InitialsPattern(const QString &letters);

// Both lists show this many names.
inline constexpr int kListLabels = 21;

// The scrolling of the poem list and of the author list (twips): arrows that
// step one name until the last name is in view, drag bounds and the list
// start a dragged thumb stands for.
ScrollRules PoemScrollRules();
ScrollRules AuthorScrollRules();

// The thumb tops the lists are reset to.
inline constexpr double kPoemThumbLoadTop = 1200;      // as the window opens
inline constexpr double kPoemThumbRefreshTop = 1245;   // after 刷新
inline constexpr double kThumbResetTop = 1260;         // every other reload, both lists

// A poem of at most one character is shown on a label instead of the box.
bool ShownOnLabel(const QString &poem);

}  // namespace versilo
