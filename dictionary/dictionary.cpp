// SPDX-License-Identifier: GPL-3.0-or-later
#include "dictionary.h"

#include "form11.h"
#include "form7.h"
#include "windownames.h"
#include "windowregistry.h"

namespace versilo {

void RegisterDictionaryWindows(WindowRegistry &registry)
{
    registry.Register(window::kDictionary, [] { return new Form11; });
    RegisterKeypad(registry);
}

}  // namespace versilo
