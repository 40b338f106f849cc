// SPDX-License-Identifier: GPL-3.0-or-later
// The works library: registers its windows with the window registry.
#pragma once

#include <QString>

namespace versilo {
class WindowRegistry;
void RegisterWorksWindows(WindowRegistry &registry);   // Form3, Form8, Form9

// What a list of works shows for a title: the title, or for a work stored
// without one (empty, blanks only or null) a stand-in, so that the work can
// still be chosen, opened, given a title or deleted.
inline const QString kUntitledWork = QStringLiteral("（无标题）");
QString ListedTitle(const QString &title);
}  // namespace versilo
