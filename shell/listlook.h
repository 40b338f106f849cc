// SPDX-License-Identifier: GPL-3.0-or-later
// The look of list labels: 宋体, light grey (&H00E0E0E0) behind black text
// where a list is grey. Colours sit in the palette, so the hover highlight
// can recolour the text.
#pragma once

class QLabel;

namespace versilo {

// Light grey background, black text.
void SetGreyLook(QLabel *label);

// A list entry: 宋体 of `points`, left with a small indent (or centred),
// vertically centred; grey when asked.
void SetListLook(QLabel *label, double points, bool grey, bool centred = false);

}  // namespace versilo
