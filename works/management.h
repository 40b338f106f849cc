// SPDX-License-Identifier: GPL-3.0-or-later
// The data side of the works management window: changing a work, and
// copying it into the poetry library. No widgets.
#pragma once

#include <QString>

#include "gateway.h"

namespace versilo {

class Recordset;

// The number at the start of a text, as the year of an author is read
// from the time of writing: blanks skipped, an optional sign, digits and
// an optional decimal part ("2008年春" gives 2008, "-300" gives -300); 0
// when the text starts with no number.
double LeadingNumber(const QString &text);

// The window's fields as typed; the poem with CR LF line breaks.
struct WorkFields {
    QString title;
    QString author;
    QString time;
    QString poem;
    bool operator==(const WorkFields &) const = default;
};

// Writes the fields over the work `id`: 篇名, 作者 and 时间 trimmed of
// blanks, 正文 in its stored form; 格律, 词牌名 and 词谱名 stay. On success
// `row` (which holds the work as read) takes the new values. False with
// *error when nothing was written (no such work, or the write failed).
bool ChangeWork(Recordset &rs, qint64 id, const WorkFields &fields, WorkRow &row, QString *error);

struct LibraryAdd {
    bool authorAdded = false;   // a new row of 作者
    bool poemAdded = false;     // a new row of 诗词库
    QString error;              // why a step failed; empty when none did
};

// Copies the work into the poetry library: the author, when there is one
// (not blanks only) and 作者 has no row of that name, with 朝代 "---", 年代
// from the start of the time and the initials of the name; then the poem
// (正文 as typed, CR LF kept) with the initials of its title. A failing
// author step does not keep the poem out.
LibraryAdd AddToLibrary(Recordset &rs, const WorkFields &fields);

}  // namespace versilo
