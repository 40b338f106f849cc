// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QAccessible>
#include <QPointer>
#include <QTest>

#include "appcontext.h"
#include "appicon.h"
#include "ui_support.h"
#include "dialogs.h"
#include "launcher.h"
#include "twips.h"
#include "widgets.h"
#include "windowregistry.h"

using namespace versilo;
using namespace versilo::testing;

namespace {

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppContext::Instance().Reset();
        AppContext::Instance().SetDialogs(&dialogs);
        RegisterLauncherWindow(Windows());
        // Stand-ins for the windows the launcher opens.
        for (const char *name : {"Form1", "Form4", "Form5", "Form6", "Form8", "Form9", "Form11"}) {
            const QString n = QLatin1String(name);
            Windows().Register(n, [n] { return new VersiloWindow(n, 13095, 8775); });
        }
        launcher = qobject_cast<Form10 *>(Windows().Show(QStringLiteral("Form10")));
        ASSERT_TRUE(launcher);
        launcher->SetEndAction([this] { ++ends; });
        launcher->SetUrlOpener([this](const QUrl &u) { opened << u; });
    }
    void TearDown() override
    {
        AppContext::Instance().Reset();
        AppContext::Instance().SetDialogs(nullptr);
    }
    static WindowRegistry &Windows() { return AppContext::Instance().Windows(); }
    PictureButton *Button(const char *name)
    {
        return launcher->findChild<PictureButton *>(QLatin1String(name));
    }
    // Press on the button, release at a point relative to it.
    void PressRelease(const char *name, QPoint releaseAt = QPoint(5, 5))
    {
        PictureButton *b = Button(name);
        ASSERT_TRUE(b) << name;
        Send(b, QEvent::MouseButtonPress, QPoint(5, 5));
        EXPECT_TRUE(b->IsPressedLook()) << name;
        Send(b, QEvent::MouseButtonRelease, releaseAt);
        EXPECT_FALSE(b->IsPressedLook()) << name;
    }

    ScriptedDialogs dialogs;
    Form10 *launcher = nullptr;
    int ends = 0;
    QList<QUrl> opened;
};

}  // namespace

TEST_F(LauncherTest, LayoutFollowsTheTwipsTable)
{
    EXPECT_EQ(launcher->objectName(), QStringLiteral("Form10"));
    EXPECT_EQ(launcher->windowTitle(), QStringLiteral("Versilo14.0"));
    EXPECT_EQ(launcher->size(), TwSize(13095, 8760));
    const std::pair<const char *, int> row[] = {
        {"Image2", 9585}, {"Image17", 8970}, {"Image15", 8355}, {"Image14", 7740},
        {"Image18", 7125}, {"Image16", 6510}, {"Image9", 5880},  {"Image8", 5280},
        {"Image3", 4680},
    };
    for (const auto &[name, left] : row) {
        PictureButton *b = Button(name);
        ASSERT_TRUE(b) << name;
        EXPECT_EQ(b->geometry(), TwRect(left, 3840, 375, 1305)) << name;
        EXPECT_EQ(b->TextOrientation(), PictureButton::Orientation::Vertical);
    }
    EXPECT_EQ(Button("Image2")->text(), QStringLiteral("诗词写作"));
    EXPECT_EQ(Button("Image3")->text(), QStringLiteral("结束退出"));
    EXPECT_EQ(Button("Image4")->geometry(), TwRect(4080, 3840, 375, 2550));
    auto *name = launcher->findChild<QLabel *>(QStringLiteral("Image5"));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->geometry(), TwRect(10200, 3120, 375, 2550));
    EXPECT_TRUE(name->testAttribute(Qt::WA_TransparentForMouseEvents));
    auto *bg = launcher->findChild<QLabel *>(QStringLiteral("Image1"));
    ASSERT_TRUE(bg);
    EXPECT_EQ(bg->geometry(), launcher->rect());
    EXPECT_TRUE(launcher->findChild<QLabel *>(QStringLiteral("Image6")));
    EXPECT_TRUE(launcher->findChild<QLabel *>(QStringLiteral("Image7")));
}

TEST_F(LauncherTest, WritingOpensOnReleaseWhereverThePointerIs)
{
    PressRelease("Image2", QPoint(300, -200));   // far away from the button
    QPointer<QWidget> first = Windows().Find(QStringLiteral("Form1"));
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());

    // Again: the old composition window is discarded, a fresh one shown.
    PressRelease("Image2");
    QWidget *second = Windows().Find(QStringLiteral("Form1"));
    ASSERT_TRUE(second);
    EXPECT_NE(second, first.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
}

TEST_F(LauncherTest, OtherButtonsOpenOnlyWhenReleasedOverThem)
{
    const std::pair<const char *, const char *> opens[] = {
        {"Image17", "Form4"}, {"Image15", "Form6"}, {"Image14", "Form5"},
        {"Image18", "Form9"}, {"Image16", "Form8"}, {"Image9", "Form11"},
    };
    for (const auto &[button, form] : opens) {
        PressRelease(button, QPoint(-40, 10));
        EXPECT_EQ(Windows().Find(QLatin1String(form)), nullptr) << button;
        PressRelease(button);
        QWidget *w = Windows().Find(QLatin1String(form));
        ASSERT_TRUE(w) << button;
        EXPECT_TRUE(w->isVisible());
    }
    // A hidden window is discarded and opened afresh.
    QPointer<QWidget> hidden = Windows().Find(QStringLiteral("Form5"));
    Windows().Hide(QStringLiteral("Form5"));
    PressRelease("Image14");
    EXPECT_NE(Windows().Find(QStringLiteral("Form5")), hidden.data());
    EXPECT_TRUE(Windows().Find(QStringLiteral("Form5"))->isVisible());
    EXPECT_EQ(ends, 0);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(LauncherTest, ButtonsOfWindowsNotYetBuiltDoNothing)
{
    WindowRegistry &w = Windows();
    for (const char *f : {"Form1", "Form4", "Form5", "Form6", "Form8", "Form9", "Form11"})
        w.Unregister(QLatin1String(f));
    for (const char *b : {"Image2", "Image17", "Image15", "Image14", "Image18", "Image16", "Image9"})
        PressRelease(b);
    for (const char *f : {"Form1", "Form4", "Form5", "Form6", "Form8", "Form9", "Form11"})
        EXPECT_EQ(w.Find(QLatin1String(f)), nullptr) << f;
}

TEST_F(LauncherTest, EndAndWebPageButtons)
{
    PressRelease("Image3", QPoint(100, 5));
    EXPECT_EQ(ends, 0);   // released away: nothing
    Windows().Show(QStringLiteral("Form1"));
    PressRelease("Image3");
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(dialogs.asked.isEmpty());   // no question, even with a window open

    PressRelease("Image8");
    ASSERT_EQ(opened.size(), 1);
    // The guide beside the build folder: no invented web address.
    EXPECT_TRUE(opened.first().isLocalFile());
    EXPECT_TRUE(opened.first().toLocalFile().endsWith(QStringLiteral("/docs/guide.md")));

    // Closing the launcher from the desktop ends the program too.
    launcher->close();
    EXPECT_EQ(ends, 2);

    // The credit only shows the pressed look.
    PressRelease("Image4");
    EXPECT_EQ(ends, 2);
    EXPECT_EQ(opened.size(), 1);
}

TEST_F(LauncherTest, OpensNoDatabaseAndDragsAlone)
{
    for (const char *b : {"Image2", "Image4", "Image8", "Image17"})
        PressRelease(b, QPoint(-100, -100));
    EXPECT_FALSE(AppContext::Instance().Store().IsConnected());

    QWidget *form4 = Windows().Show(QStringLiteral("Form4"));
    form4->move(launcher->pos());
    const QPoint start = launcher->pos();
    // The product name lets the mouse through: pressing there drags.
    const QPoint onName = TwRect(10200, 3120, 375, 2550).center();
    Send(launcher, QEvent::MouseButtonPress, onName);
    EXPECT_TRUE(launcher->IsDragging());
    Send(launcher, QEvent::MouseMove, onName + QPoint(-25, 12));
    Send(launcher, QEvent::MouseButtonRelease, onName + QPoint(-25, 12));
    EXPECT_EQ(launcher->pos(), start + QPoint(-25, 12));
    EXPECT_EQ(form4->pos(), start);
}

// Without a mouse: the focus starts on 诗词写作, Tab and the arrows walk the
// row in reading order (right to left), Return, Enter or Space press the
// button that has the focus.
TEST_F(LauncherTest, KeyboardWalksTheRowAndPressesTheFocusedButton)
{
    QApplication::setActiveWindow(launcher);
    ASSERT_EQ(QApplication::focusWidget(), Button("Image2"));
    for (PictureButton *b : launcher->KeyButtons())
        EXPECT_EQ(b->focusPolicy(), Qt::StrongFocus) << b->objectName().toStdString();
    EXPECT_EQ(Button("Image4")->focusPolicy(), Qt::NoFocus);   // the credit does nothing

    const struct {
        QList<int> keys;
        const char *focused;
    } walks[] = {
        {{Qt::Key_Tab}, "Image17"},
        {{Qt::Key_Left, Qt::Key_Left}, "Image14"},
        {{Qt::Key_Down}, "Image18"},
        {{Qt::Key_Right, Qt::Key_Up}, "Image15"},
        {{Qt::Key_Backtab}, "Image17"},
        {{Qt::Key_Right, Qt::Key_Right}, "Image3"},   // wraps round at the start
        {{Qt::Key_Left}, "Image2"},                   // and at the end
    };
    for (const auto &w : walks) {
        for (int key : w.keys)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        EXPECT_EQ(QApplication::focusWidget(), Button(w.focused)) << w.focused;
        EXPECT_TRUE(Button(w.focused)->hasFocus());
    }

    const struct {
        int key;
        const char *button;
        const char *opens;
    } presses[] = {
        {Qt::Key_Return, "Image2", "Form1"}, {Qt::Key_Space, "Image17", "Form4"},
        {Qt::Key_Enter, "Image14", "Form5"}, {Qt::Key_Space, "Image9", "Form11"},
    };
    for (const auto &p : presses) {
        Button(p.button)->setFocus();
        QTest::keyPress(Button(p.button), Qt::Key(p.key));
        if (p.key == Qt::Key_Space) {
            // Space held: the pressed look, nothing opened until it is let go.
            EXPECT_TRUE(Button(p.button)->IsPressedLook()) << p.button;
            EXPECT_EQ(Windows().Find(QLatin1String(p.opens)), nullptr) << p.button;
        }
        QTest::keyRelease(Button(p.button), Qt::Key(p.key));
        QWidget *w = Windows().Find(QLatin1String(p.opens));
        ASSERT_TRUE(w) << p.button;
        EXPECT_TRUE(w->isVisible()) << p.button;
        EXPECT_FALSE(Button(p.button)->IsPressedLook()) << p.button;
        Windows().Close(QLatin1String(p.opens));
        QApplication::setActiveWindow(launcher);
    }
    Button("Image8")->setFocus();
    QTest::keyClick(Button("Image8"), Qt::Key_Return);
    EXPECT_EQ(opened.size(), 1);
    Button("Image3")->setFocus();
    QTest::keyClick(Button("Image3"), Qt::Key_Space);
    EXPECT_EQ(ends, 1);
    // A key with a modifier is no press.
    QTest::keyClick(Button("Image3"), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(ends, 1);
}

// A screen reader reads every picture button as a button named by its
// caption, and can press it; the pictures are read by the words they show.
TEST_F(LauncherTest, PicturesAndButtonsCarryTheirCaptionsForAScreenReader)
{
    for (PictureButton *b : launcher->findChildren<PictureButton *>()) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(b);
        ASSERT_TRUE(a) << b->objectName().toStdString();
        EXPECT_EQ(a->role(), QAccessible::Button) << b->objectName().toStdString();
        EXPECT_EQ(a->text(QAccessible::Name), b->text()) << b->objectName().toStdString();
        EXPECT_FALSE(a->text(QAccessible::Name).isEmpty());
    }
    const std::pair<const char *, const char *> pictures[] = {
        {"Image5", "韵律 Versilo"}, {"Image6", "诗言志歌永言"}, {"Image7", "吟"}};
    for (const auto &[name, words] : pictures) {
        QAccessibleInterface *a =
            QAccessible::queryAccessibleInterface(launcher->findChild<QLabel *>(QLatin1String(name)));
        ASSERT_TRUE(a) << name;
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(words)) << name;
    }
    QAccessibleInterface *writing = QAccessible::queryAccessibleInterface(Button("Image2"));
    ASSERT_TRUE(writing->actionInterface());
    writing->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(Windows().Find(QStringLiteral("Form1")));
}

TEST(Application, MessageBoxButtonsReadInChinese)
{
    PrepareApplication(*qApp);
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("是(&Y)"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&No"), QStringLiteral("否(&N)"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("确定"));
    EXPECT_EQ(QApplication::font().families().value(0), QStringLiteral("AR PL UMing CN"));
}

TEST(Application, WindowsCarryTheSealAsIcon)
{
    PrepareApplication(*qApp);
    EXPECT_EQ(QGuiApplication::desktopFileName(), kDesktopId);
    Form10 launcher;
    const QIcon icon = launcher.windowIcon();
    ASSERT_TRUE(icon.availableSizes().contains(QSize(48, 48)));
    const QImage image = icon.pixmap(QSize(48, 48), 1.0).toImage();
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);   // transparent around the seal
    int vermilion = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            vermilion += c.alpha() == 255 && c.red() > 150 && c.green() < 80 && c.blue() < 60;
        }
    EXPECT_GT(vermilion, image.width() * image.height() / 3);
}
