// SPDX-License-Identifier: GPL-3.0-or-later
#include "labelgrid.h"

#include "labelfocus.h"
#include "listlook.h"
#include "twips.h"
#include "widgets.h"

namespace versilo {

void SetGreyLook(QLabel *label)
{
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, QColor(224, 224, 224));
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
}

void SetListLook(QLabel *label, double points, bool grey, bool centred)
{
    label->setFont(SongFont(points));
    if (centred) {
        label->setAlignment(Qt::AlignCenter);
    } else {
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label->setIndent(4);
    }
    if (grey)
        SetGreyLook(label);
}

QString PageIndicatorText(const Pager &pager, int pageSize)
{
    const int pages = pager.PageCount(pageSize);
    // The empty page after the last: no page number of its own.
    if (pager.PastTheEnd())
        return QStringLiteral("末页之后 / 共 %1 页").arg(pages);
    return QStringLiteral("第 %1 / %2 页").arg(pager.PageNumber()).arg(pages);
}

PagedGrid::PagedGrid(QWidget *window, const QString &name, const GridLayout &layout, int step, TextAt text)
    : QObject(window), pager_(step), text_(std::move(text))
{
    const int size = layout.columns * layout.rows;
    for (int i = 0; i < size; ++i) {
        const int column = layout.columnMajor ? i / layout.rows : i % layout.columns;
        const int row = layout.columnMajor ? i % layout.rows : i / layout.columns;
        auto *label = new ClickLabel(name + QStringLiteral("_%1").arg(i), window);
        label->setGeometry(TwRect(layout.lefts.value(column), layout.top + layout.rowStep * row,
                                  layout.width, layout.height));
        SetListLook(label, layout.fontPoints, layout.grey, layout.centred);
        connect(label, &ClickLabel::clicked, this, [this, i] { emit clicked(i); });
        labels_.append(label);
    }
    focus_ = new LabelFocus(labels_, GridShape{layout.columns, layout.rows, layout.columnMajor}, this);

    // Unless the window places it: right-aligned above the last column.
    page_ = new QLabel(window);
    page_->setObjectName(QStringLiteral("PageIndicator"));
    page_->setFont(SongFont(10.5));
    page_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    page_->setAttribute(Qt::WA_TransparentForMouseEvents);   // the window drags there
    const double right = layout.lefts.value(layout.columns - 1) + layout.width;
    PlacePageIndicator(right - 2400, std::max(0.0, layout.top - 345), 2400, 315);
}

void PagedGrid::PlacePageIndicator(double left, double top, double width, double height)
{
    if (page_)
        page_->setGeometry(TwRect(left, top, width, height));
}

void PagedGrid::RemovePageIndicator()
{
    delete page_;
    page_ = nullptr;
}

QList<QLabel *> PagedGrid::Labels() const
{
    QList<QLabel *> out;
    for (ClickLabel *l : labels_)
        out.append(l);
    return out;
}

void PagedGrid::Reload(int count, const TextAt &text)
{
    pager_.Reset(count);
    Show(text);
}

void PagedGrid::SetCount(int count)
{
    pager_.SetCount(count);
    Show();
}

void PagedGrid::Show(const TextAt &text)
{
    const TextAt &reading = text ? text : text_;
    focus_->Fill([&](int i) { return reading ? reading(pager_.At(i)) : QString(); });
    if (page_)
        page_->setText(PageIndicatorText(pager_, int(labels_.size())));
}

bool PagedGrid::Next()
{
    if (!pager_.Next())
        return false;
    Show();
    return true;
}

void PagedGrid::Previous()
{
    pager_.Previous();
    Show();
}

}  // namespace versilo
