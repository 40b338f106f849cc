// SPDX-License-Identifier: GPL-3.0-or-later
#include "printout.h"

#include <QFileInfo>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "prosody.h"
#include "widgets.h"

namespace versilo {

namespace {

// A page with room around the text, as a letter has.
void SetMargins(QPrinter &printer) { printer.setPageMargins(QMarginsF(15, 20, 15, 20), QPageLayout::Millimeter); }

QStringList TextLines(const QString &text)
{
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(u'\r', u'\n');
    return s.split(u'\n');
}

}  // namespace

QString PrintDate(const QDate &date) { return date.toString(QStringLiteral("yyyy/M/d")); }

QList<PrintLine> PrintLines(const QString &title, const QString &body, const QDate &date)
{
    QList<PrintLine> lines{
        {TrimBlanks(title) + u'(' + PrintDate(date) + u')', kPrintHeadPoints},
        {kPrintRule, kPrintHeadPoints},
    };
    for (const QString &line : TextLines(TrimBlanks(body)))
        lines.append({line, kPrintBodyPoints});
    lines.append({kPrintRule, kPrintBodyPoints});
    return lines;
}

bool RenderPrintout(QPagedPaintDevice &device, const QList<PrintLine> &lines, QString *error)
{
    QPainter painter;
    if (!painter.begin(&device)) {
        if (error)
            *error = kPrintFailed + QStringLiteral("无法开始打印文档。");
        return false;
    }
    const QRect page = painter.viewport();   // the printable area, in device pixels
    int y = 0;
    for (const PrintLine &line : lines) {
        QFont font = SongFont(line.points);
        painter.setFont(font);
        const QString text = line.text.isEmpty() ? QStringLiteral(" ") : line.text;
        const QRect needed = painter.boundingRect(QRect(0, 0, page.width(), page.height()),
                                                  Qt::TextWrapAnywhere, text);
        if (y > 0 && y + needed.height() > page.height()) {
            if (!device.newPage()) {
                painter.end();
                if (error)
                    *error = kPrintFailed + QStringLiteral("无法开始新的一页。");
                return false;
            }
            y = 0;
        }
        painter.drawText(QRect(0, y, page.width(), needed.height()), Qt::TextWrapAnywhere, text);
        y += needed.height();
    }
    if (!painter.end()) {
        if (error)
            *error = kPrintFailed + QStringLiteral("文档未能送出。");
        return false;
    }
    return true;
}

bool PrintOnDefaultPrinter(const QList<PrintLine> &lines, QString *error)
{
    const QString pdf = qEnvironmentVariable(kPrintToPdfVariable);
    if (!pdf.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        SetMargins(printer);
        if (!RenderPrintout(printer, lines, error))
            return false;
        if (!QFileInfo::exists(pdf)) {
            if (error)
                *error = kPrintFailed + QStringLiteral("无法写入文件 ") + pdf;
            return false;
        }
        return true;
    }

    const QPrinterInfo info = QPrinterInfo::defaultPrinter().isNull()
                                  ? (QPrinterInfo::availablePrinters().isEmpty()
                                         ? QPrinterInfo()
                                         : QPrinterInfo::availablePrinters().constFirst())
                                  : QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        if (error)
            *error = kNoPrinter;
        return false;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    SetMargins(printer);
    printer.setDocName(lines.isEmpty() ? QStringLiteral("Versilo") : lines.constFirst().text);
    if (!RenderPrintout(printer, lines, error))
        return false;
    if (printer.printerState() == QPrinter::Error) {
        if (error)
            *error = kPrintFailed + QStringLiteral("打印机“") + info.printerName() + QStringLiteral("”报告了错误。");
        return false;
    }
    return true;
}

}  // namespace versilo
