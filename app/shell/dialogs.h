// The one interface through which the program shows message boxes.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>

namespace versilo {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A question with the buttons Yes (是) and No (否); true for Yes.
    virtual bool Ask(const QString &text) = 0;
    // A message with the button OK (确定).
    virtual void Tell(const QString &text) = 0;
};

// Real modal message boxes, caption "Versilo14.0".
class MessageBoxDialogs : public Dialogs {
public:
    bool Ask(const QString &text) override;
    void Tell(const QString &text) override;
};

// For tests: answers from a script, records every text shown.
class ScriptedDialogs : public Dialogs {
public:
    std::deque<bool> answers;     // consumed by Ask in order; empty -> defaultAnswer
    bool defaultAnswer = true;
    QStringList asked;            // texts of Ask, in order
    QStringList told;             // texts of Tell, in order
    bool Ask(const QString &text) override;
    void Tell(const QString &text) override;
};

}  // namespace versilo
