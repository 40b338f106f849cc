// SPDX-License-Identifier: GPL-3.0-or-later
// The words that settle the tone of a character read both level and
// oblique: 分 is level in 分手, 相 oblique in 宰相. The table the program
// carries is built from Mandarin word readings by the data generator.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <optional>

#include "diagnostics.h"

namespace versilo {

class WordReadings {
public:
    WordReadings() = default;

    // The table compiled into the program; empty when it is missing.
    static const WordReadings &Builtin();
    // Reads a table of the columns 词, 字, 平仄 (0 level, 1 oblique, 2 a
    // word that settles nothing), as tab-separated text with a header line.
    // Rows that do not fit are passed by.
    static WordReadings FromText(const QString &tsv);

    void Add(const QString &word, char32_t c, Tone tone);
    bool IsEmpty() const { return words_.isEmpty(); }

    struct Settled {
        Tone tone = Tone::Either;
        QString word;
    };
    // The reading of chars[k] the words around it settle: the longest word
    // that holds it and says how it reads; nothing when no word does, when
    // that word settles nothing, or when two words of that length disagree.
    std::optional<Settled> Settle(const QList<char32_t> &chars, int k) const;

private:
    struct Entry {
        char32_t c;
        Tone tone;
    };
    QHash<QString, QList<Entry>> words_;
    int longest_ = 0;
};

}  // namespace versilo
