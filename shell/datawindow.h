// SPDX-License-Identifier: GPL-3.0-or-later
// The base of every window that uses the DataStore: one load step for all
// (connect, new recordset, place at the launcher, reload), and factories for
// the parts every such window has: the background picture, picture buttons,
// grey labels.
//
//   class Form9 : public DataWindow {
//       Form9() : DataWindow(window::kWorksManager, 13095, 8775) {
//           AddBackground(QStringLiteral("Image7"));
//           AddButton(QStringLiteral("Image4"), QStringLiteral("下一页"), 9540, 7920, [this] { ... });
//           ...
//           Load();   // last: connects, places and calls Reload()
//       }
//       void Reload() override { ReadAll(Rs(), ..., works_); grid_->Reload(...); }
//   };
#pragma once

#include <QString>

#include "widgets.h"

namespace versilo {

class AppContext;
class Recordset;

class DataWindow : public VersiloWindow {
    Q_OBJECT
public:
    DataWindow(const QString &name, double widthTwips, double heightTwips, QWidget *parent = nullptr);

protected:
    // The load step, run at the end of the window's constructor: connect the
    // DataStore, new recordset, move to the launcher's top-left, Reload().
    // False when the store cannot be opened (its message has been shown);
    // Reload still runs and finds nothing.
    bool Load();
    // Reads the window's tables and shows them. Runs at load; windows call it
    // again after a change.
    virtual void Reload() {}

    static AppContext &App();
    static Recordset &Rs();   // the shared recordset

    // The background picture over the whole client area (it lets the mouse
    // through to the window, so the window is dragged by it).
    BackgroundPicture *AddBackground(const QString &name, double widthTwips = 13095,
                                     double heightTwips = 8775, double leftTwips = 0);
    // A picture button at (left, top), 1305 x 405 unless given.
    PictureButton *AddButton(const QString &name, const QString &text, double left, double top,
                             bool pressedLook = true, double width = 1305, double height = 405);
    template <class Handler>
    PictureButton *AddButton(const QString &name, const QString &text, double left, double top,
                             Handler onClick, bool pressedLook = true)
    {
        PictureButton *b = AddButton(name, text, left, top, pressedLook);
        connect(b, &PictureButton::clicked, this, onClick);
        return b;
    }
    // A grey list label (light grey behind black 宋体 10.5 text).
    ClickLabel *AddGreyLabel(const QString &name, double left, double top, double width, double height);

    // Closes (destroys) or hides this window through the registry.
    void CloseWindow();
    void HideWindow();
};

}  // namespace versilo
