// SPDX-License-Identifier: GPL-3.0-or-later
// The one interface through which the program shows message boxes.
#pragma once

#include <QString>
#include <QList>
#include <QStringList>
#include <deque>

namespace versilo {

// The button a question offers for Return (and Enter).
enum class Preselect { Yes, No };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A question with the buttons Yes (是) and No (否); true for Yes.
    // Return answers 否 unless the question says otherwise: a question
    // asks before something is done, and a stray key must not do it.
    // Questions whose 是 loses nothing (save this, insert that) may
    // preselect Yes.
    bool Ask(const QString &text) { return Ask(text, Preselect::No); }
    virtual bool Ask(const QString &text, Preselect preselect) = 0;
    // A message with the button OK (确定).
    virtual void Tell(const QString &text) = 0;
};

// Real modal message boxes, caption "Versilo14.0".
class MessageBoxDialogs : public Dialogs {
public:
    using Dialogs::Ask;
    bool Ask(const QString &text, Preselect preselect) override;
    void Tell(const QString &text) override;
};

// For tests: answers from a script, records every text shown.
class ScriptedDialogs : public Dialogs {
public:
    std::deque<bool> answers;     // consumed by Ask in order; empty -> defaultAnswer
    bool defaultAnswer = true;
    QStringList asked;            // texts of Ask, in order
    QStringList told;             // texts of Tell, in order
    QList<Preselect> preselected; // the button each Ask offered for Return
    using Dialogs::Ask;
    bool Ask(const QString &text, Preselect preselect) override;
    void Tell(const QString &text) override;
};

}  // namespace versilo
