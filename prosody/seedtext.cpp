// SPDX-License-Identifier: GPL-3.0-or-later
#include "seedtext.h"

#include <QFile>

namespace versilo {

TsvRows ParseTsv(const QString &text)
{
    TsvRows out;
    const QStringList lines = text.split(u'\n');
    if (lines.isEmpty())
        return out;
    out.header = lines.first().trimmed().split(u'\t');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString line = lines.at(i);
        if (line.endsWith(u'\r'))
            line.chop(1);
        QStringList fields = line.split(u'\t');
        if (fields.size() == out.header.size())
            out.rows.append(std::move(fields));
    }
    return out;
}

QString BuiltinSeedText(const QString &table)
{
    QFile file(QStringLiteral(":/seed/") + table + QStringLiteral(".tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

}  // namespace versilo
