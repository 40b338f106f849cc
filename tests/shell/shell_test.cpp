// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include "appcontext.h"
#include "ui_support.h"
#include "art.h"
#include "dialogs.h"
#include "twips.h"
#include "widgets.h"
#include "windowregistry.h"

using namespace versilo;
using namespace versilo::testing;

namespace {

// A data window as the window libraries write them.
class TestWindow : public VersiloWindow {
public:
    explicit TestWindow(const QString &name) : VersiloWindow(name, 13095, 8775)
    {
        new BackgroundPicture(QStringLiteral("Image1"), WindowBackground(size()), this);
        auto *label = new QLabel(QStringLiteral("标题"), this);
        label->setObjectName(QStringLiteral("Label1"));
        label->setGeometry(TwRect(600, 600, 1500, 300));
    }
    using VersiloWindow::ConnectAndPlace;
};

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppContext::Instance().Reset();
        AppContext::Instance().SetDialogs(&dialogs);
        for (const char *name : {"Form10", "Form1", "Form2", "Form3", "Form4"}) {
            const QString n = QLatin1String(name);
            Windows().Register(n, [n] { return new TestWindow(n); });
        }
    }
    void TearDown() override
    {
        AppContext::Instance().Reset();
        AppContext::Instance().SetDialogs(nullptr);
    }
    static WindowRegistry &Windows() { return AppContext::Instance().Windows(); }
    ScriptedDialogs dialogs;
};

}  // namespace

TEST(Twips, FifteenTwipsMakeOnePixelRounded)
{
    EXPECT_EQ(Px(15), 1);
    EXPECT_EQ(Px(7), 0);
    EXPECT_EQ(Px(8), 1);
    EXPECT_EQ(Px(-120), -8);
    EXPECT_EQ(Px(13095), 873);
    EXPECT_EQ(TwRect(240, 960, 2505, 480), QRect(16, 64, 167, 32));
    EXPECT_EQ(TwSize(375, 1305), QSize(25, 87));
}

TEST_F(ShellTest, WindowIsBorderlessFixedAndNamed)
{
    TestWindow w(QStringLiteral("Form4"));
    EXPECT_EQ(w.objectName(), QStringLiteral("Form4"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Versilo14.0"));
    EXPECT_TRUE(w.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(w.isWindow());
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_EQ(w.size(), QSize(873, 585));
    auto *bg = w.findChild<QLabel *>(QStringLiteral("Image1"));
    ASSERT_TRUE(bg);
    EXPECT_TRUE(bg->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(bg->size(), w.size());
}

TEST_F(ShellTest, RegistryKeepsEachWindowOnceAndOpensAfresh)
{
    EXPECT_EQ(Windows().Find(QStringLiteral("Form4")), nullptr);
    EXPECT_EQ(Windows().OpenFresh(QStringLiteral("Form5")), nullptr);   // not registered

    QPointer<QWidget> first = Windows().Show(QStringLiteral("Form4"));
    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_FALSE(first->isModal());
    EXPECT_FALSE(first->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_EQ(Windows().Show(QStringLiteral("Form4")), first.data());

    Windows().Hide(QStringLiteral("Form4"));
    EXPECT_FALSE(first->isVisible());
    EXPECT_EQ(Windows().Find(QStringLiteral("Form4")), first.data());

    // Opening afresh discards the hidden one; the new one is found at once.
    QPointer<QWidget> second = Windows().OpenFresh(QStringLiteral("Form4"));
    ASSERT_TRUE(second);
    EXPECT_NE(second.data(), first.data());
    EXPECT_EQ(Windows().Find(QStringLiteral("Form4")), second.data());
    EXPECT_TRUE(second->isVisible());
    Settle();
    EXPECT_TRUE(first.isNull());

    Windows().Close(QStringLiteral("Form4"));
    EXPECT_EQ(Windows().Find(QStringLiteral("Form4")), nullptr);
    EXPECT_FALSE(second->isVisible());
    Settle();
    EXPECT_TRUE(second.isNull());
}

TEST_F(ShellTest, FindOrCreateMakesAMissingWindowHidden)
{
    QWidget *made = Windows().FindOrCreate(QStringLiteral("Form1"));
    ASSERT_TRUE(made);
    EXPECT_FALSE(made->isVisible());
    EXPECT_EQ(Windows().FindOrCreate(QStringLiteral("Form1")), made);
    EXPECT_EQ(Windows().Show(QStringLiteral("Form1")), made);
    EXPECT_TRUE(made->isVisible());
    EXPECT_EQ(Windows().FindOrCreate(QStringLiteral("Form5")), nullptr);   // not registered
}

TEST_F(ShellTest, ClosingFromTheWindowsOwnHandlerIsSafe)
{
    auto *w = Windows().Show(QStringLiteral("Form2"));
    auto *button = new PictureButton(QStringLiteral("Image6"), QStringLiteral("放弃返回"),
                                     PictureButton::Orientation::Horizontal, w);
    bool after = false;
    QObject::connect(button, &PictureButton::clicked, w, [&] {
        Windows().Close(QStringLiteral("Form2"));
        // The window is still alive until the handler is done.
        after = button->objectName() == QStringLiteral("Image6");
    });
    Send(button, QEvent::MouseButtonPress, QPoint(5, 5));
    Send(button, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_TRUE(after);
    EXPECT_EQ(Windows().Find(QStringLiteral("Form2")), nullptr);
    Settle();
}

TEST_F(ShellTest, DraggingMovesWindowByThePointerAndTheLauncherFollows)
{
    QWidget *launcher = Windows().Show(QStringLiteral("Form10"));
    QWidget *form1 = Windows().Show(QStringLiteral("Form1"));
    auto *form3 = static_cast<VersiloWindow *>(Windows().Show(QStringLiteral("Form3")));
    auto *form4 = static_cast<VersiloWindow *>(Windows().Show(QStringLiteral("Form4")));
    form3->SetFollowers({QStringLiteral("Form1")});
    for (QWidget *w : {launcher, form1, static_cast<QWidget *>(form3), static_cast<QWidget *>(form4)})
        w->move(100, 80);

    // Press on the background picture (it lets the mouse through), move by (30, 20).
    const QPoint press(400, 300);
    Send(form3, QEvent::MouseButtonPress, press);
    EXPECT_TRUE(form3->IsDragging());
    Send(form3, QEvent::MouseMove, press + QPoint(30, 20));
    EXPECT_EQ(form3->pos(), QPoint(130, 100));
    EXPECT_EQ(launcher->pos(), QPoint(130, 100));
    EXPECT_EQ(form1->pos(), QPoint(130, 100));
    EXPECT_EQ(form4->pos(), QPoint(100, 80));   // not a follower
    // The pressed point stays under the pointer: a second move adds up.
    Send(form3, QEvent::MouseMove, press + QPoint(10, -5));
    EXPECT_EQ(form3->pos(), QPoint(140, 95));
    Send(form3, QEvent::MouseButtonRelease, press + QPoint(10, -5));
    EXPECT_FALSE(form3->IsDragging());
    Send(form3, QEvent::MouseMove, press + QPoint(50, 50));
    EXPECT_EQ(form3->pos(), QPoint(140, 95));   // released: nothing moves

    // Any button drags; the knowledge-page kind of window takes only the launcher.
    Send(form4, QEvent::MouseButtonPress, press, Qt::RightButton);
    Send(form4, QEvent::MouseMove, press + QPoint(-20, 0), Qt::RightButton);
    EXPECT_EQ(form4->pos(), QPoint(80, 80));
    EXPECT_EQ(launcher->pos(), QPoint(80, 80));
    EXPECT_EQ(form1->pos(), QPoint(140, 95));
    Send(form4, QEvent::MouseButtonRelease, press, Qt::RightButton);

    // Dragging the launcher moves only the launcher.
    auto *l = static_cast<VersiloWindow *>(launcher);
    Send(l, QEvent::MouseButtonPress, press);
    Send(l, QEvent::MouseMove, press + QPoint(5, 5));
    EXPECT_EQ(launcher->pos(), QPoint(85, 85));
    EXPECT_EQ(form4->pos(), QPoint(80, 80));
    EXPECT_EQ(form1->pos(), QPoint(140, 95));
}

TEST_F(ShellTest, PressOnAControlDoesNotDrag)
{
    auto *w = static_cast<VersiloWindow *>(Windows().Show(QStringLiteral("Form4")));
    w->move(50, 50);
    auto *label = w->findChild<QLabel *>(QStringLiteral("Label1"));
    ASSERT_TRUE(label);
    Send(label, QEvent::MouseButtonPress, QPoint(3, 3));
    EXPECT_FALSE(w->IsDragging());
    Send(w, QEvent::MouseMove, label->geometry().topLeft() + QPoint(40, 40));
    EXPECT_EQ(w->pos(), QPoint(50, 50));
}

TEST_F(ShellTest, PictureButtonShowsPressedLookAndClicksOnlyWhenReleasedOver)
{
    QWidget parent;
    PictureButton button(QStringLiteral("Image4"), QStringLiteral("下一页"),
                         PictureButton::Orientation::Horizontal, &parent);
    PictureButton plain(QStringLiteral("Image6"), QStringLiteral("放弃返回"),
                        PictureButton::Orientation::Horizontal, &parent, false);
    EXPECT_EQ(button.size(), QSize(87, 27));
    EXPECT_EQ(button.text(), QStringLiteral("下一页"));
    int clicks = 0, releases = 0;
    QObject::connect(&button, &PictureButton::clicked, [&] { ++clicks; });
    QObject::connect(&button, &PictureButton::released, [&] { ++releases; });

    EXPECT_FALSE(button.IsPressedLook());
    Send(&button, QEvent::MouseButtonPress, QPoint(10, 10));
    EXPECT_TRUE(button.IsPressedLook());
    EXPECT_EQ(button.frameShape(), QFrame::Box);
    EXPECT_EQ(button.lineWidth(), 1);
    Send(&button, QEvent::MouseButtonRelease, QPoint(200, 10));   // away from it
    EXPECT_FALSE(button.IsPressedLook());
    EXPECT_EQ(button.frameShape(), QFrame::NoFrame);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(releases, 1);

    Send(&button, QEvent::MouseButtonPress, QPoint(10, 10));
    Send(&button, QEvent::MouseButtonRelease, QPoint(10, 10));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(releases, 2);

    // A double-click is one click: 下一页 turns one page, not two. The
    // second press still shows the pressed look and its release is reported.
    Send(&button, QEvent::MouseButtonDblClick, QPoint(10, 10));
    EXPECT_TRUE(button.IsPressedLook());
    Send(&button, QEvent::MouseButtonRelease, QPoint(10, 10));
    EXPECT_FALSE(button.IsPressedLook());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(releases, 3);
    Send(&button, QEvent::MouseButtonPress, QPoint(10, 10));
    Send(&button, QEvent::MouseButtonRelease, QPoint(10, 10));
    EXPECT_EQ(clicks, 2);

    Send(&plain, QEvent::MouseButtonPress, QPoint(10, 10));
    EXPECT_FALSE(plain.IsPressedLook());
    EXPECT_EQ(plain.frameShape(), QFrame::NoFrame);
    Send(&plain, QEvent::MouseButtonRelease, QPoint(10, 10));
}

TEST_F(ShellTest, ClickLabelReportsClickAndDoubleClickOnce)
{
    QWidget parent;
    ClickLabel label(QStringLiteral("Label5_0"), &parent);
    label.setText(QStringLiteral("菩萨蛮"));
    label.resize(100, 20);
    int clicks = 0, doubles = 0;
    QObject::connect(&label, &ClickLabel::clicked, [&] { ++clicks; });
    QObject::connect(&label, &ClickLabel::doubleClicked, [&] { ++doubles; });
    Send(&label, QEvent::MouseButtonPress, QPoint(5, 5));
    Send(&label, QEvent::MouseButtonRelease, QPoint(5, 5));
    Send(&label, QEvent::MouseButtonDblClick, QPoint(5, 5));
    Send(&label, QEvent::MouseButtonRelease, QPoint(5, 5));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubles, 1);
    // Released away from the label: no click.
    Send(&label, QEvent::MouseButtonPress, QPoint(5, 5));
    Send(&label, QEvent::MouseButtonRelease, QPoint(500, 5));
    EXPECT_EQ(clicks, 1);
}

TEST_F(ShellTest, HoverHighlightFollowsTheRule)
{
    QWidget parent;
    QList<QLabel *> labels;
    for (int i = 0; i < 20; ++i) {
        auto *l = new QLabel(i == 12 ? QString() : QStringLiteral("名%1").arg(i), &parent);
        l->setObjectName(QStringLiteral("Label4_%1").arg(i));
        labels << l;
    }
    const QColor marker(10, 120, 200);
    for (QLabel *l : labels) {
        QPalette pal = l->palette();
        pal.setColor(QPalette::WindowText, marker);
        l->setPalette(pal);
    }
    InstallHoverHighlight(labels);
    const QColor buttonText = QApplication::palette().color(QPalette::ButtonText);
    auto hover = [&](int k) {
        QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(labels[k], &e);
    };

    hover(3);
    EXPECT_EQ(LabelColour(labels[3]), kHighlightRed);
    EXPECT_EQ(LabelColour(labels[7]), buttonText);
    hover(7);
    EXPECT_EQ(LabelColour(labels[3]), buttonText);
    EXPECT_EQ(LabelColour(labels[7]), QColor(192, 0, 0));

    // Leaving resets nothing.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(labels[7], &leave);
    EXPECT_EQ(LabelColour(labels[7]), kHighlightRed);

    // The empty label keeps its colour; every other label turns button-text.
    {
        QPalette pal = labels[12]->palette();
        pal.setColor(QPalette::WindowText, marker);
        labels[12]->setPalette(pal);
    }
    hover(12);
    EXPECT_EQ(LabelColour(labels[12]), marker);
    for (int i = 0; i < 20; ++i) {
        if (i == 12)
            continue;
        EXPECT_EQ(LabelColour(labels[i]), buttonText) << i;
    }

    // A move over a label with mouse tracking does the same as entering it.
    EXPECT_TRUE(labels[5]->hasMouseTracking());
    Send(labels[5], QEvent::MouseMove, QPoint(1, 1), Qt::NoButton);
    EXPECT_EQ(LabelColour(labels[5]), kHighlightRed);
}

TEST_F(ShellTest, ScriptedDialogsAnswerFromTheirQueueAndRecord)
{
    ScriptedDialogs script;
    script.answers = {false, true};
    script.defaultAnswer = false;
    AppContext::Instance().SetDialogs(&script);
    Dialogs &d = AppContext::Instance().Dialog();
    EXPECT_FALSE(d.Ask(QStringLiteral("真的要保存当前数据吗？")));
    EXPECT_TRUE(d.Ask(QStringLiteral("有同名文件，要覆盖原有的文件吗？")));
    EXPECT_FALSE(d.Ask(QStringLiteral("第三问")));
    d.Tell(QStringLiteral("存储完毕！"));
    EXPECT_EQ(script.asked.size(), 3);
    EXPECT_EQ(script.asked.first(), QStringLiteral("真的要保存当前数据吗？"));
    EXPECT_EQ(script.told, QStringList{QStringLiteral("存储完毕！")});

    AppContext::Instance().SetDialogs(nullptr);
    EXPECT_NE(dynamic_cast<MessageBoxDialogs *>(&AppContext::Instance().Dialog()), nullptr);
}

TEST_F(ShellTest, ResetClosesWindowsAndClearsTheSharedValues)
{
    AppContext &app = AppContext::Instance();
    QPointer<QWidget> w = Windows().Show(QStringLiteral("Form1"));
    app.patternBook = QStringLiteral("白香词谱");
    app.keypadLetters = QStringLiteral("abc");
    app.poemSearchPending = app.authorSearchPending = true;
    app.Reset();
    EXPECT_TRUE(w.isNull());
    EXPECT_EQ(Windows().Find(QStringLiteral("Form1")), nullptr);
    EXPECT_TRUE(app.patternBook.isEmpty());
    EXPECT_TRUE(app.keypadLetters.isEmpty());
    EXPECT_FALSE(app.poemSearchPending || app.authorSearchPending);
}

TEST_F(ShellTest, LoadStepPlacesAtTheLauncherAndNamesAnUnopenableFile)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    DataStore &store = AppContext::Instance().Store();
    const StoreLocation saved = store.Location();
    // A folder that cannot exist: the file can be neither opened nor created.
    store.SetLocation(StoreLocation{tmp.path() + QStringLiteral("/missing/folder"), QString()});

    QWidget *launcher = Windows().Show(QStringLiteral("Form10"));
    launcher->move(200, 150);
    TestWindow w(QStringLiteral("Form4"));
    w.move(10, 10);
    EXPECT_FALSE(w.ConnectAndPlace());
    EXPECT_EQ(w.pos(), QPoint(200, 150));
    ASSERT_EQ(dialogs.told.size(), 1);
    // What failed and why, with the file's path once.
    EXPECT_EQ(dialogs.told.first(), QStringLiteral("无法打开数据库文件 %1：文件夹不存在。").arg(store.FilePath()));
    store.SetLocation(saved);
}

TEST(Art, PicturesHaveTheSizeAskedForAndAreCached)
{
    const QPixmap bg = WindowBackground(QSize(873, 585));
    EXPECT_EQ(bg.deviceIndependentSize().toSize(), QSize(873, 585));
    EXPECT_EQ(WindowBackground(QSize(873, 585)).cacheKey(), bg.cacheKey());
    const QPixmap b = ButtonArt(QSize(87, 27), QStringLiteral("上一页"), TextDirection::Horizontal);
    EXPECT_EQ(b.deviceIndependentSize().toSize(), QSize(87, 27));
    EXPECT_NE(ButtonArt(QSize(87, 27), QStringLiteral("下一页"), TextDirection::Horizontal).cacheKey(),
              b.cacheKey());
    // Ink on paper: the middle of a button slip is not blank.
    const QImage img = ButtonArt(QSize(25, 87), QStringLiteral("诗词写作"), TextDirection::Vertical).toImage();
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qGray(img.pixel(x, y)) < 90)
                ++dark;
    EXPECT_GT(dark, 40);
}

TEST(Fonts, SongAndKaiNameTheirFamiliesInPoints)
{
    const QFont song = SongFont(12);
    EXPECT_EQ(song.families().value(0), QStringLiteral("AR PL UMing CN"));
    EXPECT_EQ(song.families().value(1), QStringLiteral("Noto Serif CJK SC"));
    EXPECT_DOUBLE_EQ(song.pointSizeF(), 12.0);
    EXPECT_EQ(KaiFont(10.5).families().value(0), QStringLiteral("AR PL UKai CN"));
}

TEST_F(ShellTest, ADesktopCloseDestroysTheWindowThroughTheRegistry)
{
    QPointer<QWidget> w = Windows().Show(QStringLiteral("Form2"));
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(Windows().Find(QStringLiteral("Form2")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    // The next opening starts afresh.
    EXPECT_NE(Windows().Show(QStringLiteral("Form2")), nullptr);
}

TEST_F(ShellTest, DraggingThroughThePlatformKeepsThePressedPointUnderThePointer)
{
    QWidget *launcher = Windows().Show(QStringLiteral("Form10"));
    auto *w = static_cast<VersiloWindow *>(Windows().Show(QStringLiteral("Form1")));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    launcher->move(60, 40);
    w->move(60, 40);
    const QPoint press(300, 200);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, press);
    EXPECT_TRUE(w->IsDragging());
    // Pointer positions relative to where the window stood at the press.
    for (const QPoint step : {QPoint(10, 5), QPoint(25, 15), QPoint(40, 30)}) {
        QTest::mouseMove(w, press + step - (w->pos() - QPoint(60, 40)));
        EXPECT_EQ(w->pos(), QPoint(60, 40) + step);
        EXPECT_EQ(launcher->pos(), w->pos());
    }
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, press);
    EXPECT_FALSE(w->IsDragging());
}
