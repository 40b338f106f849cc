// SPDX-License-Identifier: GPL-3.0-or-later
// The reference library's windows: registers them with the window registry.
#pragma once

namespace versilo {
class WindowRegistry;
void RegisterReferenceWindows(WindowRegistry &registry);   // Form4, Form5 and the keypad Form7
}  // namespace versilo
