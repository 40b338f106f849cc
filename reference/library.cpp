// SPDX-License-Identifier: GPL-3.0-or-later
#include "library.h"

namespace versilo {

QString Unmarked(const QString &text)
{
    QString t = text;
    t.remove(kSelectionMark);
    return t;
}

QString Marked(const QString &text) { return kSelectionMark + Unmarked(text); }

QString AuthorLifeLine(const QString &dynasty, double year)
{
    return dynasty + QStringLiteral("(公元") + QString::number(year, 'g', 15) + QStringLiteral("年)");
}

QString InitialsPattern(const QString &letters)
{
    return QStringLiteral("%") + letters + QStringLiteral("%");
}

ScrollRules PoemScrollRules()
{
    ScrollRules r;
    r.resetTop = kThumbResetTop;
    r.upStep = 8520;
    r.upMinTop = 600;
    r.downStep = 7875;
    r.downMaxTop = 7360;
    r.dragMin = 1245;
    r.dragMax = 1245 + 6200;
    r.startAt = LinearStart(1245, 240 * 25.8);
    // The arrows and keys reach every title: one at a time, until the last
    // one stands on the last label, the thumb following.
    r.keepInView = kListLabels;
    r.thumbAt = LinearThumb(1245, 240 * 25.8);
    return r;
}

ScrollRules AuthorScrollRules()
{
    ScrollRules r;
    r.resetTop = kThumbResetTop;
    r.upStep = 8520;
    r.upMinTop = 600;
    r.downStep = 8520;
    r.downMaxTop = 8920;
    r.dragMin = 1260;
    r.dragMax = 1260 + 6130;
    r.startAt = LinearStart(1260, 240 * 26);
    r.keepInView = kListLabels;
    r.thumbAt = LinearThumb(1260, 240 * 26);
    return r;
}

bool ShownOnLabel(const QString &poem)
{
    // Counted in characters: one outside the BMP is one character too.
    return poem.size() <= 1 || (poem.size() == 2 && poem.at(0).isHighSurrogate() && poem.at(1).isLowSurrogate());
}

}  // namespace versilo
