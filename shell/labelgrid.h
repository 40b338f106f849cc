// SPDX-License-Identifier: GPL-3.0-or-later
// A paged grid of list labels: columns x rows of ClickLabels named
// name + "_" + index, laid out in twips, showing one page of a list through
// a Pager. The window says how a list position reads; a click reports the
// label index and the list position it shows.
//
// The keyboard reaches the entries: labels that show an entry take the
// focus (Tab in list order, the arrow keys across the grid, Home and End),
// and Return, Enter or Space on one is a click. A page indicator
// "第 2 / 5 页" (object name "PageIndicator") follows the paging; it stands
// above the grid's last column unless the window places it elsewhere.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

#include "gridfocus.h"
#include "pager.h"

class QLabel;
class QWidget;

namespace versilo {

class ClickLabel;
class LabelFocus;

struct GridLayout {
    int columns = 1;
    int rows = 1;
    QList<double> lefts;       // left of each column, twips
    double top = 0;            // top of the first row
    double rowStep = 0;        // from one row's top to the next
    double width = 0;          // label size
    double height = 0;
    bool columnMajor = true;   // indexes fill a column top to bottom first; else a row left to right
    bool grey = false;         // the grey list look
    double fontPoints = 10.5;  // 宋体
    bool centred = false;      // text centred instead of left with a small indent
};

// The page indicator's text: "第 2 / 5 页", or on the empty page past the
// end "末页之后 / 共 5 页".
QString PageIndicatorText(const Pager &pager, int pageSize);

class PagedGrid : public QObject {
    Q_OBJECT
public:
    using TextAt = std::function<QString(int position)>;

    // `step` is the paging step (as a rule the label count minus one).
    PagedGrid(QWidget *window, const QString &name, const GridLayout &layout, int step, TextAt text);

    int Size() const { return int(labels_.size()); }
    ClickLabel *Label(int index) const { return labels_.value(index); }
    QList<QLabel *> Labels() const;
    const Pager &Paging() const { return pager_; }
    int PositionOf(int index) const { return pager_.At(index); }

    // A list read afresh: `count` entries, shown from the top (`text` as for Show).
    void Reload(int count, const TextAt &text = {});
    // The same list read again (`count` entries), on the same page.
    void SetCount(int count);
    // Label i shows the list position page start + i; `text` replaces the
    // window's reading for this once (for a placeholder, say).
    void Show(const TextAt &text = {});
    // Next page while the page start lies before the end; shown when moved.
    bool Next();
    // Previous page, never before the top; shown in every case.
    void Previous();

    // The page indicator: where it stands (twips), or none at all for a
    // window with a page label of its own.
    QLabel *PageIndicator() const { return page_; }
    void PlacePageIndicator(double left, double top, double width, double height);
    void RemovePageIndicator();

signals:
    void clicked(int index);

private:
    QList<ClickLabel *> labels_;
    Pager pager_;
    TextAt text_;
    LabelFocus *focus_ = nullptr;
    QLabel *page_ = nullptr;
};

}  // namespace versilo
