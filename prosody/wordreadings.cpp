// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordreadings.h"

#include "seedtext.h"

namespace versilo {

const WordReadings &WordReadings::Builtin()
{
    static const WordReadings table = FromText(BuiltinSeedText(QStringLiteral("两读词")));
    return table;
}

WordReadings WordReadings::FromText(const QString &tsv)
{
    WordReadings out;
    const TsvRows table = ParseTsv(tsv);
    const qsizetype word = table.Column(QStringLiteral("词"));
    const qsizetype chr = table.Column(QStringLiteral("字"));
    const qsizetype tone = table.Column(QStringLiteral("平仄"));
    if (word < 0 || chr < 0 || tone < 0)
        return out;
    for (const QStringList &f : table.rows) {
        const QList<uint> c = f.at(chr).toUcs4();
        if (c.size() != 1 || !f.at(word).toUcs4().contains(c.first()))
            continue;
        if (f.at(tone) == u"0")
            out.Add(f.at(word), c.first(), Tone::Level);
        else if (f.at(tone) == u"1")
            out.Add(f.at(word), c.first(), Tone::Oblique);
        else if (f.at(tone) == u"2")
            out.Add(f.at(word), c.first(), Tone::Either);
    }
    return out;
}

void WordReadings::Add(const QString &word, char32_t c, Tone tone)
{
    words_[word].append(Entry{c, tone});
    longest_ = std::max(longest_, int(word.toUcs4().size()));
}

std::optional<WordReadings::Settled> WordReadings::Settle(const QList<char32_t> &chars, int k) const
{
    const int n = int(chars.size());
    if (k < 0 || k >= n)
        return std::nullopt;
    for (int len = std::min(longest_, n); len >= 2; --len) {
        std::optional<Settled> found;
        bool conflict = false;
        for (int start = std::max(0, k - len + 1); start <= k && start + len <= n; ++start) {
            QString word;
            for (int i = start; i < start + len; ++i)
                word += QString::fromUcs4(&chars.at(i), 1);
            const auto it = words_.constFind(word);
            if (it == words_.cend())
                continue;
            for (const Entry &e : *it) {
                if (e.c != chars.at(k))
                    continue;
                if (found && found->tone != e.tone)
                    conflict = true;
                else if (!found)
                    found = Settled{e.tone, word};
            }
        }
        if (conflict || (found && found->tone == Tone::Either))
            return std::nullopt;
        if (found)
            return found;
    }
    return std::nullopt;
}

}  // namespace versilo
