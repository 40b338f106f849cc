// SPDX-License-Identifier: GPL-3.0-or-later
// Behaviour that keeps the writer's work safe in every window.
#pragma once

namespace versilo {

// A double-click whose first click closed (or opened) a window must not act
// on the window that then lies under the pointer: its second press, and the
// rest of that click, go nowhere. Installed once for the application by
// every VersiloWindow.
void InstallDoubleClickGuard();

// While an operation waits for another program that holds the database
// file, the wait cursor shows; it goes when the program is back in its event
// loop. Installed once by the application context.
void InstallStoreWaitCursor();

}  // namespace versilo
