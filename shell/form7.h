// SPDX-License-Identifier: GPL-3.0-or-later
// The letter keypad: 26 letter keys that build KeypadLetters for the window
// that opened it. It does not search itself; at 返回 it closes and tells its
// opener, which runs its search with the letters.
#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

class QLineEdit;
class QPushButton;

namespace versilo {

class WindowRegistry;

class Form7 : public QWidget {
    Q_OBJECT
public:
    static constexpr int kKeys = 26;

    explicit Form7(QWidget *parent = nullptr);

    // The window that opened the keypad and the search it runs with the
    // letters: at 返回, and whenever the opener is activated (clicked) while
    // the keypad is still open.
    void SetOpener(QWidget *opener, std::function<void()> search);

    void Command2_Click(int index);   // letter key
    void Command3_Click();            // 清除
    void Command1_Click();            // 返回

protected:
    // The keyboard types as the keys do: a letter appends it, Backspace
    // takes the last one back, Delete is 清除, Return, Enter and Esc are 返回.
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // A close from the desktop is 返回.
    void closeEvent(QCloseEvent *e) override;

private:
    void ShowLetters();

    QLineEdit *text1_ = nullptr;
    QPointer<QWidget> opener_;
    std::function<void()> search_;
};

// Tells the registry how the keypad is made; every window library whose
// windows open it calls this, so each works without the others.
void RegisterKeypad(WindowRegistry &registry);

// Discards an open keypad and opens it afresh (not modal) for `opener`,
// which runs `search` with KeypadLetters as described at SetOpener.
Form7 *OpenKeypad(QWidget *opener, std::function<void()> search);

}  // namespace versilo
