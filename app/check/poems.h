// SPDX-License-Identifier: GPL-3.0-or-later
// The poems versilo-check is given: files, folders and standard input, one
// poem a file, or several in one file separated by blank lines.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace versilo::check {

struct PoemInput {
    QString source;   // the file ("-" standard input), with "#n" for the n-th poem of a file
    QString title;    // from the poem's title line; "" when it has none
    QString text;     // as the poem box holds it: CR LF between lines
};

// A file as a text box holds it: every line end (LF or CR LF) becomes CR LF;
// nothing else changes. "-" reads standard input. Nothing when the file
// cannot be read or is not UTF-8 (*error says which).
std::optional<QString> ReadBoxText(const QString &path, QString *error);

// The files the arguments name, in order: a file as it is, a folder as the
// files within it and its subfolders (hidden ones left out), sorted by path.
// An argument that is neither is reported in *missing.
QStringList ExpandInputs(const QStringList &args, QStringList *missing);

// True when the text holds nothing but blanks and line breaks.
bool IsBlankText(const QString &text);

// The poems of one file whose poems are separated by blank lines. A poem's
// first line is its title when it is written 《title》 or "# title", or
// when it has no clause punctuation (，。？！；：、) while the next line has.
QList<PoemInput> SplitPoems(const QString &text, const QString &source);

}  // namespace versilo::check
