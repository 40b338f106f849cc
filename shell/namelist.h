// SPDX-License-Identifier: GPL-3.0-or-later
// A scrolling name list: a column of ClickLabels named name + "_" + index,
// a thumb beside it that can be dragged, arrows above and below the thumb's
// track, and the hover highlight. The window brings the constants (twips)
// and says how a list position reads; a click reports the label index.
//
// The keyboard reaches the entries: labels that show an entry take the
// focus (Tab in list order), Up and Down move it and, at the first or last
// label shown, scroll the list by one as the arrows do; Home and End go to
// the first and last entry shown; Return, Enter or Space is a click.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

#include "gridfocus.h"
#include "listscroll.h"

class QLabel;
class QWidget;

namespace versilo {

class ClickLabel;
class LabelFocus;
class PictureButton;

struct NameListLayout {
    int labels = 20;
    double left = 0;            // first label
    double top = 0;
    double rowStep = 300;       // from one label's top to the next
    double width = 0;
    double height = 0;
    bool grey = false;
    double fontPoints = 10.5;
    QString thumbName;          // e.g. "Label21"
    double thumbLeft = 0;
    QString upName;             // e.g. "Image2"; empty: no arrows
    double upLeft = 0;
    double upTop = 0;
    QString downName;
    double downLeft = 0;
    double downTop = 0;
    ScrollRules rules;
};

class NameList : public QObject {
    Q_OBJECT
public:
    using TextAt = std::function<QString(int position)>;
    static constexpr double kThumbSize = 180;

    NameList(QWidget *window, const QString &name, const NameListLayout &layout, TextAt text);

    int Size() const { return int(labels_.size()); }
    ClickLabel *Label(int index) const { return labels_.value(index); }
    QLabel *Thumb() const { return thumb_; }
    PictureButton *UpArrow() const { return up_; }
    PictureButton *DownArrow() const { return down_; }
    const ListScroll &Scroll() const { return scroll_; }
    int Start() const { return scroll_.Start(); }
    int PositionOf(int index) const { return scroll_.At(index); }

    // A list read afresh: `count` entries from the top, the thumb at its
    // reset top (or at `thumbTop`), shown.
    void Reload(int count);
    void Reload(int count, double thumbTop);
    // Label i shows list position start + i.
    void Show();
    // The arrows and the thumb, as the mouse works them.
    void ScrollUp();
    void ScrollDown();
    void DragThumbTo(double top);

signals:
    void clicked(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void PlaceThumb();
    void ScrollAtEdge(int from, GridMove move);

    QList<ClickLabel *> labels_;
    QLabel *thumb_ = nullptr;
    PictureButton *up_ = nullptr;
    PictureButton *down_ = nullptr;
    double thumbLeft_ = 0;
    ListScroll scroll_;
    TextAt text_;
    LabelFocus *focus_ = nullptr;
    bool dragging_ = false;
    double grabY_ = 0;   // twips inside the thumb
};

}  // namespace versilo
