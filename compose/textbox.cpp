#include "textbox.h"

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

QString BoxText(const QLineEdit *box) { return box->text(); }

void SetBoxText(QLineEdit *box, const QString &text)
{
    if (box->text() != text)
        box->setText(text);
}

}  // namespace versilo
