// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the eleven windows, by role. A window's name is its
// objectName and its key in the window registry.
#pragma once

#include <QString>

namespace versilo::window {

inline const QString kCompose = QStringLiteral("Form1");          // composition
inline const QString kPatternBrowser = QStringLiteral("Form2");
inline const QString kWorksBrowser = QStringLiteral("Form3");
inline const QString kKnowledge = QStringLiteral("Form4");        // knowledge pages
inline const QString kLibrary = QStringLiteral("Form5");          // poetry library and authors
inline const QString kPatternManager = QStringLiteral("Form6");
inline const QString kKeypad = QStringLiteral("Form7");           // letter keypad
inline const QString kPrinting = QStringLiteral("Form8");
inline const QString kWorksManager = QStringLiteral("Form9");
inline const QString kLauncher = QStringLiteral("Form10");
inline const QString kDictionary = QStringLiteral("Form11");      // rhyme dictionary maintenance

}  // namespace versilo::window
