// SPDX-License-Identifier: GPL-3.0-or-later
// The explanations behind the marks in the composition window: after a
// check, resting the pointer on a mark of the tone column (Text6) or the
// result column (Text8) shows the findings for that character and the
// reading that decided its mark (over a group name of the rhyme column also
// the group's most used rhyme words), and every line with a finding is
// underlined in the result column. The box texts stay as the check wrote
// them.
#pragma once

#include <QObject>
#include <QString>

#include "diagnostics.h"
#include "prosody.h"

class QPlainTextEdit;

namespace versilo {

class MarkExplainer : public QObject {
    Q_OBJECT
public:
    // Watches the two result columns; `parent` owns the explainer.
    MarkExplainer(QPlainTextEdit *tones, QPlainTextEdit *results, QObject *parent);

    // After a run of a check: the texts it left and the dictionary it read.
    void Explain(const ComposeTexts &texts, const RhymeDictionary &dict, bool annotation);
    // Forgets the findings (the columns changed or were emptied).
    void Clear();

    const Diagnosis &Current() const { return diagnosis_; }
    // What the tooltip says for the mark at `position` of `line` in one of
    // the two columns; "" where there is nothing to say.
    QString TipAt(const QPlainTextEdit *box, int line, int position) const;
    // The lines (from 0) that carry a finding worth underlining.
    QList<int> MarkedLines() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Underline();
    void ForgetIfChanged();
    QPlainTextEdit *BoxOf(QObject *viewport) const;
    // "\n东韵常用字：风 中 空 …" for a group name of the rhyme column; "" elsewhere.
    QString RhymeWordsTip(const QString &groupName, char32_t c) const;

    static constexpr int kTipRhymeWords = 20;

    QPlainTextEdit *tones_;
    QPlainTextEdit *results_;
    ReadingIndex index_;
    RhymeDictionary indexed_;   // the dictionary index_ was made from (shared, not copied)
    Diagnosis diagnosis_;
    QString system_;
    RhymeDictionary dict_;                       // kept after 判断平仄韵调 only
    mutable QHash<int, QString> rhymeWords_;     // group * 2 + oblique -> the words
    QString tonesText_;     // the column texts the findings belong to
    QString resultsText_;
    bool active_ = false;
};

}  // namespace versilo
