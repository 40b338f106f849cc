// SPDX-License-Identifier: GPL-3.0-or-later
#include "screenfit.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

#include "twips.h"

namespace versilo {

namespace {

bool &Fitted()
{
    static bool fitted = false;
    return fitted;
}

}  // namespace

double ScaleToFit(QSize designed, QSize available)
{
    if (designed.isEmpty() || available.isEmpty())
        return 1.0;
    const double sx = double(available.width()) / designed.width();
    const double sy = double(available.height()) / designed.height();
    return std::clamp(std::min(sx, sy), 0.1, 1.0);
}

void FitLayoutTo(const QRect &available)
{
    const QSize designed(int(std::ceil(kLargestWindowWidth / kTwipsPerPixel)),
                         int(std::ceil(kLargestWindowHeight / kTwipsPerPixel)));
    // Rounded down a little, so rounding each control never adds a pixel
    // beyond the edge.
    const double scale = ScaleToFit(designed, available.size());
    LayoutScaleSetting() = scale < 1.0 ? std::floor(scale * 1000) / 1000 : 1.0;
    Fitted() = true;
}

void FitLayoutToScreen()
{
    QScreen *screen = QGuiApplication::primaryScreen();
    if (screen)
        FitLayoutTo(screen->availableGeometry());
}

void ResetLayoutFit()
{
    LayoutScaleSetting() = 1.0;
    Fitted() = false;
}

bool LayoutFitted() { return Fitted(); }

QPoint WithinArea(QPoint wanted, QSize size, const QRect &area)
{
    if (area.isEmpty())
        return wanted;
    const int x = std::max(area.left(), std::min(wanted.x(), area.left() + area.width() - size.width()));
    const int y = std::max(area.top(), std::min(wanted.y(), area.top() + area.height() - size.height()));
    return QPoint(x, y);
}

QPoint KeptOnScreen(QPoint wanted, QSize size)
{
    if (!Fitted())
        return wanted;
    QScreen *screen = QGuiApplication::screenAt(QRect(wanted, size).center());
    if (!screen)
        screen = QGuiApplication::screenAt(wanted);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? WithinArea(wanted, size, screen->availableGeometry()) : wanted;
}

}  // namespace versilo
