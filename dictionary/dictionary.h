// SPDX-License-Identifier: GPL-3.0-or-later
// Dictionary maintenance: registers its window with the window registry.
#pragma once

namespace versilo {
class WindowRegistry;
void RegisterDictionaryWindows(WindowRegistry &registry);   // Form11 and the keypad Form7
}  // namespace versilo
