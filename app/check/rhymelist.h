// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-check's rhyme words: the list of a group (--rhymes) and the list
// of the group a checked poem rhymes in (--explain).
#pragma once

#include <QJsonObject>
#include <QString>

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

// The rhyme words of the group a poem rhymes in, read from the store's
// dictionaries; nothing when the poem shows no rhyme group or a dictionary
// cannot be read.
std::optional<RhymeWords> PoemRhymeWords(DataStore &store, const QString &system,
                                         const QList<Verse> &verses, int limit);

}  // namespace versilo
