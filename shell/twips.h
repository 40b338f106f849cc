// SPDX-License-Identifier: GPL-3.0-or-later
// Layouts are given in twips; 15 twips make one pixel as designed. On a
// screen too small for the windows the whole layout is drawn smaller by
// LayoutScale (screenfit.h); sizes, positions and fonts shrink together.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

namespace versilo {

constexpr double kTwipsPerPixel = 15.0;

// 1 as designed; set once at start, before any window is built.
inline double &LayoutScaleSetting()
{
    static double scale = 1.0;
    return scale;
}
inline double LayoutScale() { return LayoutScaleSetting(); }

inline int Px(double twips)
{
    const double px = twips / kTwipsPerPixel * LayoutScale();
    return int(px >= 0 ? px + 0.5 : px - 0.5);
}
inline double Twips(int pixels) { return pixels * kTwipsPerPixel / LayoutScale(); }
inline QRect TwRect(double left, double top, double width, double height)
{
    return QRect(Px(left), Px(top), Px(width), Px(height));
}
inline QSize TwSize(double width, double height) { return QSize(Px(width), Px(height)); }
inline QPoint TwPoint(double left, double top) { return QPoint(Px(left), Px(top)); }

}  // namespace versilo
