// SPDX-License-Identifier: GPL-3.0-or-later
#include "management.h"

#include "initials.h"
#include "prosody.h"

namespace versilo {

double LeadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    const auto isDigit = [&](qsizetype k) { return k < text.size() && text.at(k) >= u'0' && text.at(k) <= u'9'; };
    qsizetype digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text.at(i) == u'.' && isDigit(i + 1)) {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    return text.mid(start, i - start).toDouble();
}

bool ChangeWork(Recordset &rs, qint64 id, const WorkFields &fields, WorkRow &row, QString *error)
{
    WorkRow changed = row;
    changed.id = id;
    changed.title = TrimBlanks(fields.title);
    changed.poem = StoredPoem(fields.poem);
    changed.author = TrimBlanks(fields.author);
    changed.time = TrimBlanks(fields.time);
    QString why;
    if (!UpdateRow(rs, kWorksTable, changed, {column::kTitle, column::kText, column::kAuthor, column::kTime}, &why)) {
        if (error)
            *error = why.isEmpty() ? QStringLiteral("这首作品已不在数据库中。") : why;
        return false;
    }
    row = changed;
    return true;
}

LibraryAdd AddToLibrary(Recordset &rs, const WorkFields &fields)
{
    LibraryAdd result;
    QString why;
    AuthorRow known;
    if (fields.author.trimmed().isEmpty()) {
        // No author: the poem goes in without one, no nameless author is made.
    } else if (ReadFirst(rs, QStringLiteral("select *from 作者 where 姓名=?"), {fields.author}, known, &why)) {
        // Known already: nothing to add.
    } else if (why.isEmpty()) {
        AuthorRow author;
        author.name = fields.author;
        author.dynasty = QStringLiteral("---");
        author.year = LeadingNumber(fields.time);
        author.initials = PinyinInitials(fields.author);
        result.authorAdded = InsertRow(rs, kAuthorsTable, author, {}, &why);
    }
    if (!why.isEmpty())
        result.error = QStringLiteral("作者未能加入（") + why + QStringLiteral("）。");

    LibraryPoemRow poem;
    poem.text = fields.poem;
    poem.title = fields.title;
    poem.author = fields.author;
    poem.initials = PinyinInitials(fields.title);
    why.clear();
    result.poemAdded = InsertRow(rs, kLibraryTable, poem, {}, &why);
    if (!result.poemAdded)
        result.error += QStringLiteral("诗词未能加入（") + why + QStringLiteral("）。");
    return result;
}

}  // namespace versilo
