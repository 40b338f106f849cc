// SPDX-License-Identifier: GPL-3.0-or-later
#include "markexplainer.h"

#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolTip>

#include "rhymewords.h"
#include "textbox.h"

namespace versilo {

namespace {

QTextEdit::ExtraSelection LineUnderline(QPlainTextEdit *box, int line, bool fault)
{
    QTextEdit::ExtraSelection s;
    const QTextBlock block = box->document()->findBlockByNumber(line);
    s.cursor = QTextCursor(box->document());
    s.cursor.setPosition(block.position());
    s.cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    s.format.setUnderlineStyle(fault ? QTextCharFormat::WaveUnderline : QTextCharFormat::DotLine);
    s.format.setUnderlineColor(fault ? QColor(200, 0, 0) : QColor(40, 80, 160));
    return s;
}

}  // namespace

MarkExplainer::MarkExplainer(QPlainTextEdit *tones, QPlainTextEdit *results, QObject *parent)
    : QObject(parent), tones_(tones), results_(results)
{
    for (QPlainTextEdit *box : {tones_, results_}) {
        box->viewport()->installEventFilter(this);
        connect(box, &QPlainTextEdit::textChanged, this, &MarkExplainer::ForgetIfChanged);
    }
}

void MarkExplainer::Explain(const ComposeTexts &texts, const RhymeDictionary &dict, bool annotation)
{
    // The same loaded dictionary as last time (kept between checks): its
    // index stands.
    if (!dict.SharesRowsWith(indexed_)) {
        index_ = ReadingIndex(dict);
        indexed_ = dict;
    }
    system_ = dict.System();
    dict_ = annotation ? dict : RhymeDictionary();
    rhymeWords_.clear();
    DiagnosisInput in;
    in.poem = texts.text2;
    in.marks = texts.text6;
    in.pattern = texts.text5;
    in.tuneName = texts.label1;
    in.system = system_;
    in.strip = RunStripSet(annotation, system_);
    if (annotation) {
        // The annotation marks the first line without its leading blanks.
        qsizetype i = 0;
        while (i < in.poem.size() && in.poem.at(i) == u' ')
            ++i;
        in.poem = in.poem.mid(i);
    }
    diagnosis_ = Diagnose(in, index_.Lookup());
    tonesText_ = BoxText(tones_);
    resultsText_ = BoxText(results_);
    active_ = true;
    Underline();
}

void MarkExplainer::Clear()
{
    active_ = false;
    diagnosis_ = Diagnosis();
    tones_->setExtraSelections({});
    results_->setExtraSelections({});
}

void MarkExplainer::ForgetIfChanged()
{
    if (active_ && (BoxText(tones_) != tonesText_ || BoxText(results_) != resultsText_))
        Clear();
}

QList<int> MarkExplainer::MarkedLines() const
{
    QList<int> lines;
    for (const Finding &f : diagnosis_.findings) {
        if (f.kind != FindingKind::TwoReadings && !lines.contains(f.line))
            lines.append(f.line);
    }
    return lines;
}

void MarkExplainer::Underline()
{
    // A line with a fault gets a wavy red line, one with notes only a
    // dotted one; where the result column has nothing on that line, the
    // tone column carries it.
    QHash<int, bool> fault;
    for (const Finding &f : diagnosis_.findings) {
        if (f.kind != FindingKind::TwoReadings)
            fault[f.line] = fault.value(f.line) || f.fault;
    }
    QList<QTextEdit::ExtraSelection> onTones;
    QList<QTextEdit::ExtraSelection> onResults;
    for (auto it = fault.cbegin(); it != fault.cend(); ++it) {
        const QTextBlock inResults = results_->document()->findBlockByNumber(it.key());
        if (inResults.isValid() && inResults.length() > 1)
            onResults.append(LineUnderline(results_, it.key(), it.value()));
        else if (tones_->document()->findBlockByNumber(it.key()).isValid())
            onTones.append(LineUnderline(tones_, it.key(), it.value()));
    }
    tones_->setExtraSelections(onTones);
    results_->setExtraSelections(onResults);
}

QString MarkExplainer::TipAt(const QPlainTextEdit *box, int line, int position) const
{
    if (!active_ || (box != tones_ && box != results_))
        return {};
    if (box == results_) {
        // Only where the result column has one entry per mark of the tone column.
        const QTextBlock marks = tones_->document()->findBlockByNumber(line);
        const QTextBlock results = results_->document()->findBlockByNumber(line);
        if (!marks.isValid() || !results.isValid() || marks.length() != results.length())
            return {};
    }
    for (qsizetype v = 0; v < diagnosis_.verses.size(); ++v) {
        const Verse &verse = diagnosis_.verses.at(v);
        if (verse.line != line)
            continue;
        const qsizetype k = verse.positions.indexOf(position);
        if (k < 0)
            continue;
        const char32_t c = verse.chars.at(k);
        QString tip = DescribeReadings(c, index_.Of(c), system_);
        if (diagnosis_.regulated && v == 0)
            tip = QStringLiteral("体裁：") + diagnosis_.regulated->Describe() + QStringLiteral("\n") + tip;
        for (const Finding &f : diagnosis_.findings) {
            if (f.verse == v && (f.position == position || f.position < 0))
                tip += (f.fault ? QStringLiteral("\n误：") : QStringLiteral("\n注：")) + f.message;
        }
        if (box == results_)
            tip += RhymeWordsTip(results_->document()->findBlockByNumber(line).text().mid(position, 1), c);
        return tip;
    }
    return {};
}

QString MarkExplainer::RhymeWordsTip(const QString &groupName, char32_t c) const
{
    // Only the rhyme column of 判断平仄韵调 names groups.
    if (dict_.Size() == 0)
        return {};
    const int group = RhymeGroupNumber(system_, groupName);
    if (group == 0)
        return {};
    // The tone the character has in that group; a reading of both tones
    // takes the tone of the group.
    Tone tone = Tone::Either;
    for (const Reading &r : index_.Of(c).readings)
        if (r.group == group && tone == Tone::Either)
            tone = r.tone;
    if (tone == Tone::Either)
        tone = system_ == kPingshui ? GroupTone(dict_, group) : Tone::Level;
    const int key = group * 2 + (tone == Tone::Level ? 0 : 1);
    if (!rhymeWords_.contains(key))
        rhymeWords_.insert(key, RhymeWordLine(ListRhymeWords(dict_, nullptr, RhymeUsage::Builtin(),
                                                             group, tone, kTipRhymeWords).words,
                                              kTipRhymeWords));
    const QString words = rhymeWords_.value(key);
    return words.isEmpty() ? QString() : u'\n' + groupName + QStringLiteral("韵常用字：") + words;
}

QPlainTextEdit *MarkExplainer::BoxOf(QObject *viewport) const
{
    if (viewport == tones_->viewport())
        return tones_;
    if (viewport == results_->viewport())
        return results_;
    return nullptr;
}

bool MarkExplainer::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    QPlainTextEdit *box = BoxOf(watched);
    if (!box)
        return QObject::eventFilter(watched, event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QPoint pos = help->pos();
    // The character under the pointer: the nearest cursor stands before it
    // or, on its right half, after it.
    const QTextCursor cursor = box->cursorForPosition(pos);
    const QRect rect = box->cursorRect(cursor);
    int at = cursor.position();
    if (pos.x() < rect.left())
        --at;
    const QTextBlock block = box->document()->findBlock(at);
    const int inBlock = at - block.position();
    QString tip;
    if (block.isValid() && pos.y() >= rect.top() && pos.y() <= rect.bottom() && inBlock >= 0
        && inBlock < block.length() - 1)
        tip = TipAt(box, block.blockNumber(), inBlock);
    if (tip.isEmpty()) {
        QToolTip::hideText();
        return true;
    }
    // One paragraph a statement, wrapped to a readable width.
    QString html = QStringLiteral("<table width=\"340\">");
    for (const QString &para : tip.split(u'\n'))
        html += QStringLiteral("<tr><td>") + para.toHtmlEscaped() + QStringLiteral("</td></tr>");
    html += QStringLiteral("</table>");
    QToolTip::showText(help->globalPos(), html, box->viewport());
    return true;
}

}  // namespace versilo
