// SPDX-License-Identifier: GPL-3.0-or-later
// The rhyme words of a group: the characters a rhyme position of that group
// can take, most used first by how often Tang and Song poets rhymed them,
// with the characters of the neighbouring groups (邻韵) and those that sound
// alike today but would fall out of the rhyme (出韵) set apart.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

#include "diagnostics.h"
#include "rhymedict.h"

namespace versilo {

// How often each character was rhymed in each group of each system, in
// level and in oblique rhymes apart.
class RhymeUsage {
public:
    RhymeUsage() = default;

    // The table compiled into the program; empty when it is missing.
    static const RhymeUsage &Builtin();
    // Tab-separated text of the columns 韵书, 韵调, 平仄 (0 level, 1 oblique),
    // 汉字, 次数 with a header line; rows that do not fit are passed by.
    static RhymeUsage FromText(const QString &tsv);

    void Add(const QString &system, int group, Tone tone, char32_t c, int count);
    // Tone::Either: level and oblique rhymes together.
    int Count(const QString &system, int group, Tone tone, char32_t c) const;
    bool IsEmpty() const { return counts_.isEmpty(); }

private:
    static QString Key(const QString &system, int group, Tone tone)
    {
        return system + u'|' + QString::number(group) + (tone == Tone::Level ? u'0' : u'1');
    }
    QHash<QString, QHash<char32_t, int>> counts_;
};

struct RhymeWord {
    QString hanzi;
    int count = 0;      // times rhymed in `group` in the tone asked for
    QString group;      // the name of the group it is counted in
};

struct RhymeWords {
    QString system;
    int group = 0;
    QString groupName;
    Tone tone = Tone::Level;          // the tone asked for
    QList<RhymeWord> words;           // of the group, most used first
    QList<RhymeWord> neighbours;      // of the 邻韵, most used first
    QList<RhymeWord> outOfRhyme;      // alike today, another group: 出韵
};

// The group number of a group name ("东", "十一庚" or "庚") or number text of
// the system; 0 when there is none.
int RhymeGroupNumber(const QString &system, const QString &name);

// The tone most rows of the group have (under 平水韵 a group is of one tone).
Tone GroupTone(const RhymeDictionary &dict, int group);

// The list for a group of dict's system. `other` is the dictionary of the
// other system: the characters that share one of its groups with the
// group's most used ones but are neither of the group nor of a neighbour are
// the 出韵 ones (none without it). `limit` caps each list (0: no cap); the
// words list keeps characters never rhymed after the rhymed ones, the other
// two lists hold rhymed characters only. A character of both readings fits
// either tone. Neighbours are the groups of the same tone in the same
// 词林正韵 section (平水韵 only).
RhymeWords ListRhymeWords(const RhymeDictionary &dict, const RhymeDictionary *other,
                          const RhymeUsage &usage, int group, Tone tone, int limit = 0);

// The lists of many groups from the same dictionaries (which must outlive
// it): what every list needs from them is gathered once, on the first list.
class RhymeWordLister {
public:
    RhymeWordLister(const RhymeDictionary &dict, const RhymeDictionary *other, const RhymeUsage &usage);
    ~RhymeWordLister();
    RhymeWordLister(const RhymeWordLister &) = delete;
    RhymeWordLister &operator=(const RhymeWordLister &) = delete;

    // As ListRhymeWords.
    RhymeWords List(int group, Tone tone, int limit = 0);

private:
    struct Gathered;
    const RhymeDictionary &dict_;
    const RhymeDictionary *other_;
    const RhymeUsage &usage_;
    std::unique_ptr<Gathered> gathered_;
};

// The group and tone a poem rhymes in: the group most of the ends of its
// even verse lines share (the first of them on a tie); nothing when none of
// them has a group.
struct PoemRhyme {
    int group = 0;
    Tone tone = Tone::Level;
};
std::optional<PoemRhyme> FindPoemRhyme(const QList<Verse> &verses, const ReadingLookup &lookup);

// "风 中 空 同 …": the first n words of the list, space-separated.
QString RhymeWordLine(const QList<RhymeWord> &words, int n);

}  // namespace versilo
