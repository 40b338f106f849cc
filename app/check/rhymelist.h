// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-check's rhyme words: the list of a group (--rhymes) and the list
// of the group a checked poem rhymes in (--explain).
#pragma once

#include <QJsonObject>
#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <utility>

#include "rhymewords.h"

namespace versilo {

class DataStore;

struct RhymeListRequest {
    QString appDir;     // "" : the folder Versilo writes into
    QString seedDir;
    QString system;     // 中华新韵 or 平水韵
    QString group;      // a group name or number
    QString tone;       // "", 平 or 仄 ("": the group's own tone)
    bool json = false;
};

// Prints the list of a group; the exit code (2 on a wrong group or tone, or
// when the database cannot be read).
int PrintRhymeList(const RhymeListRequest &request);

// The list as JSON: {"system", "group", "tone", "words", "neighbours",
// "outOfRhyme"}, each word {"char", "count", "group"}.
QJsonObject RhymeWordsJson(const RhymeWords &words);
// The list as text, three lines at most.
QString RhymeWordsText(const RhymeWords &words);

// The other rhyme system: 平水韵 for 中华新韵 and the other way round.
const QString &OtherSystem(const QString &system);

// The lists a run has made, by group and tone: poems of one rhyme share one,
// and all share what the lister gathered from the dictionaries.
struct RhymeListsMade {
    std::unique_ptr<RhymeWordLister> lister;
    std::map<std::pair<int, int>, RhymeWords> lists;
};

// The rhyme words of the group a poem rhymes in, from the dictionaries the
// run has read (`dict` the poem's system, `lookup` its readings); nothing
// when the poem shows no rhyme group. One `made` serves one pair of
// dictionaries.
std::optional<RhymeWords> PoemRhymeWords(const RhymeDictionary &dict, const RhymeDictionary &other,
                                         const ReadingLookup &lookup, const QList<Verse> &verses,
                                         int limit, RhymeListsMade &made);

}  // namespace versilo
