#include "labelgrid.h"

#include <QKeyEvent>

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
    : QObject(window), pager_(step), text_(std::move(text)),
      shape_{layout.columns, layout.rows, layout.columnMajor}
{
    const int size = layout.columns * layout.rows;
    for (int i = 0; i < size; ++i) {
        const int column = layout.columnMajor ? i / layout.rows : i % layout.columns;
        const int row = layout.columnMajor ? i % layout.rows : i / layout.columns;
        auto *label = new ClickLabel(name + QStringLiteral("_%1").arg(i), window);
        label->setGeometry(TwRect(layout.lefts.value(column), layout.top + layout.rowStep * row,
                                  layout.width, layout.height));
        SetListLook(label, layout.fontPoints, layout.grey, layout.centred);
        label->setFocusPolicy(Qt::NoFocus);   // until it shows an entry
        label->installEventFilter(this);
        connect(label, &ClickLabel::clicked, this, [this, i] { emit clicked(i); });
        labels_.append(label);
    }

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
    int focused = -1;
    for (int i = 0; i < labels_.size(); ++i) {
        ClickLabel *label = labels_[i];
        if (label->hasFocus())
            focused = i;
        label->setText(reading ? reading(pager_.At(i)) : QString());
        label->setFocusPolicy(label->text().isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    }
    FollowFocus(focused >= 0, focused);
    if (page_) {
        page_->setText(QStringLiteral("第 %1 / %2 页")
                           .arg(pager_.PageNumber())
                           .arg(pager_.PageCount(int(labels_.size()))));
    }
}

void PagedGrid::FollowFocus(bool hadFocus, int focused)
{
    // The focus stays on its label while that shows an entry; else it goes
    // to the last entry of the page, or, on a page without entries, waits
    // for the next page that has some.
    const auto isEntry = [this](int i) { return !labels_[i]->text().isEmpty(); };
    if (!hadFocus && !focusLost_)
        return;
    if (hadFocus && isEntry(focused))
        return;
    const int to = MoveInGrid(-1, focusLost_ ? GridMove::First : GridMove::Last, shape_, isEntry);
    if (to >= 0) {
        labels_[to]->setFocus(Qt::OtherFocusReason);
        focusLost_ = false;
    } else if (hadFocus) {
        labels_[focused]->clearFocus();
        focusLost_ = true;
    }
}

bool PagedGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    GridMove move;
    switch (key->key()) {
    case Qt::Key_Up: move = GridMove::Up; break;
    case Qt::Key_Down: move = GridMove::Down; break;
    case Qt::Key_Left: move = GridMove::Left; break;
    case Qt::Key_Right: move = GridMove::Right; break;
    case Qt::Key_Home: move = GridMove::First; break;
    case Qt::Key_End: move = GridMove::Last; break;
    default: return false;
    }
    const int from = int(labels_.indexOf(static_cast<ClickLabel *>(watched)));
    const int to = MoveInGrid(from, move, shape_, [this](int i) { return !labels_[i]->text().isEmpty(); });
    if (to >= 0 && to != from)
        labels_[to]->setFocus(Qt::OtherFocusReason);
    return true;
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
