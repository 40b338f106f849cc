// Layouts are given in twips; 15 twips make one pixel.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <cmath>

namespace versilo {

constexpr double kTwipsPerPixel = 15.0;

constexpr int Px(double twips) { return int(twips >= 0 ? twips / kTwipsPerPixel + 0.5 : twips / kTwipsPerPixel - 0.5); }
constexpr double Twips(int pixels) { return pixels * kTwipsPerPixel; }
inline QRect TwRect(double left, double top, double width, double height)
{
    return QRect(Px(left), Px(top), Px(width), Px(height));
}
inline QSize TwSize(double width, double height) { return QSize(Px(width), Px(height)); }
inline QPoint TwPoint(double left, double top) { return QPoint(Px(left), Px(top)); }

}  // namespace versilo
