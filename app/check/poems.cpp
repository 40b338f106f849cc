// SPDX-License-Identifier: GPL-3.0-or-later
#include "poems.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <cstdio>
#include <optional>

namespace versilo::check {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

bool IsBlankChar(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\u3000';
}

bool IsBlankLine(const QString &line)
{
    return std::all_of(line.begin(), line.end(), IsBlankChar);
}

bool HasClausePunctuation(const QString &line)
{
    static const QString marks = QStringLiteral("，。？！；：、,.?!;:");
    return std::any_of(line.begin(), line.end(), [](QChar c) { return marks.contains(c); });
}

QString Trimmed(const QString &line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && IsBlankChar(line.at(begin)))
        ++begin;
    while (end > begin && IsBlankChar(line.at(end - 1)))
        --end;
    return line.mid(begin, end - begin);
}

// The title a first line names, or nothing when it is a verse line.
std::optional<QString> TitleOf(const QString &first, const QString &second)
{
    const QString t = Trimmed(first);
    if (t.startsWith(u'#'))
        return Trimmed(t.mid(1));
    if (t.startsWith(u'《')) {
        const qsizetype close = t.indexOf(u'》');
        if (close > 0)
            return t.mid(1, close - 1);
    }
    if (!HasClausePunctuation(t) && HasClausePunctuation(second))
        return t;
    return std::nullopt;
}

}  // namespace

std::optional<QString> ReadBoxText(const QString &path, QString *error)
{
    QFile file;
    bool opened;
    if (path == "-") {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened) {
        *error = "cannot read " + (path == "-" ? QStringLiteral("standard input") : path) + ": "
                 + file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        *error = (path == "-" ? QStringLiteral("standard input") : path) + " is not valid UTF-8";
        return std::nullopt;
    }
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' && (i == 0 || text.at(i - 1) != u'\r'))
            out.append(u'\r');
        out.append(c);
    }
    return out;
}

QStringList ExpandInputs(const QStringList &args, QStringList *missing)
{
    QStringList files;
    for (const QString &a : args) {
        const QFileInfo info(a);
        if (a == "-" || info.isFile()) {
            files.append(a);
        } else if (info.isDir()) {
            QStringList inside;
            QDirIterator it(a, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext())
                inside.append(it.next());
            std::sort(inside.begin(), inside.end());
            files.append(inside);
        } else {
            missing->append(a);
        }
    }
    return files;
}

bool IsBlankText(const QString &text)
{
    return IsBlankLine(text);
}

QList<PoemInput> SplitPoems(const QString &text, const QString &source)
{
    const QStringList lines = text.split(kCrLf);
    QList<PoemInput> poems;
    QStringList block;
    const auto close = [&] {
        if (block.isEmpty())
            return;
        PoemInput p;
        p.source = source + "#" + QString::number(poems.size() + 1);
        if (block.size() > 1) {
            if (const std::optional<QString> title = TitleOf(block.at(0), block.at(1))) {
                p.title = *title;
                block.removeFirst();
            }
        }
        p.text = block.join(kCrLf);
        poems.append(p);
        block.clear();
    };
    for (const QString &line : lines) {
        if (IsBlankLine(line))
            close();
        else
            block.append(line);
    }
    close();
    return poems;
}

}  // namespace versilo::check
