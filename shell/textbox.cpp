// SPDX-License-Identifier: GPL-3.0-or-later
#include "textbox.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace versilo {

QString BoxText(const QPlainTextEdit *box)
{
    // The raw text keeps everything as typed (no blank substitution); only
    // the block separators are turned into CR LF. A soft break (Shift+Return
    // or a pasted U+2028) shows as a new line, so it is one as well.
    QString raw = box->document()->toRawText();
    QString out;
    out.reserve(raw.size() + raw.size() / 8);
    for (QChar c : raw) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            out.append(QStringLiteral("\r\n"));
        else
            out.append(c);
    }
    return out;
}

void SetBoxText(QPlainTextEdit *box, const QString &text)
{
    if (BoxText(box) == text)
        return;
    // The document's cursor turns CR LF into one block break.
    box->setPlainText(text);
}

namespace {

class InitialTextSelector : public QObject {
public:
    InitialTextSelector(QLineEdit *box, const QString &initial) : QObject(box), box_(box), initial_(initial)
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        switch (e->type()) {
        case QEvent::FocusIn:
            if (box_->text() == initial_)
                box_->selectAll();
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            // A click into the initial text (whether or not the box had the
            // focus already) selects it all; the click, which would put the
            // cursor where it landed, is kept from the box up to its release.
            if (box_->text() == initial_ && static_cast<QMouseEvent *>(e)->button() == Qt::LeftButton) {
                box_->selectAll();
                swallowClick_ = true;
                return true;
            }
            break;
        case QEvent::MouseMove:
            return swallowClick_;
        case QEvent::MouseButtonRelease:
            if (swallowClick_) {
                swallowClick_ = false;
                return true;
            }
            break;
        case QEvent::FocusOut:
            swallowClick_ = false;
            break;
        default:
            break;
        }
        return false;
    }

private:
    QLineEdit *box_;
    QString initial_;
    bool swallowClick_ = false;
};

}  // namespace

void SelectWhileInitial(QLineEdit *box, const QString &initial) { new InitialTextSelector(box, initial); }

QString BoxText(const QLineEdit *box) { return box->text(); }

void SetBoxText(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
}

}  // namespace versilo
