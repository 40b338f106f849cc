// SPDX-License-Identifier: GPL-3.0-or-later
// The table gateway: one row type per table, and the few ways rows move
// between a table and a window: read every row of a query, read its first
// row, add a row, change or delete the row of an id. Everything goes through
// the shared recordset, which is closed again before a call returns.
//
// Reads take the SQL text the window sends ("select *from 作品 where 篇名=?")
// with its values; a read fails when the result lacks a column of the row
// type. Writes address the table by name and the row by `id`; `columns`
// names the columns written (none: every column but `id`).
#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <vector>

namespace versilo {

class Recordset;
struct DictionaryRow;   // rhymedict.h

// Column names of the eight tables.
namespace column {
inline const QString kId = QStringLiteral("id");
inline const QString kTitle = QStringLiteral("篇名");        // 作品, pattern books
inline const QString kText = QStringLiteral("正文");         // 作品, pattern books, 诗词库
inline const QString kPattern = QStringLiteral("格律");      // 作品, pattern books
inline const QString kTuneName = QStringLiteral("词牌名");   // 作品
inline const QString kBookName = QStringLiteral("词谱名");   // 作品
inline const QString kAuthor = QStringLiteral("作者");       // 作品, 诗词库
inline const QString kTime = QStringLiteral("时间");         // 作品
inline const QString kHeading = QStringLiteral("标题");      // 常识, 诗词库
inline const QString kContent = QStringLiteral("内容");      // 常识
inline const QString kInitials = QStringLiteral("拼音");     // 诗词库, 作者, dictionaries
inline const QString kName = QStringLiteral("姓名");         // 作者
inline const QString kDynasty = QStringLiteral("朝代");      // 作者
inline const QString kYear = QStringLiteral("年代");         // 作者
inline const QString kHanzi = QStringLiteral("汉字");        // dictionaries
inline const QString kTone = QStringLiteral("平仄");         // dictionaries
inline const QString kGroup = QStringLiteral("韵调");        // dictionaries
}  // namespace column

// The tables of fixed name (the pattern books and dictionaries are named by
// kCommonBook, kBaixiangBook, kNewRhyme, kPingshui).
inline const QString kWorksTable = QStringLiteral("作品");
inline const QString kPagesTable = QStringLiteral("常识");
inline const QString kLibraryTable = QStringLiteral("诗词库");
inline const QString kAuthorsTable = QStringLiteral("作者");

// A row of 作品. Stored forms: `正文` with "|", `格律` with "-".
struct WorkRow {
    qint64 id = 0;
    QString title;         // 篇名 (null reads "")
    QString poem;          // 正文
    QString pattern;       // 格律
    QString tuneName;      // 词牌名
    QString patternBook;   // 词谱名
    QString author;        // 作者
    QString time;          // 时间
};

// A row of 常用词谱 or 白香词谱 (stored forms, "-" for line breaks).
struct TuneRow {
    qint64 id = 0;
    QString name;          // 篇名
    QString pattern;       // 格律
    QString explanation;   // 正文
};

// A row of 常识.
struct PageRow {
    qint64 id = 0;
    QString title;     // 标题
    QString content;   // 内容
};

// A row of 诗词库.
struct LibraryPoemRow {
    qint64 id = 0;
    QString title;      // 标题
    QString author;     // 作者
    QString text;       // 正文
    QString initials;   // 拼音
};

// A row of 作者.
struct AuthorRow {
    qint64 id = 0;
    QString name;       // 姓名
    QString dynasty;    // 朝代
    double year = 0;    // 年代 (null reads 0)
    QString initials;   // 拼音
};

// Every row of the result of `sql`, opened read-only, in the store's order;
// `rows` is emptied first. False (and *error) when the query fails.
template <class Row>
bool ReadAll(Recordset &rs, const QString &sql, const QVariantList &params, std::vector<Row> &rows,
             QString *error = nullptr);

// The first row of the result. False when there is none (*error stays
// empty) or the query fails (*error says why); `row` is then default.
template <class Row>
bool ReadFirst(Recordset &rs, const QString &sql, const QVariantList &params, Row &row,
               QString *error = nullptr);

// Adds `row` to `table` ("select *from " + table, AddNew, Update); its
// `id` is set to the one the store gave. False when `columns` names a
// column the row type lacks (nothing is then added).
template <class Row>
bool InsertRow(Recordset &rs, const QString &table, Row &row, const QStringList &columns = {},
               QString *error = nullptr);

// Writes `row` over the row of `table` whose id is row.id ("select *from " +
// table + " where id=?"). False when no row has that id, or when `columns`
// names a column the row type lacks (nothing is then written).
template <class Row>
bool UpdateRow(Recordset &rs, const QString &table, const Row &row, const QStringList &columns = {},
               QString *error = nullptr);

// Deletes the row of `table` whose id is `id`. False when there is none.
bool DeleteRow(Recordset &rs, const QString &table, qint64 id, QString *error = nullptr);

// Deletes the first row of the result of `sql` (opened for change), as
// "select *from 作品 where 篇名 is  null" does. False when the result is
// empty (*error stays empty) or the query fails.
bool DeleteFirst(Recordset &rs, const QString &sql, const QVariantList &params = {},
                 QString *error = nullptr);

}  // namespace versilo
