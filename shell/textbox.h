// SPDX-License-Identifier: GPL-3.0-or-later
// Text boxes speak CR LF: inside a QPlainTextEdit a line break is a block
// separator, everywhere else in the program it is CR LF. These helpers are
// the only way the program reads or writes a box.
#pragma once

#include <QString>

class QPlainTextEdit;
class QLineEdit;

namespace versilo {

// The box's text with CR LF between its lines (soft breaks count as lines).
QString BoxText(const QPlainTextEdit *box);
// Fills the box; every CR LF (and a lone CR or LF) becomes a line break.
// Leaves the box alone when it already holds the text.
void SetBoxText(QPlainTextEdit *box, const QString &text);

QString BoxText(const QLineEdit *box);
void SetBoxText(QLineEdit *box, const QString &text);

// While the box still shows `initial`, getting the focus (by the keyboard
// or by a click) selects all of it, so that typing replaces it.
void SelectWhileInitial(QLineEdit *box, const QString &initial);

}  // namespace versilo
