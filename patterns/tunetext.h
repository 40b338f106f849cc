// A stored tune text laid out for the edit boxes of the pattern management
// window. Pure, no widgets.
#pragma once

#include <QString>

namespace versilo {

// `格律` or `正文` of a pattern book as the edit boxes show it: every
// "-"-terminated piece, trimmed of blanks, a line, and then what follows the
// last "-" as one more line (so a text that ends with "-" shows an empty
// last line). Storing the box again is StoredPattern (CR LF -> "-", trimmed).
QString TuneEditForm(const QString &stored);

}  // namespace versilo
