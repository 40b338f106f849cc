// SPDX-License-Identifier: GPL-3.0-or-later
// The program's artwork, drawn in code: rice paper, ink and a vermilion seal.
// Every function returns a cached pixmap of the size asked for (in device-
// independent pixels), drawn for the screen's pixel ratio.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace versilo {

namespace ink {
inline const QColor kPaper(0xF4, 0xEC, 0xDA);      // warm rice paper
inline const QColor kPaperDeep(0xE6, 0xD6, 0xB4);  // light ochre at the edges
inline const QColor kSlip(0xEF, 0xE2, 0xC3);       // the paper of a button slip
inline const QColor kInk(0x22, 0x1E, 0x1A);        // near-black ink
inline const QColor kGreyInk(0x6B, 0x64, 0x5B);    // a grey wash
inline const QColor kVermilion(0xB4, 0x2E, 0x1E);  // seal paste
}  // namespace ink

// The background picture of a window: rice paper with fibres and a thin ink
// frame.
QPixmap WindowBackground(QSize size);

// The launcher's background: paper with a distant ink-wash landscape and the moon.
QPixmap LauncherBackground(QSize size);

enum class TextDirection { Horizontal, Vertical };

// A picture button: a paper slip with a thin ink rule and its text in brush
// script (vertical text reads top to bottom).
QPixmap ButtonArt(QSize size, const QString &text, TextDirection direction);

// The product's name, vertical: "韵律" with its seal and "Versilo".
QPixmap ProductNameArt(QSize size);
// The maker's credit, vertical, in grey ink with a small seal.
QPixmap MakerCreditArt(QSize size);
// A square vermilion seal with one to four characters cut in white.
QPixmap SealArt(QSize size, const QString &text);
// A vertical inscription in grey ink (a decoration).
QPixmap InscriptionArt(QSize size, const QString &text);

}  // namespace versilo
