// SPDX-License-Identifier: GPL-3.0-or-later
// Versilo: starts with the launcher; everything else opens from there.
#include <QApplication>

#include "appcontext.h"
#include "launcher.h"
#include "screenfit.h"
#include "windowregistry.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // Before any font or window is made: the layout fits the screen.
    versilo::FitLayoutToScreen();
    versilo::PrepareApplication(app);

    versilo::WindowRegistry &windows = versilo::AppContext::Instance().Windows();
    versilo::RegisterAllWindows(windows);
    windows.Show(versilo::window::kLauncher);

    const int code = app.exec();
    // Windows go before the application object does.
    windows.CloseAll();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}
