// SPDX-License-Identifier: GPL-3.0-or-later
// The rules of the diagnostics, one function each. Regulated verse is read
// once into a RegulatedPoem that every rule of it shares; a ci once into a
// CiPoem. Each rule appends its findings and tells each position what it
// asks for; the order the judges call them in is the order their findings
// keep where two fall on the same place.
#pragma once

#include "diagnostics_p.h"

#include <limits>
#include <vector>

namespace versilo::diag {

// ---- regulated verse --------------------------------------------------------------

// The tone each mark of each line shows.
QList<QList<T>> Tones(const QList<Verse> &verses);

// Position index k (0-based) of an even position asks for the line's
// second-position tone (k = 1, 5) or its opposite (k = 3).
inline bool SameAsSecond(int k) { return ((k - 1) / 2) % 2 == 0; }

// The tone of the second position as the firm even positions of a line vote
// for it, T::U when they do not settle it.
T Axis(const QList<T> &t, T rhymeTone);

struct RhymePlan {
    bool levelRhyme = true;
    int main = 0;          // the class most rhymes share, 0 when none
    bool sections = false; // classes are 词林正韵 sections
};

RhymePlan PlanRhymes(const QList<Verse> &verses, const QList<QList<T>> &tones,
                     const ReadingLookup &lookup, const QString &system);

// Whether a 平水韵 group lies in the same 词林正韵 section as the main one.
bool Neighbour(const QSet<int> &groups, int main);

// Whether the first line rhymes: it ends in the rhyme tone (or may be read
// so) and keeps the main group or a neighbour of it.
bool FirstLineRhymes(const QList<Verse> &verses, const QList<QList<T>> &tones,
                     const ReadingLookup &lookup, const QString &system, const RhymePlan &plan);

// A poem of regulated shape in the form it was read as.
class RegulatedPoem {
public:
    RegulatedPoem(const QList<Verse> &verses, const ReadingLookup &lookup, const QString &system,
                  const RegulatedForm &form, QList<Finding> &out, Needs &needs);

    const QList<Verse> &verses;
    const ReadingLookup lookup;   // held by value: callers may hand over a temporary
    const QString system;
    const bool pingshui;
    const RegulatedForm form;
    const QList<QList<T>> tones;
    const int n;           // verse lines
    const int len;         // syllables per line
    const int off;         // where the five-syllable core of a line starts
    const T rhymeTone;
    QList<Finding> &out;
    Needs &needs;

    // Left by the rules for the ones after them.
    QList<T> axis;                              // each line's second tone (粘 and 对)
    std::vector<std::vector<bool>> handled;     // positions the core pattern has judged
    std::vector<bool> rescueNext;               // the next line's third core position rescues

    bool RhymeLine(int i) const { return i % 2 == 1 || (i == 0 && form.firstLineRhymes); }
    // The tone a line ends in: the rhyme tone on rhyme lines, the other elsewhere.
    T EndTone(int i) const { return RhymeLine(i) ? rhymeTone : Opposite(rhymeTone); }
    void Add(int v, int k, FindingKind kind, bool fault, const QString &message);
};

// 粘 and 对: each line's second tone against the line before. Sets `axis`.
void RuleTies(RegulatedPoem &p);
// The last syllable of a line that does not rhyme, the first line's included.
void RuleLineEnds(RegulatedPoem &p);
// The core pattern of each line with 孤平, 三平尾, 三仄尾, the special form
// and the common 拗救. Needs `axis`.
void RuleCorePattern(RegulatedPoem &p);
// The even positions the core pattern has not judged. Needs `axis`.
void RuleEvenPositions(RegulatedPoem &p);
// The rhyme words: their tone, their group, none used twice.
void RuleRhymes(RegulatedPoem &p);

// ---- ci ----------------------------------------------------------------------------

struct Symbol {
    Need need = Need::Free;
    bool rhyme = false;
    T rhymeTone = T::U;     // T::U: the tone of the section the rhyme is in
    bool change = false;    // 换平韵 / 换仄韵: a new rhyme starts here
    int rhymeSet = -1;      // the rhyme it keeps where the pattern says (a set may come
                            // back after another); -1: the one since the last change
};

using PatternLine = QList<Symbol>;

// The pattern lines of a pattern box: one line per text line that holds a
// pattern symbol.
QList<PatternLine> ParsePattern(const QString &display);

// One step of an alignment: `verses` verse lines against `lines` pattern
// lines (either may be 0).
struct Block {
    int v0 = 0, verses = 0, p0 = 0, lines = 0;
};

struct Alignment {
    int cost = 0;
    QList<Block> blocks;
};

// Aligns verse lengths with pattern lengths; past `bound` the alignment may
// give up and come back empty.
Alignment Align(const QList<int> &p, const QList<int> &q,
                int bound = std::numeric_limits<int>::max());

QList<int> VerseLengths(const QList<Verse> &verses);
QList<int> PatternLengths(const QList<PatternLine> &lines);

// A ci held against the lines of a pattern.
class CiPoem {
public:
    CiPoem(const QList<Verse> &verses, const QList<PatternLine> &lines, const ReadingLookup &lookup,
           const QString &system, QList<Finding> &out, Needs &needs);

    const QList<Verse> &verses;
    const QList<PatternLine> &lines;
    const ReadingLookup lookup;   // held by value: callers may hand over a temporary
    const QString system;
    const QList<int> p;    // verse lengths
    const QList<int> q;    // pattern line lengths
    QList<Finding> &out;
    Needs &needs;

    // Left by the alignment: each syllable's symbol where it has one, and
    // whether its line meets the pattern exactly (only there a rhyme
    // position is sure).
    QList<QList<const Symbol *>> symbolOf;
    QList<bool> exact;

    void Add(int v, int k, FindingKind kind, bool fault, const QString &message);
};

// The verse lines against the pattern lines: lengths, missing and extra
// lines, other breaks; and what each position asks for.
void RuleCiLines(CiPoem &p);
// The rhymes the pattern marks, section by section. Needs RuleCiLines.
void RuleCiRhymes(CiPoem &p);

}  // namespace versilo::diag
