// SPDX-License-Identifier: GPL-3.0-or-later
// Shared pieces of the diagnostics engine: tones of marks, what a position
// asks for, rhyme classes, and how findings are written.
#pragma once

#include "diagnostics.h"

#include <QSet>

namespace versilo::diag {

// The tone a mark shows: level, oblique, both readings, unknown.
enum class T : quint8 { L, O, B, U };

T ToneOfMark(QChar mark);
inline bool Firm(T t) { return t == T::L || t == T::O; }
inline T Opposite(T t) { return t == T::L ? T::O : t == T::O ? T::L : t; }

// What a position of a verse line asks for.
enum class Need : quint8 { None, Free, Level, Oblique };

struct Needs {
    QList<QList<Need>> need;     // per verse, per syllable
    QList<QList<bool>> rhyme;    // a rhyme position
    QList<QList<QString>> why;   // a short reason, "" for the plain tone of the pattern
    QList<QString> rhymeGroup;   // per verse: the group its rhyme keeps, "" unknown

    void Reset(const QList<Verse> &verses);
    void Set(int v, int k, Need n, const QString &reason = QString());
};

QString Str(char32_t c);
// The character a text of one character holds; 0 for any other text.
char32_t OneChar(const QString &text);
QString Quote(char32_t c);                // 「看」
QString ToneWord(T t);                    // 平 / 仄

// The 词林正韵 sections (部, 1 to 19) a 平水韵 group belongs to, as a bit set;
// a few groups are split between two sections.
quint32 SectionMask(int pingshuiGroup);
QString SectionName(int section);          // 第十八部

// Whether the reading can stand in a position of the given tone.
bool ToneFits(const Reading &r, T want);

// The rhyme classes of a character read in the given tone (T::U: any tone):
// plain group numbers, or under 平水韵 with `sections` the 词林正韵 sections.
QSet<int> RhymeClasses(const CharReadings &r, T want, bool pingshui, bool sections);
QString ClassName(int cls, bool sections, const QString &system);
// The names of the groups of a character's readings in that tone, "寒、翰".
QString GroupNames(const CharReadings &r, T want);

Finding Make(const QList<Verse> &verses, int v, int k, FindingKind kind, bool fault,
             const QString &message);

// Judges a poem of regulated shape read as regulated verse.
void JudgeRegulated(const QList<Verse> &verses, const ReadingLookup &lookup,
                    const QString &system, const RegulatedForm &form,
                    QList<Finding> &out, Needs &needs);

// Judges a ci against a pattern in display form; false when the pattern has
// no line with a pattern symbol.
bool JudgeCi(const QList<Verse> &verses, const QString &pattern, const ReadingLookup &lookup,
             const QString &system, QList<Finding> &out, Needs &needs);

}  // namespace versilo::diag
