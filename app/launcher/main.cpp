// Versilo: starts with the launcher; everything else opens from there.
#include <QApplication>

#include "appcontext.h"
#include "launcher.h"
#include "windowregistry.h"

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
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
