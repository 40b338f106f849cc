// SPDX-License-Identifier: GPL-3.0-or-later
// Keeping the windows on the screen. At start the program fits its layout
// to the available area of the screen (without the panels and docks): when
// the largest window would not fit, the whole layout is drawn smaller,
// keeping its proportions. From then on a window placed at the launcher's
// position is moved, where needed, to lie within the available area of
// the screen it is on.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace versilo {

// The largest window (the composition window), twips.
constexpr double kLargestWindowWidth = 13230;
constexpr double kLargestWindowHeight = 8835;

// The scale at which a window of `designed` pixels fits into `available`:
// 1 when it fits as designed, never more.
double ScaleToFit(QSize designed, QSize available);

// Fits the layout to `available` (sets LayoutScale) and keeps windows on
// the screen from now on.
void FitLayoutTo(const QRect &available);
// The same for the available area of the primary screen.
void FitLayoutToScreen();
// Back to the design scale, windows placed where asked.
void ResetLayoutFit();
bool LayoutFitted();

// The top-left nearest to `wanted` at which a window of `size` lies within
// `area` (at the area's top-left when it is larger).
QPoint WithinArea(QPoint wanted, QSize size, const QRect &area);
// Once the layout is fitted: `wanted` moved within the available area of
// the screen at the window's centre (or the primary screen); before that,
// `wanted` itself.
QPoint KeptOnScreen(QPoint wanted, QSize size);

}  // namespace versilo
