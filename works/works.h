// The works library: registers its windows with the window registry.
#pragma once

namespace versilo {
class WindowRegistry;
void RegisterWorksWindows(WindowRegistry &registry);   // Form3, Form8, Form9
}  // namespace versilo
