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

// A ridge of distant mountains, washed in grey ink fading downwards.
void PaintRidge(QPainter &p, const QRectF &r, double baseY, double height, int alpha,
                quint32 seed)
{
    QRandomGenerator rng(seed);
    QPainterPath ridge;
    ridge.moveTo(r.left(), r.bottom());
    ridge.lineTo(r.left(), baseY);
    const int steps = 14;
    double x = r.left();
    const double step = r.width() / steps;
    QPointF prev(r.left(), baseY);
    for (int i = 0; i < steps; ++i) {
        x += step;
        const double peak = baseY - height * (0.25 + rng.bounded(0.75));
        const QPointF top(x - step / 2 + rng.bounded(step / 3), peak);
        const QPointF next(x, baseY - height * rng.bounded(0.3));
        ridge.quadTo(QPointF(prev.x() + step / 4, peak + height * 0.2), top);
        ridge.quadTo(QPointF(top.x() + step / 4, peak + height * 0.25), next);
        prev = next;
    }
    ridge.lineTo(r.right(), r.bottom());
    ridge.closeSubpath();
    QLinearGradient wash(0, baseY - height, 0, r.bottom());
    wash.setColorAt(0.0, WithAlpha(ink::kInk, alpha));
    wash.setColorAt(0.45, WithAlpha(ink::kGreyInk, alpha / 2));
    wash.setColorAt(1.0, WithAlpha(ink::kGreyInk, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(wash);
    p.drawPath(ridge);
}

// A few leaves of bamboo in pale ink, from a stem at the left edge.
void PaintBamboo(QPainter &p, const QRectF &r)
{
    const double h = r.height();
    const QColor stem = WithAlpha(ink::kInk, 55);
    p.setPen(Qt::NoPen);
    p.setBrush(stem);
    const double x = r.left() + r.width() * 0.035;
    const double w = std::max(3.0, r.width() * 0.008);
    for (int k = 0; k < 5; ++k) {
        const double y0 = r.top() + h * (0.12 + k * 0.18);
        p.drawRoundedRect(QRectF(x, y0, w, h * 0.17), w / 2, w / 2);
    }
    auto leaf = [&](QPointF base, double angle, double len, int alpha) {
        p.save();
        p.translate(base);
        p.rotate(angle);
        QPainterPath path(QPointF(0, 0));
        path.cubicTo(QPointF(len * 0.3, -len * 0.09), QPointF(len * 0.7, -len * 0.07),
                     QPointF(len, 0));
        path.cubicTo(QPointF(len * 0.7, len * 0.05), QPointF(len * 0.3, len * 0.08),
                     QPointF(0, 0));
        p.setBrush(WithAlpha(ink::kInk, alpha));
        p.drawPath(path);
        p.restore();
    };
    const double len = h * 0.09;
    leaf(QPointF(x + w, r.top() + h * 0.30), 18, len, 60);
    leaf(QPointF(x + w, r.top() + h * 0.30), 38, len * 0.85, 45);
    leaf(QPointF(x + w, r.top() + h * 0.31), -8, len * 0.9, 50);
    leaf(QPointF(x + w, r.top() + h * 0.48), 28, len * 1.05, 55);
    leaf(QPointF(x + w, r.top() + h * 0.49), 52, len * 0.8, 40);
    leaf(QPointF(x + w, r.top() + h * 0.66), 12, len * 0.95, 48);
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
        // Three ranges of distant mountains, the nearest darkest.
        PaintRidge(p, r, r.top() + r.height() * 0.80, r.height() * 0.16, 40, 11);
        PaintRidge(p, r, r.top() + r.height() * 0.88, r.height() * 0.13, 65, 23);
        PaintRidge(p, r, r.top() + r.height() * 0.96, r.height() * 0.09, 95, 37);
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
        QColor white(0xFB, 0xF3, 0xE6);
        if (text.size() <= 1) {
            f.setPixelSize(std::max(6, int(inner.height() * 0.9)));
            p.setFont(f);
            p.setPen(white);
            p.drawText(inner, Qt::AlignCenter, text);
        } else {
            // Two columns read right to left, as seals are cut.
            const int perColumn = (text.size() + 1) / 2;
            f.setPixelSize(std::max(6, int(inner.height() / perColumn * 0.92)));
            const double half = inner.width() / 2;
            DrawVertical(p, QRectF(inner.left() + half, inner.top(), half, inner.height()),
                         text.left(perColumn), f, white);
            DrawVertical(p, QRectF(inner.left(), inner.top(), half, inner.height()),
                         text.mid(perColumn), f, white);
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
        p.drawPixmap(seal, SealArt(seal.size().toSize(), QStringLiteral("韵")),
                     QRectF(QPointF(0, 0), SealArt(seal.size().toSize(), QStringLiteral("韵"))
                                               .deviceIndependentSize()));
        // "Versilo" turned to run down the strip.
        QFont latin = SongFont(10);
        latin.setPixelSize(std::max(6, int(w * 0.5)));
        latin.setLetterSpacing(QFont::PercentageSpacing, 112);
        p.save();
        const double top = seal.bottom() + w * 0.3;
        p.translate(r.left() + w / 2, top);
        p.rotate(90);
        p.setFont(latin);
        p.setPen(ink::kGreyInk);
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
        const QPixmap s = SealArt(seal.size().toSize(), QStringLiteral("书"));
        p.drawPixmap(seal, s, QRectF(QPointF(0, 0), s.deviceIndependentSize()));
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
