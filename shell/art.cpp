// SPDX-License-Identifier: GPL-3.0-or-later
#include "art.h"

#include <QGuiApplication>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QScreen>
#include <cmath>

#include "widgets.h"

namespace versilo {

namespace {

qreal PixelRatio()
{
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return app->devicePixelRatio();
    return 1.0;
}

// Pictures are drawn once per size and kind; there are only a handful.
QHash<QString, QPixmap> &Cache()
{
    static QHash<QString, QPixmap> cache;
    return cache;
}

template <class Draw>
QPixmap Cached(const QString &kind, QSize size, const QString &text, Draw draw)
{
    size = size.expandedTo(QSize(1, 1));
    const qreal dpr = PixelRatio();
    const QString key = QStringLiteral("%1|%2x%3|%4|%5")
                            .arg(kind)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(dpr)
                            .arg(text);
    auto &cache = Cache();
    const auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;
    QPixmap pm(QSize(qCeil(size.width() * dpr), qCeil(size.height() * dpr)));
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    {
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        draw(p, QRectF(QPointF(0, 0), QSizeF(size)));
    }
    cache.insert(key, pm);
    return pm;
}

// Draws all of a picture into `target`. The source of drawPixmap counts the
// picture's own pixels, not device-independent ones: on a screen scaled by
// 2 a source of the logical size would take only the top-left quarter.
void DrawWhole(QPainter &p, const QRectF &target, const QPixmap &pm)
{
    p.drawPixmap(target, pm, QRectF(pm.rect()));
}

QColor WithAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// Rice paper: a warm ground darkening to ochre at the edges, long thin fibres
// and a few specks. Deterministic, so every window looks the same.
void PaintPaper(QPainter &p, const QRectF &r, QColor ground, quint32 seed)
{
    p.fillRect(r, ground);
    QRadialGradient vignette(r.center(), std::hypot(r.width(), r.height()) / 2);
    vignette.setColorAt(0.0, WithAlpha(ink::kPaperDeep, 0));
    vignette.setColorAt(0.65, WithAlpha(ink::kPaperDeep, 40));
    vignette.setColorAt(1.0, WithAlpha(ink::kPaperDeep, 150));
    p.fillRect(r, vignette);

    QRandomGenerator rng(seed);
    const double area = r.width() * r.height();
    // Cloudy unevenness of handmade paper.
    const int clouds = int(area / 9000) + 4;
    for (int i = 0; i < clouds; ++i) {
        const QPointF c(r.left() + rng.bounded(r.width()), r.top() + rng.bounded(r.height()));
        const double rad = 20 + rng.bounded(70.0);
        QRadialGradient g(c, rad);
        const bool light = rng.bounded(2) == 0;
        g.setColorAt(0, light ? QColor(255, 252, 240, 26) : WithAlpha(ink::kPaperDeep, 26));
        g.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, rad, rad);
    }
    // Fibres.
    const int fibres = int(area / 500) + 6;
    for (int i = 0; i < fibres; ++i) {
        QPointF a(r.left() + rng.bounded(r.width()), r.top() + rng.bounded(r.height()));
        const double angle = rng.bounded(2 * M_PI);
        const double len = 6 + rng.bounded(26.0);
        const QPointF b = a + QPointF(std::cos(angle) * len, std::sin(angle) * len);
        const QPointF ctl = (a + b) / 2 + QPointF(rng.bounded(8.0) - 4, rng.bounded(8.0) - 4);
        QPainterPath path(a);
        path.quadTo(ctl, b);
        const bool dark = rng.bounded(3) == 0;
        p.setPen(QPen(dark ? QColor(150, 125, 85, 34) : QColor(255, 250, 235, 70),
                      0.4 + rng.bounded(0.6)));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    // Specks.
    const int specks = int(area / 2500) + 2;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < specks; ++i) {
        p.setBrush(QColor(110, 90, 60, 20 + rng.bounded(40)));
        const QPointF c(r.left() + rng.bounded(r.width()), r.top() + rng.bounded(r.height()));
        const double rad = 0.3 + rng.bounded(0.8);
        p.drawEllipse(c, rad, rad);
    }
}

// A thin double rule, as on a mounted scroll.
void PaintFrame(QPainter &p, const QRectF &r, double inset)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(WithAlpha(ink::kInk, 150), 1.2));
    p.drawRect(r.adjusted(inset, inset, -inset, -inset));
    p.setPen(QPen(WithAlpha(ink::kInk, 90), 0.6));
    p.drawRect(r.adjusted(inset + 3, inset + 3, -inset - 3, -inset - 3));
}

// A ridge line by midpoint displacement: heights (0 = base, 1 = highest)
// at evenly spaced points across the width.
QList<double> RidgeHeights(int points, double roughness, quint32 seed)
{
    int n = 1;
    while (n < points - 1)
        n *= 2;
    QList<double> h(n + 1, 0.0);
    QRandomGenerator rng(seed);
    h[0] = 0.2 + rng.bounded(0.3);
    h[n] = 0.2 + rng.bounded(0.3);
    double spread = 0.9;
    for (int step = n; step > 1; step /= 2) {
        for (int i = step / 2; i < n; i += step) {
            h[i] = (h[i - step / 2] + h[i + step / 2]) / 2 + (rng.bounded(2.0) - 1.0) * spread;
        }
        spread *= roughness;
    }
    double lo = h[0], hi = h[0];
    for (double v : h) {
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    for (double &v : h)
        v = hi > lo ? (v - lo) / (hi - lo) : 0.5;
    return h;
}

// A range of mountains in ink wash: the ridge carries the darkest ink, the
// wash fades into mist towards the foot; a few dry strokes give texture.
void PaintRange(QPainter &p, const QRectF &r, double baseY, double height, int alpha,
                quint32 seed)
{
    const QList<double> h = RidgeHeights(65, 0.55, seed);
    const int n = h.size() - 1;
    QList<QPointF> ridge;
    for (int i = 0; i <= n; ++i)
        ridge << QPointF(r.left() + r.width() * i / n, baseY - height * h[i]);

    // A smooth line through the points.
    QPainterPath line(ridge.first());
    for (int i = 1; i <= n; ++i) {
        const QPointF mid = (ridge[i - 1] + ridge[i]) / 2;
        line.quadTo(ridge[i - 1], mid);
    }
    line.lineTo(ridge.last());

    QPainterPath body = line;
    body.lineTo(r.right(), r.bottom());
    body.lineTo(r.left(), r.bottom());
    body.closeSubpath();

    QLinearGradient wash(0, baseY - height, 0, baseY + height * 0.35);
    wash.setColorAt(0.0, WithAlpha(ink::kInk, alpha));
    wash.setColorAt(0.5, WithAlpha(ink::kGreyInk, alpha * 2 / 3));
    wash.setColorAt(1.0, WithAlpha(ink::kGreyInk, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(wash);
    p.drawPath(body);

    // The ridge itself, drawn twice with a soft and a firmer brush.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(WithAlpha(ink::kInk, alpha / 2), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(line);
    p.setPen(QPen(WithAlpha(ink::kInk, std::min(255, alpha + 20)), 0.9, Qt::SolidLine,
                  Qt::RoundCap));
    p.drawPath(line);

    // Dry strokes below the ridge, slanting with the slope.
    QRandomGenerator rng(seed * 7 + 1);
    for (int i = 1; i < n; ++i) {
        if (rng.bounded(3) != 0)
            continue;
        const QPointF top = ridge[i] + QPointF(0, 3 + rng.bounded(height * 0.25));
        const double slope = (ridge[i + 1].y() - ridge[i - 1].y()) / 2;
        const QPointF end = top + QPointF(slope * 0.6, 6 + rng.bounded(height * 0.3));
        p.setPen(QPen(WithAlpha(ink::kInk, alpha / 3), 0.7, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(top, end);
    }
}

// A stem of bamboo in pale ink at the left edge, with knots and a few
// leaves hanging from them.
void PaintBamboo(QPainter &p, const QRectF &r)
{
    const double h = r.height();
    const double x = r.left() + r.width() * 0.035;
    const double w = std::max(3.0, r.width() * 0.0075);
    const double segment = h * 0.17;
    p.setPen(Qt::NoPen);
    for (int k = 0; k < 6; ++k) {
        const double y0 = r.top() + h * 0.02 + k * segment;
        QLinearGradient g(x, 0, x + w, 0);
        g.setColorAt(0, WithAlpha(ink::kInk, 80));
        g.setColorAt(0.5, WithAlpha(ink::kInk, 45));
        g.setColorAt(1, WithAlpha(ink::kInk, 75));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(x, y0 + 1.5, w, segment - 3), w / 2.5, w / 2.5);
        // The knot.
        p.setBrush(WithAlpha(ink::kInk, 110));
        p.drawRoundedRect(QRectF(x - 1, y0 + segment - 2.5, w + 2, 1.6), 0.8, 0.8);
    }
    auto leaf = [&](QPointF base, double angle, double len, int alpha) {
        p.save();
        p.translate(base);
        p.rotate(angle);
        const double wide = len * 0.11;
        QPainterPath path(QPointF(0, 0));
        path.cubicTo(QPointF(len * 0.25, -wide), QPointF(len * 0.65, -wide * 0.9),
                     QPointF(len, 0));
        path.cubicTo(QPointF(len * 0.65, wide * 0.5), QPointF(len * 0.25, wide * 0.9),
                     QPointF(0, 0));
        QLinearGradient g(0, 0, len, 0);
        g.setColorAt(0, WithAlpha(ink::kInk, alpha));
        g.setColorAt(1, WithAlpha(ink::kInk, alpha * 2 / 3));
        p.setBrush(g);
        p.drawPath(path);
        p.restore();
    };
    const double len = h * 0.085;
    const QPointF knot1(x + w, r.top() + h * 0.02 + segment * 2 - 1);
    const QPointF knot2(x + w, r.top() + h * 0.02 + segment * 3 - 1);
    leaf(knot1, 22, len, 95);
    leaf(knot1, 44, len * 0.9, 70);
    leaf(knot1, 68, len * 0.75, 55);
    leaf(knot2, 15, len * 1.1, 85);
    leaf(knot2, 36, len * 0.95, 65);
    leaf(knot2 + QPointF(0, segment), 30, len * 0.85, 60);
    leaf(knot2 + QPointF(0, segment), 58, len * 0.7, 45);
}

// Two birds far off, a flick of the brush each.
void PaintBirds(QPainter &p, QPointF at, double size)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(WithAlpha(ink::kInk, 120), 1.0, Qt::SolidLine, Qt::RoundCap));
    for (const QPointF off : {QPointF(0, 0), QPointF(size * 1.8, size * 0.7)}) {
        const QPointF c = at + off;
        QPainterPath bird(c + QPointF(-size, -size * 0.15));
        bird.quadTo(c + QPointF(-size * 0.45, -size * 0.55), c);
        bird.quadTo(c + QPointF(size * 0.45, -size * 0.6), c + QPointF(size, -size * 0.3));
        p.drawPath(bird);
    }
}

// Draws the characters of text one under the other, centred in r, in the
// given font and colour (vertical text reads top to bottom).
void DrawVertical(QPainter &p, const QRectF &r, const QString &text, const QFont &font,
                  const QColor &colour)
{
    if (text.isEmpty())
        return;
    p.setFont(font);
    p.setPen(colour);
    const QFontMetricsF fm(font);
    const double cell = std::min(r.height() / text.size(), fm.height() * 1.05);
    double y = r.top() + (r.height() - cell * text.size()) / 2;
    for (const QChar c : text) {
        p.drawText(QRectF(r.left(), y, r.width(), cell), Qt::AlignCenter, QString(c));
        y += cell;
    }
}

QFont FittedKai(double pixelSize)
{
    QFont f = KaiFont(10);
    f.setPixelSize(std::max(6, int(pixelSize)));
    return f;
}

void PaintSlip(QPainter &p, const QRectF &r)
{
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, ink::kSlip.lighter(104));
    g.setColorAt(1, ink::kSlip.darker(104));
    p.fillRect(r, g);
    PaintPaper(p, r, Qt::transparent, 7);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(WithAlpha(ink::kInk, 120), 0.8));
    p.drawRect(r.adjusted(1.5, 1.5, -1.5, -1.5));
}

}  // namespace

QPixmap WindowBackground(QSize size)
{
    return Cached(QStringLiteral("window"), size, QString(), [](QPainter &p, const QRectF &r) {
        PaintPaper(p, r, ink::kPaper, 1);
        PaintFrame(p, r, 5);
    });
}

QPixmap LauncherBackground(QSize size)
{
    return Cached(QStringLiteral("launcher"), size, QString(), [](QPainter &p, const QRectF &r) {
        PaintPaper(p, r, ink::kPaper, 2);
        // The moon, a pale disc washed out of the paper.
        const QPointF moon(r.left() + r.width() * 0.86, r.top() + r.height() * 0.16);
        const double mr = r.height() * 0.075;
        QRadialGradient halo(moon, mr * 2.2);
        halo.setColorAt(0, QColor(255, 251, 238, 200));
        halo.setColorAt(0.45, QColor(255, 251, 238, 90));
        halo.setColorAt(1, QColor(255, 251, 238, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(moon, mr * 2.2, mr * 2.2);
        p.setPen(QPen(WithAlpha(ink::kGreyInk, 70), 0.8));
        p.setBrush(QColor(255, 252, 242, 170));
        p.drawEllipse(moon, mr, mr);
        PaintBirds(p, QPointF(moon.x() - mr * 2.6, moon.y() + mr * 1.2), r.height() * 0.011);
        // Three ranges of mountains in mist, the nearest darkest.
        PaintRange(p, r, r.top() + r.height() * 0.80, r.height() * 0.22, 34, 11);
        PaintRange(p, r, r.top() + r.height() * 0.89, r.height() * 0.12, 60, 5);
        PaintRange(p, r, r.top() + r.height() * 0.975, r.height() * 0.07, 90, 29);
        PaintBamboo(p, r);
        PaintFrame(p, r, 6);
    });
}

QPixmap ButtonArt(QSize size, const QString &text, TextDirection direction)
{
    const QString kind = direction == TextDirection::Vertical ? QStringLiteral("vbutton")
                                                              : QStringLiteral("hbutton");
    return Cached(kind, size, text, [&](QPainter &p, const QRectF &r) {
        PaintSlip(p, r);
        if (text.isEmpty())
            return;
        if (direction == TextDirection::Vertical) {
            const QRectF inner = r.adjusted(2, 5, -2, -5);
            const double px = std::min(inner.width() * 0.82, inner.height() / text.size() * 0.9);
            DrawVertical(p, inner, text, FittedKai(px), ink::kInk);
        } else {
            const QRectF inner = r.adjusted(4, 2, -4, -2);
            double px = inner.height() * 0.66;
            QFont f = FittedKai(px);
            while (px > 6 && QFontMetricsF(f).horizontalAdvance(text) > inner.width()) {
                px -= 1;
                f = FittedKai(px);
            }
            p.setFont(f);
            p.setPen(ink::kInk);
            p.drawText(inner, Qt::AlignCenter, text);
        }
    });
}

QPixmap SealArt(QSize size, const QString &text)
{
    return Cached(QStringLiteral("seal"), size, text, [&](QPainter &p, const QRectF &r) {
        const QRectF s = r.adjusted(0.5, 0.5, -0.5, -0.5);
        p.setPen(Qt::NoPen);
        p.setBrush(ink::kVermilion);
        p.drawRoundedRect(s, s.width() * 0.08, s.width() * 0.08);
        // Worn edges of the paste.
        QRandomGenerator rng(5);
        p.setBrush(WithAlpha(ink::kPaper, 110));
        for (int i = 0; i < 14; ++i) {
            const QPointF c(s.left() + rng.bounded(s.width()), s.top() + rng.bounded(s.height()));
            p.drawEllipse(c, 0.5 + rng.bounded(0.7), 0.5 + rng.bounded(0.7));
        }
        if (text.isEmpty())
            return;
        const QRectF inner = s.adjusted(s.width() * 0.1, s.height() * 0.1, -s.width() * 0.1,
                                        -s.height() * 0.1);
        QFont f = SongFont(10);
        f.setBold(true);
        const QColor white(0xFB, 0xF3, 0xE6);
        // Up to two characters a column, columns read right to left; each
        // character is stretched to fill its cell, as seal script is cut.
        const int columns = text.size() <= 2 ? text.size() : 2;
        const int perColumn = (text.size() + columns - 1) / columns;
        const double cw = inner.width() / columns, ch = inner.height() / perColumn;
        f.setPixelSize(std::max(6, int(ch)));
        const QFontMetricsF fm(f);
        p.setFont(f);
        p.setPen(white);
        for (int i = 0; i < text.size(); ++i) {
            const int col = i / perColumn, row = i % perColumn;
            const QRectF cell(inner.right() - (col + 1) * cw, inner.top() + row * ch, cw, ch);
            const QRectF glyph = fm.tightBoundingRect(text.mid(i, 1));
            if (glyph.isEmpty())
                continue;
            p.save();
            p.translate(cell.topLeft());
            p.scale(cell.width() / glyph.width(), cell.height() / glyph.height());
            p.drawText(-glyph.topLeft(), text.mid(i, 1));
            p.restore();
        }
    });
}

QPixmap ProductNameArt(QSize size)
{
    return Cached(QStringLiteral("product"), size, QString(), [](QPainter &p, const QRectF &r) {
        const double w = r.width();
        // "韵律" large in brush script.
        const QRectF nameRect(r.left(), r.top(), w, std::min(r.height() * 0.5, w * 2.3));
        DrawVertical(p, nameRect, QStringLiteral("韵律"), FittedKai(w * 0.95), ink::kInk);
        // The seal.
        const double sealSide = w * 0.8;
        const QRectF seal(r.left() + (w - sealSide) / 2, nameRect.bottom() + w * 0.2, sealSide,
                          sealSide);
        DrawWhole(p, seal, SealArt(seal.size().toSize(), QStringLiteral("韵")));
        // "Versilo" turned to run down the strip.
        QFont latin;
        latin.setFamilies({QStringLiteral("Noto Serif CJK SC"), QStringLiteral("DejaVu Serif")});
        latin.setPixelSize(std::max(6, int(w * 0.52)));
        latin.setLetterSpacing(QFont::PercentageSpacing, 115);
        p.save();
        const double top = seal.bottom() + w * 0.3;
        p.translate(r.left() + w / 2, top);
        p.rotate(90);
        p.setFont(latin);
        p.setPen(WithAlpha(ink::kInk, 190));
        p.drawText(QRectF(0, -w / 2, r.bottom() - top, w), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("Versilo"));
        p.restore();
    });
}

QPixmap MakerCreditArt(QSize size)
{
    return Cached(QStringLiteral("credit"), size, QString(), [](QPainter &p, const QRectF &r) {
        const double w = r.width();
        const QString credit = QStringLiteral("韵律书斋制");
        const QRectF textRect(r.left(), r.top() + w * 0.2, w,
                              std::min(r.height() - w * 1.4, w * 0.8 * credit.size()));
        DrawVertical(p, textRect, credit, FittedKai(w * 0.66), ink::kGreyInk);
        const double sealSide = w * 0.62;
        const QRectF seal(r.left() + (w - sealSide) / 2, textRect.bottom() + w * 0.3, sealSide,
                          sealSide);
        DrawWhole(p, seal, SealArt(seal.size().toSize(), QStringLiteral("书")));
    });
}

QPixmap InscriptionArt(QSize size, const QString &text)
{
    return Cached(QStringLiteral("inscription"), size, text, [&](QPainter &p, const QRectF &r) {
        const double px = std::min(r.width() * 0.85, r.height() / std::max<qsizetype>(1, text.size()));
        DrawVertical(p, r, text, FittedKai(px), WithAlpha(ink::kGreyInk, 210));
    });
}

}  // namespace versilo
