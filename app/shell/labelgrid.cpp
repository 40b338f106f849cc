#include "labelgrid.h"

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
    for (int i = 0; i < labels_.size(); ++i)
        labels_[i]->setText(reading ? reading(pager_.At(i)) : QString());
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
