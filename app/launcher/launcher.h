// SPDX-License-Identifier: GPL-3.0-or-later
// The launcher Form10: the first window, open beneath all others until the
// program ends. Its picture buttons open the other windows afresh.
#pragma once

#include <QUrl>
#include <functional>

#include "widgets.h"

class QApplication;

namespace versilo {

class WindowRegistry;

// Versilo has no web page of its own: 软件更新 opens the writer's guide that
// came with the program, installed (<prefix>/share/doc/versilo/guide.md) or
// beside the build folder (docs/guide.md). Empty when neither is there.
QUrl WritersGuide(const QString &programDir);

class Form10 : public VersiloWindow {
    Q_OBJECT
public:
    explicit Form10(QWidget *parent = nullptr);

    // What 结束退出 does; by default the program ends at once. Tests put
    // their own here to watch it happen.
    void SetEndAction(std::function<void()> end) { end_ = std::move(end); }
    // How 软件更新 asks the desktop to open a web page (result ignored).
    void SetUrlOpener(std::function<void(const QUrl &)> open) { openUrl_ = std::move(open); }

    // The ending the program uses: every window disappears, the event loop
    // ends, no handler of any window runs any more.
    static void EndProgram();

    // The picture buttons that take the keyboard focus, in reading order
    // (right to left): Tab and the arrow keys go along them.
    const QList<PictureButton *> &KeyButtons() const { return keyButtons_; }

protected:
    // Closing the launcher from the desktop ends the program, as 结束退出 does.
    void closeEvent(QCloseEvent *e) override;
    // Left and Down go on to the next button in reading order, Right and Up
    // back; at either end the focus wraps round.
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    void OpenAfresh(const QString &form);
    void Image2_MouseUp();
    void Image8_Click();
    void Image3_Click();

    QList<PictureButton *> keyButtons_;
    std::function<void()> end_;
    std::function<void(const QUrl &)> openUrl_;
};

// Registers the launcher as "Form10".
void RegisterLauncherWindow(WindowRegistry &registry);
// Registers every window this build has: the launcher and the windows of
// the libraries linked in.
void RegisterAllWindows(WindowRegistry &registry);
// What a launcher button does with its window: open it afresh, unless the
// one there is to be kept (the composition window while open or holding
// unsaved writing; another window whose writer keeps it when asked), which
// then comes to the front. Returns the window shown; nullptr for a window
// this build lacks.
QWidget *OpenFromLauncher(WindowRegistry &registry, const QString &name);
// Application-wide preparation shared by the program and its tools: the
// Chinese translation of the standard buttons, the style, fonts and colours.
void PrepareApplication(QApplication &app);

}  // namespace versilo
