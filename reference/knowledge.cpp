// SPDX-License-Identifier: GPL-3.0-or-later
#include "knowledge.h"

#include <algorithm>

#include "datastore.h"

namespace versilo {

QString PageNumberCaption(int page)
{
    return QStringLiteral("第 ") + QString::number(page) + QStringLiteral(" 页");
}

int NextPage(int current, int count) { return std::min(current + 1, count); }

int PreviousPage(int current) { return std::max(current - 1, 1); }

int PageAfterDelete(int current, int count) { return current == count + 1 ? count : current; }

int InsertTarget(int current, InsertWhere where)
{
    return where == InsertWhere::Before ? std::max(current, 1) : current + 1;
}

int PageAfterInsert(int current, InsertWhere where) { return InsertTarget(current, where); }

std::vector<PageContent> MoveLastPageTo(std::vector<PageContent> pages, int target)
{
    const int count = int(pages.size());
    if (count == 0 || target >= count)
        return pages;
    const int at = std::max(target, 1) - 1;
    std::rotate(pages.begin() + at, pages.end() - 1, pages.end());
    return pages;
}

bool ReadPages(Recordset &rs, std::vector<PageRow> &pages, QString *error)
{
    return ReadAll(rs, QStringLiteral("select *from 常识"), {}, pages, error);
}

bool InsertBlankPage(DataStore &store, int target, QString *error)
{
    StoreTransaction tx(store);
    if (!tx.Active()) {
        *error = tx.LastError();
        return false;
    }
    Recordset &rs = store.Rs();
    PageRow blank{0, kBlankPageTitle, kBlankPageText};
    std::vector<PageRow> rows;
    if (!InsertRow(rs, kPagesTable, blank, {}, error) || !ReadPages(rs, rows, error))
        return false;

    std::vector<PageContent> contents;
    contents.reserve(rows.size());
    for (const PageRow &row : rows)
        contents.push_back({row.title, row.content});
    contents = MoveLastPageTo(std::move(contents), target);
    for (size_t n = 0; n < rows.size(); ++n) {
        rows[n].title = contents[n].title;
        rows[n].content = contents[n].text;
        if (!UpdateRow(rs, kPagesTable, rows[n], {}, error))
            return false;
    }
    if (!tx.Commit()) {
        *error = tx.LastError();
        return false;
    }
    return true;
}

}  // namespace versilo
