// SPDX-License-Identifier: GPL-3.0-or-later
// Decoding the UTF-8 texts of a result: short ones repeat a lot (one
// character, a tone code, a group number, a pinyin syllable), so each
// distinct one is decoded once and then shared; so are whole numbers read
// as text. Store-internal.
#pragma once

#include <QHash>
#include <QString>

namespace versilo {

class ShortTexts {
public:
    QString Get(const char *utf8, int bytes)
    {
        if (bytes > 7)
            return QString::fromUtf8(utf8, bytes);
        quint64 key = quint64(bytes) << 56;
        for (int i = 0; i < bytes; ++i)
            key |= quint64(quint8(utf8[i])) << (8 * i);
        auto it = seen_.constFind(key);
        if (it != seen_.constEnd())
            return *it;
        return *seen_.insert(key, QString::fromUtf8(utf8, bytes));
    }

    // A whole number as text (a group number, a code): decoded once too.
    QString Number(qint64 n)
    {
        if (n < 0 || n >= (qint64(1) << 48))
            return QString::number(n);
        const quint64 key = (quint64(0xFF) << 56) | quint64(n);
        auto it = seen_.constFind(key);
        if (it != seen_.constEnd())
            return *it;
        return *seen_.insert(key, QString::number(n));
    }

private:
    QHash<quint64, QString> seen_;
};

}  // namespace versilo
