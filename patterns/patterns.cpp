// SPDX-License-Identifier: GPL-3.0-or-later
#include "patterns.h"

#include "form2.h"
#include "form6.h"
#include "windowregistry.h"

namespace versilo {

void RegisterPatternWindows(WindowRegistry &registry)
{
    registry.Register(window::kPatternBrowser, [] { return new Form2; });
    registry.Register(window::kPatternManager, [] { return new Form6; });
}

}  // namespace versilo
