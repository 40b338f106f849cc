// SPDX-License-Identifier: GPL-3.0-or-later
// The printing window: the list with its thumb, choosing a work, export to
// aa.doc with its filler and the desktop's opening, and printing.
#include <QDate>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "form8.h"
#include "gateway.h"
#include "namelist.h"
#include "printout.h"
#include "twips.h"
#include "window_fixture.h"
#include "worddoc.h"
#include "works.h"

namespace versilo::testing {
namespace {

// A desktop that opens nothing: it records what it was asked to open.
class ScriptedDesktop : public DocumentDesktop {
public:
    QString folder;
    QStringList handlers{QStringLiteral("writer.desktop")};
    bool openWorks = true;
    QList<QUrl> opened;
    QString ExportFolder() override { return folder; }
    QStringList Handlers(const QString &) override { return handlers; }
    bool Open(const QUrl &url) override
    {
        opened << url;
        return openWorks;
    }
};

class Form8Test : public WindowTest {
protected:
    Form8Test() : WindowTest(RegisterWorksWindows, QPoint(60, 40)) {}
    void SetUp() override
    {
        WindowTest::SetUp();
        desktop_.folder = TempPath(QString());
        Form8::SetDesktop(&desktop_);
    }
    void TearDown() override
    {
        Form8::SetDesktop(nullptr);
        WindowTest::TearDown();
    }
    Form8 *Open() { return qobject_cast<Form8 *>(Windows().OpenFresh(window::kPrinting)); }
    // Works 0 to n-1, "作品i", each of the poem given.
    void SeedWorks(int n, const QString &poem = QStringLiteral("A|B"))
    {
        QStringList rows;
        for (int i = 0; i < n; ++i)
            rows << QStringLiteral("作品%1\t%2\t\t\t常用词谱\t\t").arg(i).arg(poem);
        UseWorks(rows);
    }
    static QString Title(Form8 *w, int i) { return LabelText(w, QStringLiteral("Label4_%1").arg(i)); }
    static QString Body(Form8 *w) { return BoxText(Child<QPlainTextEdit>(w, "Text1")); }
    // Drags the thumb by dy pixels with the mouse.
    static void DragThumb(Form8 *w, int dy)
    {
        QWidget *thumb = Child(w, "Label18");
        QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseMove(thumb, QPoint(5, 5 + dy));
        QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(5, 5 + dy));
    }
    ScriptedDesktop desktop_;
};

TEST_F(Form8Test, TheThumbScrollsTwentyFiveWorks)
{
    SeedWorks(24);
    AddWork(QStringLiteral("末篇"), QStringLiteral("一|二|三"));
    Form8 *w = Open();
    EXPECT_EQ(Title(w, 19), QStringLiteral("作品19"));
    QWidget *thumb = Child(w, "Label18");
    EXPECT_EQ(thumb->geometry().topLeft(), TwPoint(2520, 960));

    DragThumb(w, 299);   // 4485 twips down: list start 20
    EXPECT_EQ(w->Titles().Start(), 20);
    EXPECT_EQ(Title(w, 0), QStringLiteral("作品20"));
    EXPECT_EQ(Title(w, 4), QStringLiteral("末篇"));
    EXPECT_EQ(Title(w, 5), QString());
    Click(w, "Label4_4");
    EXPECT_EQ(LabelText(w, "Label26"), QStringLiteral("末篇"));
    EXPECT_EQ(Body(w), QStringLiteral("一\r\n二\r\n三"));
    EXPECT_EQ(w->LineCount(), 3);

    DragThumb(w, 2000);   // stops at the bottom of its track
    EXPECT_EQ(thumb->geometry().top(), Px(7240));
    DragThumb(w, -2000);
    EXPECT_EQ(thumb->geometry().top(), Px(960));
    EXPECT_EQ(Title(w, 0), QStringLiteral("作品0"));
}

TEST_F(Form8Test, EachExportWritesAaDocWithAFillerOneSmaller)
{
    AddWork(QStringLiteral("十句"), QStringLiteral("1|2|3|4|5|6|7|8|9|10"));
    Form8 *w = Open();
    Click(w, "Label4_0");
    ASSERT_EQ(w->LineCount(), 10);
    const QString path = Form8::ExportPath();
    EXPECT_EQ(path, TempPath(QStringLiteral("aa.doc")));
    for (int filler : {17, 16}) {
        Click(w, "Image3");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), ToRtf(ExportParagraphs(QStringLiteral("十句"), Body(w), filler))) << filler;
    }
    EXPECT_EQ(dialogs_.told, QStringList({kExportDone, kExportDone}));
    EXPECT_EQ(desktop_.opened, QList<QUrl>({QUrl::fromLocalFile(path), QUrl::fromLocalFile(path)}));
}

TEST_F(Form8Test, ExportFailuresAreReportedAndTheNoteStays)
{
    Form8 *w = Open();
    desktop_.handlers.clear();   // no program takes .doc
    Click(w, "Image3");
    ASSERT_EQ(dialogs_.told.size(), 2);
    EXPECT_EQ(dialogs_.told[0], kExportDone);
    EXPECT_TRUE(dialogs_.told[1].contains(QStringLiteral("没有能打开"))) << dialogs_.told[1].toStdString();
    EXPECT_TRUE(desktop_.opened.isEmpty());

    desktop_.handlers = {QStringLiteral("writer.desktop")};
    desktop_.openWorks = false;   // the desktop could not start it
    dialogs_.told.clear();
    Click(w, "Image3");
    ASSERT_EQ(dialogs_.told.size(), 2);
    EXPECT_TRUE(dialogs_.told[1].startsWith(QStringLiteral("未能打开文档"))) << dialogs_.told[1].toStdString();

    // aa.doc cannot be written: said so, no "OK", nothing opened.
    QFile::remove(Form8::ExportPath());
    ASSERT_TRUE(QDir().mkpath(Form8::ExportPath() + QStringLiteral("/blocked")));
    dialogs_.told.clear();
    desktop_.opened.clear();
    Click(w, "Image3");
    ASSERT_EQ(dialogs_.told.size(), 1);
    EXPECT_TRUE(dialogs_.told[0].contains(Form8::ExportPath())) << dialogs_.told[0].toStdString();
    EXPECT_TRUE(desktop_.opened.isEmpty());
    EXPECT_EQ(LabelText(w, "Label6"), kWordNote);
}

TEST_F(Form8Test, PrintingAnEditedWorkToPdf)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    AddWork(QStringLiteral(" 春晓 "), QStringLiteral("春眠不觉晓|处处闻啼鸟|"));
    Form8 *w = Open();
    Click(w, "Label4_0");
    SetBoxText(Child<QPlainTextEdit>(w, "Text1"), QStringLiteral("夜来风雨声\r\n花落知多少\r\n"));   // typed over
    const QString pdf = TempPath(QStringLiteral("print.pdf"));
    qputenv(kPrintToPdfVariable, pdf.toUtf8());
    Click(w, "Image4");
    qunsetenv(kPrintToPdfVariable);
    EXPECT_TRUE(dialogs_.told.isEmpty()) << dialogs_.told.join(u'\n').toStdString();
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("春晓(") + PrintDate(QDate::currentDate()) + u')')) << text.toStdString();
    EXPECT_EQ(text.count(kPrintRule), 2);
    EXPECT_TRUE(text.contains(QStringLiteral("花落知多少")));
    EXPECT_FALSE(text.contains(QStringLiteral("春眠不觉晓")));
    EXPECT_EQ(Works().size(), 1);
    EXPECT_TRUE(Works()[0].contains(QStringLiteral("春眠不觉晓")));   // the stored work is not changed
}

TEST_F(Form8Test, PrintingWithoutAPrinterSaysSoAndKeepsRunning)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "this machine has a printer; the test would print on it";
    Form8 *w = Open();
    Click(w, "Image4");
    EXPECT_EQ(dialogs_.told, QStringList{kNoPrinter});
    EXPECT_EQ(Windows().Find(window::kPrinting), w);
}

TEST_F(Form8Test, EmptyTableAndBack)
{
    Form8 *w = Open();
    EXPECT_EQ(w->WorkCount(), 0);
    EXPECT_EQ(Title(w, 0), QString());
    DragThumb(w, 100);   // nothing to scroll: the thumb stays
    EXPECT_EQ(Child(w, "Label18")->geometry().top(), Px(960));
    Click(w, "Label4_0");
    EXPECT_EQ(LabelText(w, "Label26"), QString());
    Click(w, "Image3");   // nothing chosen: the filler of an empty page
    QFile file(Form8::ExportPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ToRtf(ExportParagraphs(QString(), QString(), 27)));

    Click(w, "Image2");   // 返回 hides
    EXPECT_EQ(Windows().Find(window::kPrinting), w);
    EXPECT_FALSE(w->isVisible());
}

// A work stored without a title is listed under a stand-in; chosen, it
// shows its own (empty) title and its poem, and a long poem's export is not
// padded past its last line.
TEST_F(Form8Test, AnUntitledWorkIsListedAndALongPoemIsNotPadded)
{
    QStringList lines;
    for (int i = 0; i < 40; ++i)
        lines << QStringLiteral("句%1").arg(i);
    AddWork(QString(), lines.join(u'|'));
    Form8 *w = Open();
    EXPECT_EQ(Title(w, 0), QStringLiteral("（无标题）"));
    QTest::mouseClick(Child(w, "Label4_0"), Qt::LeftButton);
    EXPECT_EQ(LabelText(w, "Label26"), QString());
    EXPECT_EQ(w->LineCount(), 40);
    Click(w, "Image3");
    QFile file(Form8::ExportPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ToRtf(ExportParagraphs(QString(), Body(w), 0)));
}

// A poem changed in the box goes only after a question answered 是: another
// work chosen, or the window given up (a fresh one from the launcher, the end
// of the program). Once printed or exported, the change has been used.
TEST_F(Form8Test, AChangedPrintCopyIsGivenUpOnlyWhenTheWriterSaysSo)
{
    const QString ask = QStringLiteral("打印稿的修改尚未打印或导出，确定放弃吗？");
    SeedWorks(2);
    Form8 *w = Open();
    Click(w, "Label4_0");
    Click(w, "Label4_1");   // nothing typed: no question
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_FALSE(w->HasUnusedEdits());

    auto *box = Child<QPlainTextEdit>(w, "Text1");
    box->setFocus();
    box->insertPlainText(QStringLiteral("改"));   // typed (an input method commits the text)
    dialogs_.answers = {false};
    Click(w, "Label4_0");
    EXPECT_EQ(dialogs_.asked, QStringList{ask});
    EXPECT_TRUE(Body(w).contains(QStringLiteral("改")));   // 否 keeps it
    EXPECT_EQ(LabelText(w, "Label26"), QStringLiteral("作品1"));
    dialogs_.answers = {false};
    EXPECT_FALSE(w->MayClose());

    Click(w, "Image3");   // exported: used
    EXPECT_FALSE(w->HasUnusedEdits());
    dialogs_.asked.clear();
    Click(w, "Label4_0");
    EXPECT_TRUE(dialogs_.asked.isEmpty());
    EXPECT_EQ(LabelText(w, "Label26"), QStringLiteral("作品0"));

    box->insertPlainText(QStringLiteral("再"));
    dialogs_.answers = {true};
    Click(w, "Label4_1");   // 是 gives it up
    EXPECT_EQ(dialogs_.asked, QStringList{ask});
    EXPECT_FALSE(Body(w).contains(QStringLiteral("再")));
    EXPECT_EQ(LabelText(w, "Label26"), QStringLiteral("作品1"));
}

}  // namespace
}  // namespace versilo::testing
