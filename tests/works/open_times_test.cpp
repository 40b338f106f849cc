// How long the composition window and the two browsers take to open with
// the full seed database. Not part of the regular run:
//   works_tests --gtest_also_run_disabled_tests --gtest_filter='*OpenTimes*'
#include <QElapsedTimer>

#include "form2.h"
#include "form3.h"
#include "patterns.h"
#include "window_fixture.h"
#include "works.h"

namespace versilo::testing {
namespace {

class OpenTimes : public WindowTest {
protected:
    void RegisterMore(WindowRegistry &registry) override
    {
        RegisterPatternWindows(registry);
        RegisterWorksWindows(registry);
    }
};

TEST_F(OpenTimes, DISABLED_WithTheFullSeed)
{
    const QString seed = QStringLiteral(VERSILO_SOURCE_DIR "/data/seed");
    if (!QFile::exists(seed + QStringLiteral("/平水韵.tsv")))
        GTEST_SKIP() << "no seed data in data/seed";
    QElapsedTimer t;
    t.start();
    UseSeed(seed);   // creates the database file from the seed and connects
    const qint64 create = t.restart();
    // Some works to browse.
    for (int i = 0; i < 500; ++i)
        AddWork(QStringLiteral("作品%1").arg(i), QStringLiteral("春眠不觉晓|处处闻啼鸟|"), QStringLiteral("忆江南"));
    t.restart();
    Form1 *f = OpenForm1();
    const qint64 form1 = t.restart();
    Click(f, "Command4");
    const qint64 form2 = t.restart();
    Click(Windows().Find("Form2"), "Image6");
    t.restart();
    Click(f, "Command3");
    Click(f, "Command4");
    const qint64 form2b = t.restart();
    const int tunes = Windows().Get<Form2>(QStringLiteral("Form2"))->PatternCount();
    Click(Windows().Find("Form2"), "Image6");
    t.restart();
    Click(f, "Command8");
    const qint64 form3 = t.restart();
    EXPECT_EQ(Windows().Get<Form3>(QStringLiteral("Form3"))->WorkCount(), 500);
    Click(Windows().Find("Form3"), "Label4_0");
    const qint64 choose = t.restart();
    f->SetText("Text2", QStringLiteral("春眠不觉晓，\r\n处处闻啼鸟。\r\n夜来风雨声，\r\n花落知多少。\r\n"));
    t.restart();
    Click(f, "Command1");
    const qint64 check = t.restart();
    Click(f, "Command2");
    t.restart();
    Click(f, "Command9");
    const qint64 annotate = t.restart();
    std::printf("database created from the seed: %lld ms\n"
                "Form1 open: %lld ms\nForm2 open (常用词谱): %lld ms\nForm2 open (白香词谱, %d tunes): %lld ms\n"
                "Form3 open (500 works): %lld ms\nchoosing a work: %lld ms\n"
                "判断正误 (中华新韵): %lld ms\n判断平仄韵调 (平水韵): %lld ms\n",
                create, form1, form2, tunes, form2b, form3, choose, check, annotate);
}

}  // namespace
}  // namespace versilo::testing

namespace versilo::testing {
namespace {

// Pictures of the three windows for a look at their layout:
//   works_tests --gtest_also_run_disabled_tests --gtest_filter='*Snapshots*'
// writes form1.png, form2.png, form3.png into the folder named by
// VERSILO_SNAPSHOT_DIR (default: the system's temporary folder).
TEST_F(OpenTimes, DISABLED_Snapshots)
{
    QString dir = qEnvironmentVariable("VERSILO_SNAPSHOT_DIR");
    if (dir.isEmpty())
        dir = QDir::tempPath();
    for (int i = 0; i < 3; ++i)
        AddWork(QStringLiteral("春晓%1").arg(i), QStringLiteral("春眠不觉晓|处处闻啼鸟|"), QStringLiteral("忆江南"));
    Form1 *f = OpenForm1();
    f->SetText("Text4", QStringLiteral("春晓"));
    f->SetText("Text2", QStringLiteral("春眠不觉晓，\r\n处处闻啼鸟。\r\n"));
    Click(f, "Command4");
    QWidget *form2 = Windows().Find("Form2");
    form2->grab().save(dir + QStringLiteral("/form2.png"));
    Click(form2, "Label5_0");
    Click(f, "Command1");
    f->grab().save(dir + QStringLiteral("/form1.png"));
    Click(f, "Command8");
    Windows().Find("Form3")->grab().save(dir + QStringLiteral("/form3.png"));
}

}  // namespace
}  // namespace versilo::testing
