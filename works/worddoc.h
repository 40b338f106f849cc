// SPDX-License-Identifier: GPL-3.0-or-later
// The word-processor document of 打开WORD文档: the chosen work's title and
// poem as an RTF document saved under the name "aa.doc", which Word and
// LibreOffice both open. No widgets.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace versilo {

inline const QString kExportFileName = QStringLiteral("aa.doc");
inline const QString kExportFont = QStringLiteral("宋体");
constexpr double kExportTitlePoints = 16.5;
constexpr double kExportBodyPoints = 10.5;
constexpr int kExportPageLines = 28;

// The CR characters that fill a page of 28 lines after the poem; lineCount
// is the count after this export raised it by one. A poem of a page or more
// gets none: the filler fills the page, it never runs on past the poem.
constexpr int ExportFiller(int lineCount)
{
    return lineCount < kExportPageLines ? kExportPageLines - lineCount : 0;
}

struct DocParagraph {
    QString text;
    double points = kExportBodyPoints;
    bool operator==(const DocParagraph &) const = default;
};

// The paragraphs as a word processor builds them: a new document's empty
// paragraph, then CR LF + title + CR LF at 16.5 points, then, at 10.5
// points, CR LF + body + `filler` CR characters. Every CR LF, CR or LF ends
// a paragraph; the last paragraph is the document's final, empty one. All
// paragraphs are centred: the body goes into the centred paragraph after
// the title and keeps its alignment.
QList<DocParagraph> ExportParagraphs(const QString &title, const QString &body, int filler);

// The paragraphs as an RTF document in 宋体, every paragraph centred.
// Text outside ASCII goes in as \uN escapes.
QByteArray ToRtf(const QList<DocParagraph> &paragraphs);

// Writes the bytes to the file in one piece (an existing file is replaced
// only when the new one is complete). False with a Chinese *error naming
// the file when it cannot be written.
bool WriteDocument(const QString &path, const QByteArray &bytes, QString *error);

}  // namespace versilo
