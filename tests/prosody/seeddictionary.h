// SPDX-License-Identifier: GPL-3.0-or-later
// The rhyme dictionaries the program ships, for tests that judge real poems.
#pragma once

#include <QString>

#include "rhymedict.h"
#include "seed.h"

namespace versilo::testing {

// The dictionary of `system` as the seed in the source tree holds it; empty,
// with *error said, when the table cannot be read.
inline RhymeDictionary SeedDictionary(const QString &system, QString *error = nullptr)
{
    RhymeDictionary dict(system);
    seed::SeedTable table;
    QString why;
    if (!seed::ReadSeedTable(QStringLiteral(VERSILO_SOURCE_DIR "/data/seed"), system, &table, &why)) {
        if (error)
            *error = why;
        return dict;
    }
    const qsizetype hanzi = table.columns.indexOf(QStringLiteral("汉字"));
    const qsizetype tone = table.columns.indexOf(QStringLiteral("平仄"));
    const qsizetype group = table.columns.indexOf(QStringLiteral("韵调"));
    for (const auto &row : table.rows) {
        DictionaryRow r;
        r.hanzi = row.at(size_t(hanzi)).toString();
        r.tone = row.at(size_t(tone)).toString();
        r.toneNull = row.at(size_t(tone)).isNull();
        r.group = row.at(size_t(group)).isNull() ? QString() : row.at(size_t(group)).toString();
        dict.Append(r);
    }
    return dict;
}

}  // namespace versilo::testing
