#include "knowledge.h"

#include <algorithm>

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

}  // namespace versilo
