// SPDX-License-Identifier: GPL-3.0-or-later
// The two pattern books: their names (which are also their table names) and
// the lookup of one tune by name.
#pragma once

#include <QString>

#include "gateway.h"

namespace versilo {

inline const QString kCommonBook = QStringLiteral("常用词谱");
inline const QString kBaixiangBook = QStringLiteral("白香词谱");

// True for the two book names. A book name is spliced into SQL as a table
// name, so nothing else may reach a query.
bool IsPatternBook(const QString &name);

// The first tune named `tuneName` in `book`, read through `rs` with
// "select *from " + book + " where 篇名=?" and closed again. False when the
// book is not a pattern book, the query fails (*error says why) or no tune
// has that name (*error stays empty).
bool FindTune(Recordset &rs, const QString &book, const QString &tuneName, TuneRow &out,
              QString *error = nullptr);

}  // namespace versilo
