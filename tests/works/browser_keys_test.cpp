// SPDX-License-Identifier: GPL-3.0-or-later
// The browsers by keyboard alone: focus moving over the entries, Enter
// choosing, PageDown and PageUp turning pages under the page indicator, Esc
// going back. The pattern browser and the works browser, 100 entries each.
#include <QApplication>
#include <sqlite3.h>

#include "patterns.h"
#include "window_fixture.h"
#include "works.h"

namespace versilo::testing {
namespace {

struct Browser {
    const char *window;
    const char *opener;   // its button in the composition window
    const char *list;     // the grid's labels
    int rows;
    int labels;
    const char *entry;    // entry k reads entry + k
};
const Browser kBrowsers[] = {
    {"Form2", "Command4", "Label5", 18, 72, "调"},
    {"Form3", "Command8", "Label4", 20, 80, "作"},
};

class BrowserKeysTest : public WindowTest {
protected:
    BrowserKeysTest()
        : WindowTest(+[](WindowRegistry &r) {
              RegisterPatternWindows(r);
              RegisterWorksWindows(r);
          })
    {
    }
    void SetUp() override
    {
        WindowTest::SetUp();
        QStringList tunes{QStringLiteral("篇名\t格律\t正文")};
        for (int k = 0; k < 100; ++k)
            tunes << QStringLiteral("调%1\t○●-\t说明-").arg(k);
        const QString seed = TempPath(QStringLiteral("seed"));
        WriteSeed(seed, QStringLiteral("常用词谱"), tunes);
        UseSeed(seed);
        QString works = QStringLiteral("begin;");
        for (int k = 0; k < 100; ++k)
            works += QStringLiteral("insert into 作品 (篇名, 正文) values ('作%1', '春');").arg(k);
        ASSERT_EQ(sqlite3_exec(AppContext::Instance().Store().Handle(), (works + "commit;").toUtf8().constData(),
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    QWidget *Open(const Browser &b)
    {
        f_ = OpenForm1();
        QWidget *w = OpenFrom<QWidget>(f_, b.opener, QLatin1String(b.window));
        QApplication::setActiveWindow(w);
        return w;
    }
    static QWidget *Focused() { return QApplication::focusWidget(); }
    static QString Name(QWidget *w) { return w ? w->objectName() : QStringLiteral("<none>"); }
    static QString Label(const Browser &b, int i) { return QStringLiteral("%1_%2").arg(QLatin1String(b.list)).arg(i); }
    static void Key(int key) { QTest::keyClick(Focused(), Qt::Key(key)); }

    Form1 *f_ = nullptr;
};

TEST_F(BrowserKeysTest, ArrowsTabAndPagesMoveTheFocusAndEnterChooses)
{
    for (const Browser &b : kBrowsers) {
        SCOPED_TRACE(b.window);
        QWidget *w = Open(b);
        ASSERT_TRUE(w);
        QLabel *page = Child<QLabel>(w, "PageIndicator");
        EXPECT_EQ(page->text(), QStringLiteral("第 1 / 2 页"));
        EXPECT_EQ(Name(Focused()), Label(b, 0));   // the first entry, ready for Enter

        // Down the column, across to the next, and back; the top edge holds.
        const struct {
            int key;
            int to;
        } moves[] = {
            {Qt::Key_Down, 1},         {Qt::Key_Right, 1 + b.rows}, {Qt::Key_Left, 1},
            {Qt::Key_Up, 0},           {Qt::Key_Up, 0},             {Qt::Key_Left, 0},
            {Qt::Key_Tab, 1},          {Qt::Key_End, b.labels - 1}, {Qt::Key_Home, 0},
            {Qt::Key_Down, 1},         {Qt::Key_End, b.labels - 1}, {Qt::Key_Down, b.labels - 1},
        };
        for (const auto &m : moves) {
            Key(m.key);
            EXPECT_EQ(Name(Focused()), Label(b, m.to)) << m.key;
        }

        // Page 2 holds entries up to 99: the focus leaves the empty labels
        // for the last entry; past the end nothing holds it until PageUp.
        const int lastOnPage2 = 99 - (b.labels - 1);
        Key(Qt::Key_PageDown);
        EXPECT_EQ(page->text(), QStringLiteral("第 2 / 2 页"));
        EXPECT_EQ(Name(Focused()), Label(b, lastOnPage2));
        QTest::keyClick(w, Qt::Key_PageDown);
        EXPECT_EQ(page->text(), QStringLiteral("末页之后 / 共 2 页"));   // no page number of its own
        EXPECT_FALSE(Focused() && Focused()->objectName().startsWith(QLatin1String(b.list)));
        QTest::keyClick(w, Qt::Key_PageUp);
        EXPECT_EQ(page->text(), QStringLiteral("第 2 / 2 页"));
        EXPECT_EQ(Name(Focused()), Label(b, 0));
        Key(Qt::Key_End);

        Key(Qt::Key_Return);
        EXPECT_EQ(Windows().Find(QLatin1String(b.window)), nullptr);
        const QString chosen = QString::fromUtf8(b.entry) + QStringLiteral("99");
        EXPECT_TRUE(f_->TuneName() == chosen || f_->Title() == chosen);
        // A tune chosen or a work opened, unchanged: leaving asks nothing.
        Click(f_, "Command5");
        EXPECT_TRUE(dialogs_.asked.isEmpty()) << dialogs_.asked.join(u'\n').toStdString();
        EXPECT_EQ(Windows().Find(QStringLiteral("Form1")), nullptr);
        Settle();
    }
}

TEST_F(BrowserKeysTest, EscGoesBackWithoutChoosing)
{
    for (const Browser &b : kBrowsers) {
        SCOPED_TRACE(b.window);
        Open(b);
        Key(Qt::Key_Down);
        Key(Qt::Key_Escape);
        EXPECT_EQ(Windows().Find(QLatin1String(b.window)), nullptr);
        EXPECT_EQ(Windows().Find(QStringLiteral("Form1")), f_);
        EXPECT_EQ(f_->Title(), QStringLiteral("在此处写作品标题"));
        EXPECT_EQ(f_->TuneName(), QString());
        Settle();
    }
}

}  // namespace
}  // namespace versilo::testing
