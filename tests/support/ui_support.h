// SPDX-License-Identifier: GPL-3.0-or-later
// What the tests share: mouse events sent straight to a widget, settling
// the windows discarded with deleteLater, readable QString output, and a
// stand-in launcher for window tests.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QProcess>
#include <QWidget>
#include <ostream>

// Readable failure output for texts (CR and LF shown as \r and \n).
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << QString(s).replace("\r", "\\r").replace("\n", "\\n").toStdString() << '"';
}

namespace versilo::testing {

// A mouse press, move, release or double-click at a point of `w`; a move
// carries the button as held.
inline void Send(QWidget *w, QEvent::Type type, QPoint local, Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent e(type, QPointF(local), QPointF(w->mapToGlobal(local)),
                  type == QEvent::MouseMove ? Qt::NoButton : button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// Windows closed or discarded go with deleteLater: finish that now.
inline void Settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// The text of a PDF as pdftotext reads it (pages end with a form feed);
// empty when pdftotext (poppler-utils) is missing or fails.
inline QString PdfText(const QString &pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// A plain borderless launcher of the launcher's size at `at`, registered
// as Form10 and shown, so that the placement of other windows can be seen.
template <class Registry> QWidget *OpenStandInLauncher(Registry &registry, QPoint at)
{
    const QString name = QStringLiteral("Form10");
    registry.Register(name, [at] {
        auto *w = new QWidget;
        w->setWindowFlag(Qt::FramelessWindowHint);
        w->resize(873, 584);   // 13095 x 8760 twips
        w->move(at);
        return w;
    });
    return registry.OpenFresh(name);
}

}  // namespace versilo::testing
