// SPDX-License-Identifier: GPL-3.0-or-later
// The knowledge pages (table 常识) as a book: page numbers, paging, the new
// order of the pages when a blank page is put in, and that insert itself.
// No widgets.
//
// Page n is the n-th row in the order the table returns its rows (ascending
// `id`). Inserting a page never renumbers rows: the blank row is added at the
// end and then titles and texts move from row to row, so the ids keep their
// order.
#pragma once

#include <QString>
#include <vector>

#include "gateway.h"

namespace versilo {

class DataStore;

inline const QString kBlankPageTitle = QStringLiteral("输入标题....");
inline const QString kBlankPageText = QStringLiteral("输入内容....");

struct PageContent {
    QString title;   // 标题
    QString text;    // 内容
    bool operator==(const PageContent &) const = default;
};

// "第 " + n + " 页".
QString PageNumberCaption(int page);

// 下一页: one on, but not past the last page (an empty book gives 0).
int NextPage(int current, int count);
// 上一页: one back, but not before page 1.
int PreviousPage(int current);
// The page shown after a delete, given the page count read back: the same
// number (the page that followed moved up), or the new last page when the
// last one went.
int PageAfterDelete(int current, int count);

enum class InsertWhere { Before, After };

// Where the blank page goes: the shown page's place (before) or the place
// after it. With no page shown (page 0) "before" means before page 1.
int InsertTarget(int current, InsertWhere where);
// The page shown after the insert: the blank page.
int PageAfterInsert(int current, InsertWhere where);

// The contents of all pages once the last one (the blank page just added)
// has moved to page `target`; the pages from there on move one down. A
// target past the end leaves the order as it is.
std::vector<PageContent> MoveLastPageTo(std::vector<PageContent> pages, int target);

// Every page, in the table's order ("select *from 常识").
bool ReadPages(Recordset &rs, std::vector<PageRow> &pages, QString *error = nullptr);

// Adds a blank page and moves it to page `target` by rewriting the titles
// and texts of all rows in place, so that the ids keep their order. All of
// it is one transaction: when any write fails, the pages stay as they were
// and *error says why.
bool InsertBlankPage(DataStore &store, int target, QString *error);

}  // namespace versilo
