// SPDX-License-Identifier: GPL-3.0-or-later
// Application-wide state: the DataStore, the message boxes, the window
// registry, and the few values one window writes and another reads.
#pragma once

#include <QString>
#include <memory>

#include "datastore.h"

class QWidget;

namespace versilo {

class Dialogs;
class WindowRegistry;

class AppContext {
public:
    static AppContext &Instance();

    // The one DataStore of the program (tests point it at a temporary folder).
    DataStore &Store();
    // Every message box goes through here; tests install a scripted one.
    Dialogs &Dialog();
    void SetDialogs(Dialogs *dialogs);   // not owned; nullptr restores the real boxes
    WindowRegistry &Windows();

    // Written by Form1 before it opens Form2, read by Form2 at load.
    QString patternBook;
    // The letters typed on the keypad (Form7), read by its opener.
    QString keypadLetters;
    bool poemSearchPending = false;
    bool authorSearchPending = false;

    // Back to the state of a fresh start (tests): closes every window,
    // empties the values above. The store location stays.
    void Reset();

private:
    AppContext();
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace versilo
