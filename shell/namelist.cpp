// SPDX-License-Identifier: GPL-3.0-or-later
#include "namelist.h"

#include <QMouseEvent>

#include "art.h"
#include "labelfocus.h"
#include "listlook.h"
#include "twips.h"
#include "widgets.h"

namespace versilo {

NameList::NameList(QWidget *window, const QString &name, const NameListLayout &layout, TextAt text)
    : QObject(window), thumbLeft_(layout.thumbLeft), scroll_(layout.rules), text_(std::move(text))
{
    QList<QLabel *> plain;
    for (int i = 0; i < layout.labels; ++i) {
        auto *label = new ClickLabel(name + QStringLiteral("_%1").arg(i), window);
        label->setGeometry(TwRect(layout.left, layout.top + layout.rowStep * i, layout.width, layout.height));
        SetListLook(label, layout.fontPoints, layout.grey);
        connect(label, &ClickLabel::clicked, this, [this, i] { emit clicked(i); });
        labels_.append(label);
        plain.append(label);
    }
    InstallHoverHighlight(plain);
    focus_ = new LabelFocus(labels_, GridShape{1, layout.labels, true}, this,
                            [this](int from, GridMove move) { ScrollAtEdge(from, move); });

    thumb_ = new ClickLabel(layout.thumbName, window);
    thumb_->setFrameShape(QFrame::Box);
    thumb_->setAutoFillBackground(true);
    QPalette pal = thumb_->palette();
    pal.setColor(QPalette::Window, ink::kSlip);
    pal.setColor(QPalette::WindowText, ink::kGreyInk);
    thumb_->setPalette(pal);
    thumb_->installEventFilter(this);
    PlaceThumb();

    if (!layout.upName.isEmpty()) {
        up_ = new PictureButton(layout.upName, QStringLiteral("▲"), PictureButton::Orientation::Horizontal,
                                window, false);
        up_->setGeometry(TwRect(layout.upLeft, layout.upTop, kThumbSize, kThumbSize));
        connect(up_, &PictureButton::clicked, this, &NameList::ScrollUp);
        down_ = new PictureButton(layout.downName, QStringLiteral("▼"), PictureButton::Orientation::Horizontal,
                                  window, false);
        down_->setGeometry(TwRect(layout.downLeft, layout.downTop, kThumbSize, kThumbSize));
        connect(down_, &PictureButton::clicked, this, &NameList::ScrollDown);
    }
}

void NameList::PlaceThumb()
{
    thumb_->setGeometry(TwRect(thumbLeft_, scroll_.ThumbTop(), kThumbSize, kThumbSize));
}

void NameList::Reload(int count) { Reload(count, scroll_.Rules().resetTop); }

void NameList::Reload(int count, double thumbTop)
{
    scroll_.Reset(count, thumbTop);
    PlaceThumb();
    Show();
}

void NameList::Show()
{
    focus_->Fill([this](int i) { return text_ ? text_(scroll_.At(i)) : QString(); });
}

void NameList::ScrollAtEdge(int from, GridMove move)
{
    // The focus stays on its label, which then shows the entry before or after.
    if (move == GridMove::Up && from == 0 && Start() > 0)
        ScrollUp();
    else if (move == GridMove::Down && from == Size() - 1 && PositionOf(from) + 1 < scroll_.Count())
        ScrollDown();
}

void NameList::ScrollUp()
{
    scroll_.Up();
    PlaceThumb();
    Show();
}

void NameList::ScrollDown()
{
    scroll_.Down();
    PlaceThumb();
    Show();
}

void NameList::DragThumbTo(double top)
{
    if (!scroll_.DragTo(top))
        return;
    PlaceThumb();
    Show();
}

bool NameList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != thumb_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        dragging_ = true;
        grabY_ = Twips(static_cast<QMouseEvent *>(event)->position().toPoint().y());
        return true;
    case QEvent::MouseMove:
        if (dragging_) {
            const double y = Twips(static_cast<QMouseEvent *>(event)->position().toPoint().y());
            DragThumbTo(y - grabY_ + scroll_.ThumbTop());
        }
        return true;
    case QEvent::MouseButtonRelease:
        dragging_ = false;
        return true;
    default:
        return false;
    }
}

}  // namespace versilo
