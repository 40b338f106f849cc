// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-icons OUTDIR SIZE...: writes the program's icon into an icon theme
// layout, OUTDIR/hicolor/<SIZE>x<SIZE>/apps/org.versilo.Versilo.png, drawn
// by the same code as the window icon. Runs at build time, offscreen.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "appicon.h"

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 3) {
        std::fputs("usage: versilo-icons OUTDIR SIZE...\n", stderr);
        return 2;
    }
    for (qsizetype i = 2; i < args.size(); ++i) {
        bool ok = false;
        const int side = args.at(i).toInt(&ok);
        if (!ok || side < 16 || side > 1024) {
            std::fprintf(stderr, "versilo-icons: not a size: %s\n", qPrintable(args.at(i)));
            return 2;
        }
        const QString dir = QStringLiteral("%1/hicolor/%2x%2/apps").arg(args.at(1)).arg(side);
        const QString file = dir + u'/' + versilo::kDesktopId + QStringLiteral(".png");
        if (!QDir().mkpath(dir) || !versilo::AppIconImage(side).save(file, "PNG")) {
            std::fprintf(stderr, "versilo-icons: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
