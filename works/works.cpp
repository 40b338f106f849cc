// SPDX-License-Identifier: GPL-3.0-or-later
#include "works.h"

#include "form3.h"
#include "form8.h"
#include "form9.h"
#include "saving.h"
#include "windowregistry.h"

namespace versilo {

void RegisterWorksWindows(WindowRegistry &registry)
{
    registry.Register(window::kWorksBrowser, [] { return new Form3; });
    registry.Register(window::kPrinting, [] { return new Form8; });
    registry.Register(window::kWorksManager, [] { return new Form9; });
}

QString ListedTitle(const QString &title) { return IsMissingTitle(title) ? kUntitledWork : title; }

}  // namespace versilo
