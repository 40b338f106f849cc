// SPDX-License-Identifier: GPL-3.0-or-later
#include "labelfocus.h"

#include <QKeyEvent>

#include "widgets.h"

namespace versilo {

LabelFocus::LabelFocus(const QList<ClickLabel *> &labels, const GridShape &shape, QObject *parent, AtEdge atEdge)
    : QObject(parent), labels_(labels), shape_(shape), atEdge_(std::move(atEdge))
{
    for (ClickLabel *label : labels_) {
        label->setFocusPolicy(Qt::NoFocus);   // until it shows an entry
        label->installEventFilter(this);
    }
}

bool LabelFocus::IsEntry(int i) const
{
    return !labels_[i]->text().isEmpty();
}

void LabelFocus::Fill(const std::function<QString(int)> &textOf)
{
    int focused = -1;
    for (int i = 0; i < labels_.size(); ++i) {
        ClickLabel *label = labels_[i];
        if (label->hasFocus())
            focused = i;
        label->setText(textOf(i));
        label->setFocusPolicy(label->text().isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    }
    const bool hadFocus = focused >= 0;
    if ((!hadFocus && !focusLost_) || (hadFocus && IsEntry(focused)))
        return;
    const auto isEntry = [this](int i) { return IsEntry(i); };
    const int to = MoveInGrid(-1, focusLost_ ? GridMove::First : GridMove::Last, shape_, isEntry);
    if (to >= 0) {
        labels_[to]->setFocus(Qt::OtherFocusReason);
        focusLost_ = false;
    } else if (hadFocus) {
        labels_[focused]->clearFocus();
        focusLost_ = true;
    }
}

bool LabelFocus::eventFilter(QObject *watched, QEvent *event)
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
    const int to = MoveInGrid(from, move, shape_, [this](int i) { return IsEntry(i); });
    if (to >= 0 && to != from)
        labels_[to]->setFocus(Qt::OtherFocusReason);
    else if (from >= 0 && to == from && atEdge_)
        atEdge_(from, move);
    return true;
}

}  // namespace versilo
