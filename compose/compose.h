// SPDX-License-Identifier: GPL-3.0-or-later
// The composition workspace: registers Form1 with the window registry.
#pragma once

namespace versilo {
class WindowRegistry;
void RegisterComposeWindows(WindowRegistry &registry);   // Form1
}  // namespace versilo
