// SPDX-License-Identifier: GPL-3.0-or-later
// Printing a work (打印): the lines of the printout, laid out on any paged
// device, and the run on the default printer. No widgets.
#pragma once

#include <QDate>
#include <QList>
#include <QString>

class QPagedPaintDevice;

namespace versilo {

constexpr double kPrintHeadPoints = 12;   // the printer's size before the body
constexpr double kPrintBodyPoints = 18;
inline const QString kPrintRule = QString(54, u'-');
inline const QString kNoPrinter = QStringLiteral("没有可用的打印机，无法打印。请先在系统中安装或连接打印机。");
inline const QString kPrintFailed = QStringLiteral("打印失败：");

// For tests and for printing to a file: when this environment variable
// names a file, 打印 writes a PDF there instead of using a printer.
inline constexpr const char *kPrintToPdfVariable = "VERSILO_PRINT_TO_PDF";

struct PrintLine {
    QString text;
    double points;
    bool operator==(const PrintLine &) const = default;
};

// In order: the title trimmed of blanks with "(" date ")", a rule of 54 "-",
// then at 18 points the body trimmed of blanks, one line per line of the
// text (CR LF, CR or LF), and the rule again.
QList<PrintLine> PrintLines(const QString &title, const QString &body, const QDate &date);

// The date as the head line shows it: 2024/5/6.
QString PrintDate(const QDate &date);

// Lays the lines out top to bottom in 宋体, one under the other, a line too
// long for the page wrapped, a new page when the page is full. False with
// a Chinese *error when the device cannot be painted on.
bool RenderPrintout(QPagedPaintDevice &device, const QList<PrintLine> &lines, QString *error);

// Sends the lines to the default printer as one document, or to the PDF
// named by VERSILO_PRINT_TO_PDF. False with a Chinese *error (kNoPrinter
// when the system has no printer).
bool PrintOnDefaultPrinter(const QList<PrintLine> &lines, QString *error);

}  // namespace versilo
