// SPDX-License-Identifier: GPL-3.0-or-later
// The program's icon: its vermilion seal 韵, as on the launcher, drawn in
// code. The window icon and the desktop icons (hicolor PNGs made at build
// time by versilo-icons) are the same picture.
#pragma once

#include <QIcon>
#include <QImage>

namespace versilo {

// The desktop entry's name; also the icon's name in the icon theme.
inline const QString kDesktopId = QStringLiteral("org.versilo.Versilo");

// The icon as an image of side x side pixels, transparent around the seal.
QImage AppIconImage(int side);
// The window icon, in the sizes a desktop asks for.
QIcon AppIcon();

}  // namespace versilo
