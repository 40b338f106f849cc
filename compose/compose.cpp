// SPDX-License-Identifier: GPL-3.0-or-later
#include "compose.h"

#include "form1.h"
#include "windowregistry.h"

namespace versilo {

void RegisterComposeWindows(WindowRegistry &registry)
{
    registry.Register(window::kCompose, [] { return new Form1; });
}

}  // namespace versilo
