// SPDX-License-Identifier: GPL-3.0-or-later
#include "datawindow.h"

#include "appcontext.h"
#include "art.h"
#include "listlook.h"
#include "twips.h"
#include "windowregistry.h"

namespace versilo {

DataWindow::DataWindow(const QString &name, double widthTwips, double heightTwips, QWidget *parent)
    : VersiloWindow(name, widthTwips, heightTwips, parent)
{
}

bool DataWindow::Load()
{
    const bool ok = ConnectAndPlace();
    Reload();
    return ok;
}

AppContext &DataWindow::App() { return AppContext::Instance(); }

Recordset &DataWindow::Rs() { return AppContext::Instance().Store().Rs(); }

BackgroundPicture *DataWindow::AddBackground(const QString &name, double widthTwips, double heightTwips,
                                             double leftTwips)
{
    auto *picture = new BackgroundPicture(name, WindowBackground(TwSize(widthTwips, heightTwips)), this);
    picture->setGeometry(TwRect(leftTwips, 0, widthTwips, heightTwips));
    return picture;
}

PictureButton *DataWindow::AddButton(const QString &name, const QString &text, double left, double top,
                                     bool pressedLook, double width, double height)
{
    auto *button = new PictureButton(name, text, PictureButton::Orientation::Horizontal, this, pressedLook);
    button->setGeometry(TwRect(left, top, width, height));
    return button;
}

ClickLabel *DataWindow::AddGreyLabel(const QString &name, double left, double top, double width, double height)
{
    auto *label = new ClickLabel(name, this);
    label->setGeometry(TwRect(left, top, width, height));
    SetListLook(label, 10.5, true);
    return label;
}

void DataWindow::CloseWindow() { AppContext::Instance().Windows().Close(objectName()); }

void DataWindow::HideWindow() { AppContext::Instance().Windows().Hide(objectName()); }

}  // namespace versilo
