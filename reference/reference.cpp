// SPDX-License-Identifier: GPL-3.0-or-later
#include "reference.h"

#include "form4.h"
#include "form5.h"
#include "form7.h"
#include "windownames.h"
#include "windowregistry.h"

namespace versilo {

void RegisterReferenceWindows(WindowRegistry &registry)
{
    registry.Register(window::kKnowledge, [] { return new Form4; });
    registry.Register(window::kLibrary, [] { return new Form5; });
    RegisterKeypad(registry);
}

}  // namespace versilo
