// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs.h"

#include <QApplication>
#include <QMessageBox>

#include "widgets.h"

namespace versilo {

namespace {

QWidget *BoxParent()
{
    // Centre the box over the window the writer works in, if there is one.
    return QApplication::activeWindow();
}

}  // namespace

bool MessageBoxDialogs::Ask(const QString &text, Preselect preselect)
{
    QMessageBox box(QMessageBox::NoIcon, kCaption, text, QMessageBox::Yes | QMessageBox::No,
                    BoxParent());
    // Return presses the default button, Esc answers 否; the focus starts on
    // the default too, so Space does the same as Return.
    const QMessageBox::StandardButton preset =
        preselect == Preselect::Yes ? QMessageBox::Yes : QMessageBox::No;
    box.setDefaultButton(preset);
    box.setEscapeButton(QMessageBox::No);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxDialogs::Tell(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, kCaption, text, QMessageBox::Ok, BoxParent());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool ScriptedDialogs::Ask(const QString &text, Preselect preselect)
{
    asked << text;
    preselected << preselect;
    if (answers.empty())
        return defaultAnswer;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedDialogs::Tell(const QString &text) { told << text; }

}  // namespace versilo
