// SPDX-License-Identifier: GPL-3.0-or-later
#include "safety.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include "datastore.h"

namespace versilo {

namespace {

// Watches the presses the platform delivers to the top-level windows. The
// second press of a double-click that lands on another window than the
// first (the first click closed the window it was on, and the pointer now
// stands over the one beneath) is swallowed with its double-click and
// release: it was meant for the window that is gone.
class DoubleClickGuard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick
             && type != QEvent::MouseButtonRelease) || !watched->isWindowType())
            return false;
        auto *window = static_cast<QWindow *>(watched);
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (type == QEvent::MouseButtonPress) {
            const bool second = mouse->flags().testFlag(Qt::MouseEventCreatedDoubleClick);
            if (second && firstPress_ != window) {
                swallowing_ = window;
                return true;
            }
            firstPress_ = window;
            swallowing_ = nullptr;
            return false;
        }
        if (!swallowing_ || swallowing_ != window)
            return false;
        if (type == QEvent::MouseButtonRelease && mouse->buttons() == Qt::NoButton)
            swallowing_ = nullptr;
        return true;
    }

private:
    QPointer<QWindow> firstPress_;   // where the last press that started a click went
    QPointer<QWindow> swallowing_;   // the window whose click is being swallowed
};

}  // namespace

void InstallDoubleClickGuard()
{
    static QPointer<DoubleClickGuard> guard;
    QCoreApplication *app = QCoreApplication::instance();
    if (guard || !app)
        return;
    guard = new DoubleClickGuard(app);
    app->installEventFilter(guard);
}

void InstallStoreWaitCursor()
{
    static bool showing = false;
    DataStore::SetWaitNotifier([] {
        auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
        if (!app || showing || QThread::currentThread() != app->thread())
            return;
        showing = true;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        // The wait, and the operation it belongs to, end before control is
        // back in the event loop.
        QTimer::singleShot(0, app, [] {
            QGuiApplication::restoreOverrideCursor();
            showing = false;
        });
    });
}

}  // namespace versilo
