// SPDX-License-Identifier: GPL-3.0-or-later
// A stored tune text (`格律` or `正文` of a pattern book) and the forms
// the windows show it in. Pure, no widgets.
#pragma once

#include <QString>

namespace versilo {

// The edit box of the pattern management window: every "-" a line break.
// Storing the box (StoredTuneText: CR LF -> "-", trimmed of blanks) gives the
// stored text back unchanged, so a tune opened and changed with nothing
// typed stays as it was.
QString TuneEditForm(const QString &stored);

// The box of pattern management stored: CR LF -> "-", trimmed of blanks.
QString StoredTuneText(const QString &box);

// The stored text with its last line ended by "-" as every other line is:
// a last line typed without a Return after it is shown in the composition
// window like the lines before it. A text that ends with "-" (or whose rest
// after the last "-" is blank) is returned as it is.
QString TerminatedTuneText(const QString &stored);

}  // namespace versilo
