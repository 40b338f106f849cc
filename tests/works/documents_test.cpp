// SPDX-License-Identifier: GPL-3.0-or-later
// What printing and export produce, without the window: the RTF document
// and its filler, the printed lines and their PDF, the desktop's handlers
// for a file type, and the year read from a time of writing.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "desktopopen.h"
#include "management.h"
#include "printout.h"
#include "ui_support.h"
#include "worddoc.h"

namespace versilo {

// Printed by GoogleTest when a comparison fails.
inline void PrintTo(const DocParagraph &p, std::ostream *os) { *os << p.text.toStdString() << " @" << p.points; }
inline void PrintTo(const PrintLine &l, std::ostream *os) { *os << l.text.toStdString() << " @" << l.points; }

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// Runs a tool to its end; its standard output, or a null array when it
// cannot run or fails.
QByteArray RunTool(const QString &program, const QStringList &args, int timeoutMs = 120000)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted() || !p.waitForFinished(timeoutMs) || p.exitCode() != 0)
        return QByteArray();
    return p.readAllStandardOutput();
}

TEST(ExportDocument, FillerFillsAPageOf28LinesAndShrinksWithEachExport)
{
    // (lines laid out + exports so far) -> CR characters. A poem of a page
    // or more gets none: a 2,000-line work no longer gets 1,972.
    const std::pair<int, int> cases[] = {{11, 17}, {12, 16}, {4, 24}, {5, 23}, {1, 27},
                                         {28, 0},  {29, 0},  {30, 0}, {2001, 0}};
    for (const auto &[count, filler] : cases)
        EXPECT_EQ(ExportFiller(count), filler) << count;
}

TEST(ExportDocument, ParagraphsOfTitleBodyAndFiller)
{
    const QList<DocParagraph> expected{
        {QString(), 16.5}, {QStringLiteral("春晓"), 16.5},                                    // title
        {QString(), 10.5}, {QStringLiteral("A"), 10.5},     {QStringLiteral("B"), 10.5},     // body
        {QString(), 10.5}, {QString(), 10.5},               {QString(), 10.5},               // 2 CR, end
    };
    EXPECT_EQ(ExportParagraphs(QStringLiteral("春晓"), QStringLiteral("A\r\nB\r\n"), 2), expected);
    EXPECT_EQ(ExportParagraphs(QString(), QStringLiteral("A\nB\rC"), 0).size(), 6);
}

TEST(ExportDocument, RtfNamesSongTiCentresEveryParagraphAndEscapesText)
{
    const QByteArray rtf = ToRtf({{QStringLiteral("龍{\\}春"), 16.5}, {QStringLiteral("a\tb"), 10.5}});
    EXPECT_EQ(rtf, QByteArray("{\\rtf1\\ansi\\ansicpg936\\deff0\\uc1\r\n"
                              "{\\fonttbl{\\f0\\fnil\\fcharset134 \\'cb\\'ce\\'cc\\'e5{\\*\\falt SimSun};}}\r\n"
                              "\\pard\\qc\\plain\\f0\\fs33 \\u-24691?\\{\\\\\\}\\u26149?\\par\r\n"
                              "\\pard\\qc\\plain\\f0\\fs21 a\\tab b\r\n"
                              "}\r\n"));
}

TEST(ExportDocument, WritingIntoAMissingFolderFailsWithTheFileName)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("gone/aa.doc"));
    QString error;
    EXPECT_FALSE(WriteDocument(path, "x", &error));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_TRUE(WriteDocument(tmp.filePath(QStringLiteral("aa.doc")), "x", &error));
    EXPECT_EQ(ReadAll(tmp.filePath(QStringLiteral("aa.doc"))), "x");
}

TEST(ExportDocument, TheDocumentIsReadableByTheWriterAlone)
{
    QTemporaryDir tmp;
    const QString path = tmp.filePath(QStringLiteral("aa.doc"));
    QString error;
    const mode_t old = ::umask(022);
    // New, and written again over a file others could read.
    const bool made = WriteDocument(path, "x", &error);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    const bool again = WriteDocument(path, "y", &error);
    ::umask(old);
    ASSERT_TRUE(made && again) << error.toStdString();
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// LibreOffice reads the document as it is meant: converted to PDF it holds
// the title and the poem, and its own reading of the styles gives 宋体,
// 16.5 and 10.5 points, centred.
TEST(ExportDocument, LibreOfficeOpensIt)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "LibreOffice (libreoffice-writer-nogui) or pdftotext is not installed";
    QTemporaryDir tmp;
    const QString doc = tmp.filePath(QStringLiteral("aa.doc"));
    ASSERT_TRUE(WriteDocument(doc,
                              ToRtf(ExportParagraphs(QStringLiteral("静夜思"),
                                                     QStringLiteral("床前明月光，\r\n疑是地上霜。\r\n"), 17)),
                              nullptr));
    const QStringList profile{QStringLiteral("-env:UserInstallation=file://") + tmp.filePath(QStringLiteral("profile"))};
    for (const char *format : {"pdf", "fodt"})
        RunTool(soffice, profile + QStringList{QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                                           QLatin1String(format), QStringLiteral("--outdir"), tmp.path(), doc});
    const QString text = testing::PdfText(tmp.filePath(QStringLiteral("aa.pdf")));
    EXPECT_TRUE(text.contains(QStringLiteral("静夜思"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("疑是地上霜。"))) << text.toStdString();
    const QString flat = QString::fromUtf8(ReadAll(tmp.filePath(QStringLiteral("aa.fodt"))));
    ASSERT_FALSE(flat.isEmpty());
    for (const char *wanted : {"fo:font-size=\"16.5pt\"", "fo:font-size=\"10.5pt\"", "宋体", "fo:text-align=\"center\""})
        EXPECT_TRUE(flat.contains(QString::fromUtf8(wanted))) << wanted;
}

TEST(Printout, LinesInOrderWithTheDateAndTheRules)
{
    const QString rule(54, u'-');
    const QList<PrintLine> expected{
        {QStringLiteral("春晓(2024/5/6)"), 12}, {rule, 12},
        {QStringLiteral("A"), 18},                {QStringLiteral("B  "), 18}, {QString(), 18},
        {rule, 18},
    };
    EXPECT_EQ(PrintLines(QStringLiteral(" 春晓 "), QStringLiteral("  A\r\nB  \r\n "), QDate(2024, 5, 6)), expected);
    // Nothing chosen: the date line with an empty title, the rules, an empty body.
    EXPECT_EQ(PrintLines(QString(), QString(), QDate(2024, 5, 6)),
              (QList<PrintLine>{{QStringLiteral("(2024/5/6)"), 12}, {rule, 12}, {QString(), 18}, {rule, 18}}));
}

TEST(Printout, PdfHoldsEveryLineAcrossPages)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir tmp;
    const QString pdf = tmp.filePath(QStringLiteral("out.pdf"));
    qputenv(kPrintToPdfVariable, pdf.toUtf8());
    QStringList body;
    for (int i = 1; i <= 60; ++i)   // more than one page at 18 points
        body << QStringLiteral("第%1句").arg(i);
    QString error;
    const bool printed = PrintOnDefaultPrinter(
        PrintLines(QStringLiteral("春晓"), body.join(QStringLiteral("\r\n")), QDate(2024, 5, 6)), &error);
    qunsetenv(kPrintToPdfVariable);
    ASSERT_TRUE(printed) << error.toStdString();
    const QString text = testing::PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("春晓(2024/5/6)"))) << text.toStdString();
    EXPECT_EQ(text.count(QString(54, u'-')), 2);
    EXPECT_TRUE(text.contains(QStringLiteral("第1句")));
    EXPECT_TRUE(text.contains(QStringLiteral("第60句")));
    EXPECT_GE(text.count(u'\f'), 2);   // page breaks
}

TEST(DesktopHandlers, CacheEntriesMimeappsListsAndRemovedAssociations)
{
    QTemporaryDir tmp;
    const QString cached = tmp.filePath(QStringLiteral("a/applications"));
    const QString plain = tmp.filePath(QStringLiteral("b/applications"));
    const QString list = tmp.filePath(QStringLiteral("config/mimeapps.list"));
    WriteAll(cached + QStringLiteral("/mimeinfo.cache"),
             "[MIME Cache]\napplication/rtf=writer.desktop;abiword.desktop;\ntext/plain=gedit.desktop;\n");
    WriteAll(cached + QStringLiteral("/ignored.desktop"), "[Desktop Entry]\nMimeType=application/msword;\n");
    WriteAll(plain + QStringLiteral("/word.desktop"), "[Desktop Entry]\nName=W\nMimeType=text/x-c;application/msword;\n");
    WriteAll(list, "[Added Associations]\napplication/msword=mine.desktop;\n"
                   "[Removed Associations]\napplication/rtf=abiword.desktop;\n");

    const QStringList types{QStringLiteral("application/msword"), QStringLiteral("application/rtf")};
    EXPECT_EQ(MimeHandlers(types, {cached, plain}, {list}),
              (QStringList{QStringLiteral("mine.desktop"), QStringLiteral("writer.desktop"), QStringLiteral("word.desktop")}));
    EXPECT_TRUE(MimeHandlers({QStringLiteral("application/x-none")}, {cached, plain}, {list}).isEmpty());
    EXPECT_TRUE(MimeHandlers(types, {tmp.filePath(QStringLiteral("missing"))}, {}).isEmpty());
}

TEST(WorksManagement, YearFromTheStartOfTheTimeOfWriting)
{
    const std::pair<const char *, double> cases[] = {
        {"2008年春", 2008}, {" 1999.5 ", 1999.5}, {"-300年", -300}, {"公元2008", 0}, {"", 0}, {"12.x", 12},
    };
    for (const auto &[text, year] : cases)
        EXPECT_EQ(LeadingNumber(QString::fromUtf8(text)), year) << text;
}

}  // namespace
}  // namespace versilo
