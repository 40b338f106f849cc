// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard, questions and looks the windows share: message boxes answered
// by real keys, list labels that elide long names, pictures for a screen
// reader, the page indicator past the end.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QAbstractButton>
#include <QTest>
#include <QTimer>

#include <QScreen>

#include "appcontext.h"
#include "art.h"
#include "dialogs.h"
#include "labelgrid.h"
#include "screenfit.h"
#include "twips.h"
#include "windowregistry.h"
#include "ui_support.h"
#include "widgets.h"

using namespace versilo;
using namespace versilo::testing;

namespace {

// Runs `answer` on the message box once it is up (the box runs its own
// event loop); closes it with 否 when the keys did not, so no test hangs.
void WhenBoxShows(std::function<void(QMessageBox *)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box) {
            WhenBoxShows(answer);
            return;
        }
        answer(box);
        if (box->isVisible()) {
            ADD_FAILURE() << "the keys did not answer the question";
            box->done(QMessageBox::No);
        }
    });
}

}  // namespace

// Return must not confirm a discard or a delete; only a question that says
// so offers 是 for Return. Keys as the writer presses them, on the real box.
TEST(Questions, ReturnAnswersNoUnlessTheQuestionOffersYes)
{
    const struct {
        const char *name;
        bool plainAsk;            // Ask(text), as every discard or delete asks
        Preselect preselect;
        QList<int> keys;
        bool answer;
    } cases[] = {
        {"return on a plain question", true, Preselect::No, {Qt::Key_Return}, false},
        {"enter on a plain question", true, Preselect::No, {Qt::Key_Enter}, false},
        {"space on a plain question", true, Preselect::No, {Qt::Key_Space}, false},
        {"esc", true, Preselect::No, {Qt::Key_Escape}, false},
        {"tab to 是, then return", true, Preselect::No, {Qt::Key_Tab, Qt::Key_Return}, true},
        {"return where 是 is offered", false, Preselect::Yes, {Qt::Key_Return}, true},
        {"esc where 是 is offered", false, Preselect::Yes, {Qt::Key_Escape}, false},
    };
    MessageBoxDialogs dialogs;
    for (const auto &c : cases) {
        QMessageBox::StandardButton focused = QMessageBox::NoButton;
        WhenBoxShows([&](QMessageBox *box) {
            focused = box->standardButton(qobject_cast<QAbstractButton *>(box->focusWidget()));
            for (int key : c.keys) {
                QWidget *target = box->focusWidget() ? box->focusWidget() : box;
                QTest::keyClick(target, Qt::Key(key));
            }
        });
        const QString text = QStringLiteral("作品尚未保存，确定放弃吗？");
        const bool answer = c.plainAsk ? dialogs.Ask(text) : dialogs.Ask(text, c.preselect);
        EXPECT_EQ(answer, c.answer) << c.name;
        // The focus starts on the preselected button, so it is seen.
        EXPECT_EQ(focused, c.preselect == Preselect::Yes ? QMessageBox::Yes : QMessageBox::No)
            << c.name;
    }
}

TEST(Questions, ScriptedAnswersRecordWhatReturnWouldHaveDone)
{
    ScriptedDialogs script;
    script.answers = {true, true};
    Dialogs &d = script;
    EXPECT_TRUE(d.Ask(QStringLiteral("真要删除当前数据吗？")));
    EXPECT_TRUE(d.Ask(QStringLiteral("真的要保存当前数据吗？"), Preselect::Yes));
    EXPECT_EQ(script.preselected, (QList<Preselect>{Preselect::No, Preselect::Yes}));
}

// The indicator of a grid of 20 labels (paging by 19): the page past the
// last entry shows nothing and claims no page number.
TEST(PageIndicator, NamesThePageOrSaysThePagePastTheEnd)
{
    const struct {
        int count;
        int nexts;
        const char16_t *text;
    } cases[] = {
        {0, 0, u"第 1 / 1 页"},          {0, 1, u"第 1 / 1 页"},   // an empty list does not page
        {20, 0, u"第 1 / 1 页"},         {20, 1, u"第 2 / 2 页"},  // the shared last entry
        {20, 2, u"末页之后 / 共 2 页"},  {45, 2, u"第 3 / 3 页"},
        {45, 3, u"末页之后 / 共 3 页"},  {38, 2, u"末页之后 / 共 2 页"},
    };
    for (const auto &c : cases) {
        Pager p(19);
        p.Reset(c.count);
        for (int i = 0; i < c.nexts; ++i)
            p.Next();
        EXPECT_EQ(PageIndicatorText(p, 20), QString::fromUtf16(c.text)) << c.count << " after " << c.nexts;
    }
}

// A long title in a list label ends in "…" within the label, drawn as a
// plain label draws that shortened text; the label keeps the whole title
// for the program and a screen reader. Short titles are drawn unchanged.
TEST(ListLabels, LongTitlesEndInAnEllipsisAndKeepTheirWholeText)
{
    const QString longTitle = QStringLiteral("春江花月夜二十韵兼寄远方故人并序其一");
    const struct {
        const char *name;
        QString text;
        int width;
        bool elided;
    } cases[] = {
        {"long, narrow", longTitle, 120, true},
        {"long, wide enough", longTitle, 600, false},
        {"short", QStringLiteral("静夜思"), 120, false},
        {"empty", QString(), 120, false},
    };
    QWidget window;
    for (const auto &c : cases) {
        ClickLabel label(QStringLiteral("Label4_0"), &window);
        label.setFont(SongFont(10.5));
        label.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        label.setIndent(4);
        label.setGeometry(0, 0, c.width, 20);
        label.setText(c.text);
        EXPECT_EQ(label.text(), c.text) << c.name;
        const QString shown = label.ShownText();
        EXPECT_EQ(shown != c.text, c.elided) << c.name;
        if (c.elided) {
            EXPECT_TRUE(shown.endsWith(QChar(0x2026))) << c.name;
            EXPECT_TRUE(c.text.startsWith(shown.chopped(1))) << c.name;
            EXPECT_LE(label.fontMetrics().horizontalAdvance(shown), c.width - 4) << c.name;
        }
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&label);
        ASSERT_TRUE(a);
        EXPECT_EQ(a->text(QAccessible::Name), c.text) << c.name;

        // What is drawn is what a plain label draws of the shown text.
        QLabel plain(&window);
        plain.setFont(label.font());
        plain.setAlignment(label.alignment());
        plain.setIndent(4);
        plain.setGeometry(label.geometry());
        plain.setText(shown);
        EXPECT_EQ(label.grab().toImage(), plain.grab().toImage()) << c.name;
    }
}

// The largest window (882 x 589 pixels as designed) on the screens writers
// have: as designed where it fits, else smaller as a whole.
TEST(ScreenFit, TheLayoutShrinksAsAWholeOnlyWhereItCannotFit)
{
    const QSize designed(882, 589);
    const struct {
        const char *screen;
        QSize available;
        double scale;
    } cases[] = {
        {"1920 x 1080", {1920, 1040}, 1.0},
        {"1366 x 768 with a panel", {1366, 728}, 1.0},
        {"1366 x 768 at 144 dpi", {910, 485}, 485.0 / 589},
        {"1366 x 768 at scale 2", {683, 364}, 364.0 / 589},
        {"narrow and tall", {600, 1000}, 600.0 / 882},
    };
    for (const auto &c : cases)
        EXPECT_NEAR(ScaleToFit(designed, c.available), c.scale, 1e-9) << c.screen;

    const QRect area(0, 30, 1366, 700);
    const struct {
        QPoint wanted;
        QSize size;
        QPoint kept;
    } places[] = {
        {{100, 100}, {882, 589}, {100, 100}},     // inside: stays
        {{900, 100}, {882, 589}, {484, 100}},     // off the right edge
        {{-50, 0}, {882, 589}, {0, 30}},          // above and left of the area
        {{100, 500}, {882, 589}, {100, 141}},     // below the bottom
        {{100, 100}, {1500, 800}, {0, 30}},       // larger than the area: its top-left
    };
    for (const auto &p : places)
        EXPECT_EQ(WithinArea(p.wanted, p.size, area), p.kept) << p.wanted.x() << ',' << p.wanted.y();
}

namespace {

class PlacedWindow : public VersiloWindow {
public:
    PlacedWindow(const QString &name, double w, double h) : VersiloWindow(name, w, h)
    {
        if (name != QStringLiteral("Form10"))
            PlaceAtLauncher();
    }
};

}  // namespace

// Fitted to the screen it runs on (offscreen: 800 x 600; at scale 2 its
// 400 x 300 logical pixels), every window fits and opens within the screen
// even when the launcher was dragged half off it; fonts shrink with it.
TEST(ScreenFit, WindowsOpenWithinTheScreensFreeArea)
{
    AppContext::Instance().Reset();
    QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_TRUE(screen);
    const QRect area = screen->availableGeometry();
    FitLayoutToScreen();
    EXPECT_TRUE(LayoutFitted());
    const double scale = LayoutScale();
    EXPECT_LE(scale, 1.0);
    EXPECT_NEAR(SongFont(10.5).pointSizeF(), 10.5 * scale, 1e-6);

    WindowRegistry &windows = AppContext::Instance().Windows();
    windows.Register(QStringLiteral("Form10"), [] { return new PlacedWindow(QStringLiteral("Form10"), 13095, 8760); });
    windows.Register(QStringLiteral("Form1"), [] { return new PlacedWindow(QStringLiteral("Form1"), 13230, 8835); });
    QWidget *launcher = windows.Show(QStringLiteral("Form10"));
    ASSERT_TRUE(launcher);
    for (const QPoint at : {area.topLeft(), area.center(), area.bottomRight() - QPoint(50, 50),
                            area.topLeft() - QPoint(300, 200)}) {
        launcher->move(at);
        QWidget *form1 = windows.OpenFresh(QStringLiteral("Form1"));
        ASSERT_TRUE(form1);
        EXPECT_LE(form1->width(), area.width());
        EXPECT_LE(form1->height(), area.height());
        EXPECT_TRUE(area.contains(form1->geometry())) << at.x() << ',' << at.y();
        if (area.contains(launcher->geometry())) {
            EXPECT_EQ(form1->pos(), launcher->pos());   // stacked, as ever
        }
        windows.CloseAll();
        Settle();
        launcher = windows.Show(QStringLiteral("Form10"));
    }
    windows.CloseAll();
    Settle();
    ResetLayoutFit();
    AppContext::Instance().Reset();
    EXPECT_EQ(Px(13095), 873);
}

// A seal inside a larger picture is drawn whole at any scale of the screen
// (run also at QT_SCALE_FACTOR=2): the vermilion block of the product's
// name is the seal picture itself, not an enlarged corner of it.
TEST(ScreenFit, SealsInsidePicturesAreDrawnWholeAtAnyScale)
{
    const QImage name = ProductNameArt(QSize(90, 600)).toImage();
    const qreal dpr = name.devicePixelRatio();
    QRect block;
    for (int y = 0; y < name.height(); ++y)
        for (int x = 0; x < name.width(); ++x) {
            const QColor c = name.pixelColor(x, y);
            if (c.alpha() == 255 && c.red() > 150 && c.green() < 70 && c.blue() < 60)
                block = block.united(QRect(x, y, 1, 1));
        }
    ASSERT_GT(block.width(), 40);
    const QSize logical = (QSizeF(block.size()) / dpr).toSize();
    const QImage seal = SealArt(logical, QStringLiteral("韵"))
                            .toImage()
                            .scaled(block.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Where the white strokes lie: their share in each cell of a 4 x 4 grid.
    auto strokes = [](const QImage &image) {
        QList<double> share(16, 0.0);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.green() > 180 && c.red() > 180)
                    share[(y * 4 / image.height()) * 4 + x * 4 / image.width()] += 16.0 / (image.width() * image.height());
            }
        return share;
    };
    auto distance = [](const QList<double> &a, const QList<double> &b) {
        double d = 0;
        for (int i = 0; i < 16; ++i)
            d += std::abs(a[i] - b[i]);
        return d;
    };
    const QList<double> whole = strokes(seal);
    const QList<double> drawn = strokes(name.copy(block));
    // An enlarged top-left corner, as a drawing that took the logical size
    // for the picture's own pixels showed it.
    const QList<double> corner = strokes(
        seal.copy(0, 0, seal.width() / 2, seal.height() / 2).scaled(seal.size()));
    EXPECT_LT(distance(whole, drawn), distance(whole, corner) / 3)
        << "dpr " << dpr << ": " << distance(whole, drawn) << " vs " << distance(whole, corner);
}
