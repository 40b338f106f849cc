// SPDX-License-Identifier: GPL-3.0-or-later
// The ranking of tunes and the note on another form of a tune: how a ci
// is held against every form of a tune, by line lengths and by tones.
#pragma once

#include "rules.h"
#include "tuneforms.h"

namespace versilo::diag {

// How well a ci meets one pattern.
struct FormFit {
    int cost = 0;          // the cost of the alignment of the line lengths
    int departures = 0;    // firm tones against the pattern, a rhyme's tone counting twice
    int judged = 0;        // the firm tones held against it, rhymes twice
    bool lines = false;    // every run of lines meets the pattern's with the same length

    // The cost with the tones as a tie-break under one line's difference.
    double Score() const { return cost + (judged > 0 ? 0.9 * departures / judged : 0.0); }
    // Every line meets the pattern, at most a fifth of the tones depart.
    bool Fits() const { return lines && departures * 5 <= judged; }
};

// Alignments of one ci already made, by the pattern's line lengths, with
// the bound they were made under.
using AlignmentMemo = QHash<QList<int>, std::pair<int, Alignment>>;

// The ci against pattern lines; nothing when the alignment costs more than
// `bound`. A memo, when given, keeps the alignments for the next patterns
// of the same ci.
std::optional<FormFit> FitLines(const QList<Verse> &verses, const QList<PatternLine> &lines,
                                int bound = std::numeric_limits<int>::max(), AlignmentMemo *memo = nullptr);

// The best of the form's two readings: each clause a line, or the clauses
// that end in a pause run on.
std::optional<FormFit> FitForm(const QList<Verse> &verses, const TuneForm &form,
                               int bound = std::numeric_limits<int>::max(), AlignmentMemo *memo = nullptr);

// When the ci departs from the loaded pattern in its lines (a line fault
// among the findings) but fits a form
// of the tune in the reference (nullptr: the one the program carries), a
// note that says which.
void NoteOtherForm(const QList<Verse> &verses, const QString &tuneName, const TuneForms *reference,
                   QList<Finding> &out);

}  // namespace versilo::diag
