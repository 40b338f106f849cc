// Creating mvtrakp.m from the seed tables (one .tsv file per table).
#pragma once

#include <QString>
#include <QVariant>
#include <vector>

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

// Resolves the backslash escapes of one field; `\N` gives a null QVariant.
QVariant UnescapeField(QStringView field);

// Builds a complete database in a temporary file next to `path` and moves
// it into place without replacing anything: when `path` appeared meanwhile,
// the new file is thrown away and the existing one is kept. True when a
// database now exists at `path`.
bool CreateDatabase(const QString &path, const QString &seedDir, QString *error);

}  // namespace versilo::seed
