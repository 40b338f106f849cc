// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard over a set of list labels (a paged grid, a scrolling name
// list): only labels that show an entry take the focus (Tab in label
// order), the arrow keys, Home and End move it across the labels' grid,
// and the focus follows when the labels are filled afresh. Return, Enter
// and Space on a focused entry click it (ClickLabel's own keys).
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

#include "gridfocus.h"

namespace versilo {

class ClickLabel;

class LabelFocus : public QObject {
public:
    // An arrow that leads nowhere from label `from`: the owner may move its
    // list (and fill the labels again) instead.
    using AtEdge = std::function<void(int from, GridMove move)>;

    LabelFocus(const QList<ClickLabel *> &labels, const GridShape &shape, QObject *parent, AtEdge atEdge = {});

    // Label i reads textOf(i) and takes the focus only while that is not
    // empty. The focus stays on its label while that shows an entry; else it
    // goes to the last entry, or, when no label shows one, waits for the
    // first entry of the next filling.
    void Fill(const std::function<QString(int)> &textOf);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool IsEntry(int i) const;

    QList<ClickLabel *> labels_;
    GridShape shape_;
    AtEdge atEdge_;
    bool focusLost_ = false;   // an entry had the focus until its label emptied
};

}  // namespace versilo
