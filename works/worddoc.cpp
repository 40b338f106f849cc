// SPDX-License-Identifier: GPL-3.0-or-later
#include "worddoc.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cmath>

namespace versilo {

namespace {

// Appends the pieces of text, cut at CR LF, CR and LF, to the paragraphs:
// the first piece continues the last paragraph, every break starts a new one.
void AppendText(QList<DocParagraph> &paragraphs, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            paragraphs.append({QString(), paragraphs.last().points});
        } else {
            paragraphs.last().text.append(c);
        }
    }
}

void AppendEscaped(QByteArray &out, const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += '\\';
            out += char(u);
        } else if (u == u'\t') {
            out += "\\tab ";
        } else if (u < 0x20) {
            continue;   // no other control character belongs in a line
        } else if (u < 0x80) {
            out += char(u);
        } else {
            // \uN takes a signed 16-bit number; "?" stands in for readers
            // that do not know \u.
            out += "\\u" + QByteArray::number(int(qint16(u))) + '?';
        }
    }
}

// Half-points, as \fs wants them.
QByteArray HalfPoints(double points) { return QByteArray::number(int(std::lround(points * 2))); }

}  // namespace

QList<DocParagraph> ExportParagraphs(const QString &title, const QString &body, int filler)
{
    QList<DocParagraph> paragraphs{{QString(), kExportTitlePoints}};
    AppendText(paragraphs, QStringLiteral("\r\n") + title + QStringLiteral("\r\n"));
    paragraphs.last().points = kExportBodyPoints;
    AppendText(paragraphs, QStringLiteral("\r\n") + body + QString(qMax(0, filler), u'\r'));
    return paragraphs;
}

QByteArray ToRtf(const QList<DocParagraph> &paragraphs)
{
    // 宋体 in the GBK code page of the font's character set (134), with its
    // Latin name as the alternative.
    QByteArray out =
        "{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1\r\n"
        "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5{\\*\\falt SimSun};}}\r\n";
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        const DocParagraph &p = paragraphs.at(i);
        out += "\\pard\\qc\\plain\\f0\\fs" + HalfPoints(p.points) + ' ';
        AppendEscaped(out, p.text);
        // The last paragraph is the document's own final one: no \par.
        out += i + 1 < paragraphs.size() ? "\\par\r\n" : "\r\n";
    }
    out += "}\r\n";
    return out;
}

bool WriteDocument(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    // The writer's poems: readable by the writer alone, whatever the umask.
    if (file.open(QIODevice::WriteOnly) && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = QStringLiteral("无法写入文件：") + QFileInfo(path).absoluteFilePath() + QStringLiteral("（")
                 + file.errorString() + QStringLiteral("）");
    return false;
}

}  // namespace versilo
