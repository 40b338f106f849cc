// SPDX-License-Identifier: GPL-3.0-or-later
#include "appicon.h"

#include <QPainter>
#include <QPixmap>
#include <algorithm>

#include "art.h"

namespace versilo {

QImage AppIconImage(int side)
{
    side = std::max(side, 1);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    // A small margin, as the icons beside it in a menu have.
    const int margin = std::max(1, side / 24);
    const QRect seal(margin, margin, side - 2 * margin, side - 2 * margin);
    const QPixmap art = SealArt(seal.size(), QStringLiteral("韵"));
    QPainter p(&image);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawPixmap(seal, art);
    return image;
}

QIcon AppIcon()
{
    QIcon icon;
    for (int side : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(QPixmap::fromImage(AppIconImage(side)));
    return icon;
}

}  // namespace versilo
