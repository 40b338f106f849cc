// SPDX-License-Identifier: GPL-3.0-or-later
#include "patternbooks.h"

#include "datastore.h"

namespace versilo {

bool IsPatternBook(const QString &name)
{
    return name == kCommonBook || name == kBaixiangBook;
}

bool FindTune(Recordset &rs, const QString &book, const QString &tuneName, TuneRow &out,
              QString *error)
{
    out = {};
    if (!IsPatternBook(book)) {
        if (error)
            *error = QStringLiteral("“%1”不是词谱。").arg(book);
        return false;
    }
    QString why;
    const bool found = ReadFirst(rs, QStringLiteral("select *from ") + book + QStringLiteral(" where 篇名=?"),
                                 {tuneName}, out, &why);
    if (error)
        *error = why;
    return found;
}

}  // namespace versilo
