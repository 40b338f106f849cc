// SPDX-License-Identifier: GPL-3.0-or-later
// The tables the program carries as tab-separated text (:/seed/NAME.tsv): a
// header line of column names, then one row a line. Pure, no widgets.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace versilo {

struct TsvRows {
    QStringList header;
    QList<QStringList> rows;   // only the rows with as many fields as the header
    // The index of a column, -1 when the header lacks it.
    qsizetype Column(const QString &name) const { return header.indexOf(name); }
};

// Splits a text at LF (a CR before it is dropped) and every line at tabs.
TsvRows ParseTsv(const QString &text);

// The text of a table compiled into the program; empty when it is not there.
QString BuiltinSeedText(const QString &table);

}  // namespace versilo
