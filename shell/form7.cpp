// SPDX-License-Identifier: GPL-3.0-or-later
#include "form7.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "appcontext.h"
#include "twips.h"
#include "widgets.h"
#include "windownames.h"
#include "windowregistry.h"

namespace versilo {

Form7::Form7(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(window::kKeypad);
    setWindowTitle(kCaption);
    setFixedSize(TwSize(3495, 2580));

    QFont bold = SongFont(10.5);
    bold.setBold(true);
    const double lefts[7] = {120, 600, 1080, 1560, 2040, 2520, 3000};
    const double tops[4] = {120, 480, 840, 1200};
    for (int i = 0; i < kKeys; ++i) {
        auto *key = new QPushButton(QString(QChar(u'a' + i)), this);
        key->setObjectName(QStringLiteral("Command2_%1").arg(i));
        key->setGeometry(TwRect(lefts[i % 7], tops[i / 7], 375, 300));
        key->setFont(bold);
        key->setFocusPolicy(Qt::NoFocus);
        connect(key, &QPushButton::clicked, this, [this, i] { Command2_Click(i); });
    }
    auto *command3 = new QPushButton(QStringLiteral("清除"), this);
    command3->setObjectName(QStringLiteral("Command3"));
    command3->setGeometry(TwRect(2520, 1200, 855, 300));
    command3->setFocusPolicy(Qt::NoFocus);
    connect(command3, &QPushButton::clicked, this, &Form7::Command3_Click);

    text1_ = new QLineEdit(this);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setGeometry(TwRect(120, 1560, 3255, 375));
    text1_->setEnabled(false);

    auto *command1 = new QPushButton(QStringLiteral("返回"), this);
    command1->setObjectName(QStringLiteral("Command1"));
    command1->setGeometry(TwRect(120, 2040, 3255, 420));
    command1->setFocusPolicy(Qt::NoFocus);
    connect(command1, &QPushButton::clicked, this, &Form7::Command1_Click);

    // The window itself takes the keys (the buttons take none).
    setFocusPolicy(Qt::StrongFocus);
    setFocus();

    AppContext::Instance().keypadLetters.clear();
}

void Form7::keyPressEvent(QKeyEvent *e)
{
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    if (mods != Qt::NoModifier) {
        QWidget::keyPressEvent(e);
        return;
    }
    e->accept();
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        Command2_Click(key - Qt::Key_A);
    } else if (key == Qt::Key_Backspace) {
        QString &letters = AppContext::Instance().keypadLetters;
        letters.chop(1);
        ShowLetters();
    } else if (key == Qt::Key_Delete) {
        Command3_Click();
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        Command1_Click();
    } else {
        e->ignore();
        QWidget::keyPressEvent(e);
    }
}

void Form7::SetOpener(QWidget *opener, std::function<void()> search)
{
    if (opener_)
        opener_->removeEventFilter(this);
    opener_ = opener;
    search_ = std::move(search);
    if (opener_)
        opener_->installEventFilter(this);
}

void Form7::ShowLetters() { text1_->setText(AppContext::Instance().keypadLetters); }

void Form7::Command2_Click(int index)
{
    if (index < 0 || index >= kKeys)
        return;
    AppContext::Instance().keypadLetters += QString(QChar(u'a' + index));
    ShowLetters();
}

void Form7::Command3_Click()
{
    AppContext::Instance().keypadLetters.clear();
    ShowLetters();
}

void Form7::Command1_Click()
{
    // The keypad goes first; then the opener is told, searches and is
    // brought back to the front, whichever window the desktop activates.
    const QPointer<QWidget> opener = opener_;
    const std::function<void()> search = std::move(search_);
    SetOpener(nullptr, {});
    WindowRegistry &windows = AppContext::Instance().Windows();
    if (windows.Find(window::kKeypad) == this)
        windows.Close(window::kKeypad);
    else
        deleteLater();
    if (!opener)
        return;
    if (search)
        search();
    if (opener && QGuiApplication::platformName() != QLatin1String("offscreen")) {
        opener->raise();
        opener->activateWindow();
    }
}

bool Form7::eventFilter(QObject *watched, QEvent *event)
{
    // Only the keypad that is open now: a discarded one may linger until
    // the event loop deletes it.
    if (watched == opener_ && event->type() == QEvent::WindowActivate && search_
        && AppContext::Instance().Windows().Find(window::kKeypad) == this)
        search_();
    return false;
}

void Form7::closeEvent(QCloseEvent *e)
{
    e->accept();
    Command1_Click();
}

void RegisterKeypad(WindowRegistry &registry)
{
    registry.Register(window::kKeypad, [] { return new Form7; });
}

Form7 *OpenKeypad(QWidget *opener, std::function<void()> search)
{
    auto *keypad = qobject_cast<Form7 *>(AppContext::Instance().Windows().OpenFresh(window::kKeypad));
    if (keypad)
        keypad->SetOpener(opener, std::move(search));
    return keypad;
}

}  // namespace versilo
