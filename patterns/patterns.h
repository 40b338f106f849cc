// SPDX-License-Identifier: GPL-3.0-or-later
// The ci-pattern library: registers its windows with the window registry.
#pragma once

namespace versilo {
class WindowRegistry;
void RegisterPatternWindows(WindowRegistry &registry);   // Form2, Form6
}  // namespace versilo
