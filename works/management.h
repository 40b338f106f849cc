// The data side of the works management window: changing and deleting a
// work, and copying it into the poetry library. No widgets.
#pragma once

#include <QString>

namespace versilo {

// The number at the start of a text, as the year of an author is read
// from the time of writing: blanks skipped, an optional sign, digits and
// an optional decimal part ("2008年春" gives 2008, "-300" gives -300); 0
// when the text starts with no number.
double LeadingNumber(const QString &text);

}  // namespace versilo
