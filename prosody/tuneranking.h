// SPDX-License-Identifier: GPL-3.0-or-later
// The ranking of tunes and the note on another form of a tune: how a ci
// is held against every form of a tune, by line lengths and by tones.
#pragma once

#include "rules.h"
#include "tuneforms.h"

namespace versilo::diag {

// What each syllable of a ci may rhyme in, verse by verse: a bit per rhyme
// class, the 词林正韵 sections under 平水韵 (a group split between two
// sections sets both, the tones of a section together), the rhyme groups
// under 中华新韵; 0 when the character has none.
using RhymeSounds = QList<QList<quint64>>;

RhymeSounds ReadRhymeSounds(const QList<Verse> &verses, const ReadingLookup &lookup, const QString &system);

// How well a ci meets one pattern.
struct FormFit {
    int cost = 0;          // the cost of the alignment of the line lengths
    int departures = 0;    // firm tones against the pattern, a rhyme's tone counting twice
    int judged = 0;        // the firm tones held against it, rhymes twice
    int offRhyme = 0;      // rhyme words outside the class most words of their rhyme keep
    int rhymeWords = 0;    // the words of rhymes of two or more whose sounds are known
    bool lines = false;    // every run of lines meets the pattern's with the same length

    // The cost with the tones and the rhyme words as a tie-break under one
    // line's difference; a rhyme word off its rhyme weighs as two tones.
    double Score() const
    {
        const int all = judged + 2 * rhymeWords;
        return cost + (all > 0 ? 0.9 * (departures + 2 * offRhyme) / all : 0.0);
    }
    // Every line meets the pattern, at most a fifth of the tones depart and
    // at most a fifth of the rhyme words are off their rhyme.
    bool Fits() const { return lines && departures * 5 <= judged && offRhyme * 5 <= rhymeWords; }
};

// Alignments of one ci already made, by the pattern's line lengths, with
// the bound they were made under.
using AlignmentMemo = QHash<QList<int>, std::pair<int, Alignment>>;

// The ci against pattern lines; nothing when the alignment costs more than
// `bound`. A memo, when given, keeps the alignments for the next patterns
// of the same ci. With the sounds of its syllables, the words on the rhyme
// positions of one rhyme (up to the next change of rhyme) are held against
// each other: a pattern whose rhyme positions the ci fills with words of one
// class fits better than one whose rhyme positions do not rhyme.
std::optional<FormFit> FitLines(const QList<Verse> &verses, const QList<PatternLine> &lines,
                                int bound = std::numeric_limits<int>::max(), AlignmentMemo *memo = nullptr,
                                const RhymeSounds *sounds = nullptr);

// The best of the form's two readings: each clause a line, or the clauses
// that end in a pause run on.
std::optional<FormFit> FitForm(const QList<Verse> &verses, const TuneForm &form,
                               int bound = std::numeric_limits<int>::max(), AlignmentMemo *memo = nullptr,
                               const RhymeSounds *sounds = nullptr);

// When the ci departs from the loaded pattern in its lines (a line fault
// among the findings) but fits a form
// of the tune in the reference (nullptr: the one the program carries), a
// note that says which.
void NoteOtherForm(const QList<Verse> &verses, const QString &tuneName, const TuneForms *reference,
                   QList<Finding> &out, const RhymeSounds *sounds = nullptr);

}  // namespace versilo::diag
