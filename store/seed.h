// SPDX-License-Identifier: GPL-3.0-or-later
// Creating mvtrakp.m from the seed tables (one .tsv file per table).
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

struct sqlite3;

namespace versilo::schema {
struct Table;
}

namespace versilo::seed {

// One parsed seed file: the column names of its first line and the rows,
// with escapes resolved (`\N` -> null) and numeric columns converted.
struct SeedTable {
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;
};

// Reads `<seedDir>/<table>.tsv`, or `:/seed/<table>.tsv` when seedDir is
// empty. A missing file is an empty table. For `诗词库` and `作者` an empty or
// missing `拼音` is filled with the pinyin initials of `标题` / `姓名`.
bool ReadSeedTable(const QString &seedDir, const QString &table, SeedTable *out,
                   QString *error);

// Inserts the seed rows into the table, which must exist (inside the
// caller's transaction).
bool FillTable(sqlite3 *db, const schema::Table &table, const SeedTable &seed, QString *error);

// Removes what an interrupted creation left in `dir`: the hidden temporary
// files of `fileName` (and their journals) made by a program that is no
// longer running. Files of a running program are left alone.
void RemoveStaleTemporaries(const QString &dir, const QString &fileName);

// Resolves the backslash escapes of one field; `\N` gives a null QVariant.
QVariant UnescapeField(QStringView field);

// Builds a complete database in a temporary file next to `path` and moves
// it into place without replacing anything: when `path` appeared meanwhile,
// the new file is thrown away and the existing one is kept. True when a
// database now exists at `path`.
bool CreateDatabase(const QString &path, const QString &seedDir, QString *error);

}  // namespace versilo::seed
