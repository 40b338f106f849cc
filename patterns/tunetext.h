// The texts of the pattern management window: a stored tune text laid out
// one piece a line for editing, and the list position a thumb top stands for.
// Pure functions, no widgets.
#pragma once

#include <QString>

namespace versilo {

// `格律` or `正文` of a pattern book as the edit boxes show it: every
// "-"-terminated piece, trimmed of blanks, a line, and then what follows the
// last "-" as one more line (so a text that ends with "-" shows an empty
// last line). Storing the box again is StoredPattern (CR LF -> "-", trimmed).
QString TuneEditForm(const QString &stored);

// The tune list of the pattern management window: 20 names beside a thumb
// whose top runs from 1665 to 7945 twips. Dragging maps 5600 twips to the
// whole book, so the lowest part of the track shows empty labels.
namespace tunelist {
constexpr int kLabels = 20;
constexpr int kThumbTop = 1665;
constexpr int kThumbLowest = kThumbTop + 6280;
constexpr int kBookSpan = 5600;

// The list start shown while the thumb's top stands at `top`.
int StartForThumb(int top, int count);
// Where the thumb stands for a list start (the first top that maps to it).
int ThumbForStart(int start, int count);
// The list start after one step of an arrow (down: +1, up: -1). Up stops at
// the first name, down once the last name is on the last label.
int ArrowStep(int start, int count, int direction);
}  // namespace tunelist

}  // namespace versilo
