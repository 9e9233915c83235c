#include "Scenes.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QtMath>

namespace orvan::artwork {

namespace {

QImage canvas(const QSize& size)
{
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::black);
    return img;
}

void snowflake(QPainter& p, QPointF c, qreal arm, const QColor& color, qreal width)
{
    p.save();
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 6; ++i) {
        const qreal a = i * M_PI / 3 + M_PI / 2;
        const QPointF dir(qCos(a), -qSin(a));
        p.drawLine(c, c + dir * arm);
        for (qreal at : {0.45, 0.7}) {
            const QPointF mid = c + dir * arm * at;
            for (int s : {-1, 1}) {
                const qreal b = a + s * M_PI / 4;
                p.drawLine(mid, mid + QPointF(qCos(b), -qSin(b)) * arm * 0.28);
            }
        }
    }
    p.restore();
}

// A smooth temperature trace: a slow drift with a few gentle swings and one excursion.
qreal trace(qreal t)
{
    return 0.55 * qSin(t * 2.1 + 0.4) + 0.25 * qSin(t * 5.3 + 1.3) + 0.12 * qSin(t * 11.7) +
           0.9 * qExp(-qPow((t - 2.15) * 3.2, 2));
}

// A ship-to-shore crane seen from the side.
void crane(QPainter& p, qreal x, qreal ground, qreal h, const QColor& color)
{
    p.save();
    QPen steel(color, h * 0.018, Qt::SolidLine, Qt::SquareCap);
    p.setPen(steel);
    const qreal legs = h * 0.28;
    p.drawLine(QPointF(x, ground), QPointF(x, ground - h * 0.62));
    p.drawLine(QPointF(x + legs, ground), QPointF(x + legs, ground - h * 0.62));
    p.drawLine(QPointF(x, ground - h * 0.3), QPointF(x + legs, ground - h * 0.3));
    p.drawLine(QPointF(x, ground - h * 0.3), QPointF(x + legs, ground - h * 0.62));
    // The boom reaching out over the water, and the back reach.
    p.drawLine(QPointF(x - h * 0.75, ground - h * 0.62), QPointF(x + legs + h * 0.3, ground - h * 0.62));
    p.drawLine(QPointF(x - h * 0.75, ground - h * 0.66), QPointF(x + legs + h * 0.3, ground - h * 0.66));
    p.drawLine(QPointF(x + legs * 0.5, ground - h), QPointF(x - h * 0.7, ground - h * 0.66));
    p.drawLine(QPointF(x + legs * 0.5, ground - h), QPointF(x + legs + h * 0.28, ground - h * 0.66));
    p.drawLine(QPointF(x + legs * 0.5, ground - h), QPointF(x + legs * 0.5, ground - h * 0.62));
    p.setBrush(color);
    p.drawRect(QRectF(x + legs * 0.2, ground - h * 0.74, legs * 0.55, h * 0.08));
    p.restore();
}

void containerStack(QPainter& p, qreal x, qreal ground, int columns, int maxRows, qreal cw, qreal ch,
                    QRandomGenerator& rng, qreal lightness, int alpha)
{
    static const QColor tints[] = {QColor(0xd8, 0xe2, 0xea), QColor(0x3d, 0x6d, 0x9a), QColor(0xb5, 0x5a, 0x3c),
                                   QColor(0x4f, 0x84, 0x64), QColor(0xc9, 0x9a, 0x3e), QColor(0x8a, 0x4a, 0x5e)};
    for (int c = 0; c < columns; ++c) {
        const int rows = 1 + int(rng.bounded(maxRows));
        for (int r = 0; r < rows; ++r) {
            QColor col = tints[rng.bounded(6)];
            col = QColor::fromHsvF(col.hsvHueF() < 0 ? 0 : col.hsvHueF(), col.hsvSaturationF() * 0.7,
                                   qBound(0.0, col.valueF() * lightness, 1.0), alpha / 255.0);
            const QRectF box(x + c * cw, ground - (r + 1) * ch, cw - 1.5, ch - 1.5);
            p.fillRect(box, col);
            p.setPen(QPen(QColor(0, 0, 0, alpha / 4), 1));
            for (qreal rib = box.left() + cw * 0.12; rib < box.right(); rib += cw * 0.12)
                p.drawLine(QPointF(rib, box.top() + 2), QPointF(rib, box.bottom() - 2));
        }
    }
}

} // namespace

QImage paintMainBackground(const QSize& size)
{
    QImage img = canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    const qreal horizon = h * 0.74;

    // Sky: a deep cold blue that brightens towards a pale horizon.
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.0, QColor(0x0c, 0x1f, 0x36));
    sky.setColorAt(0.55, QColor(0x17, 0x3f, 0x63));
    sky.setColorAt(0.88, QColor(0x3e, 0x7c, 0xa3));
    sky.setColorAt(1.0, QColor(0x8c, 0xbd, 0xd6));
    p.fillRect(QRectF(0, 0, w, horizon), sky);
    QRadialGradient glow(QPointF(w * 0.68, horizon), w * 0.45);
    glow.setColorAt(0, QColor(0xdf, 0xf3, 0xff, 110));
    glow.setColorAt(1, QColor(0xdf, 0xf3, 0xff, 0));
    p.fillRect(QRectF(0, 0, w, horizon), glow);

    // Chart paper across the sky.
    for (qreal x = 0; x < w; x += 48) {
        const bool major = qRound(x / 48) % 5 == 0;
        p.setPen(QPen(QColor(255, 255, 255, major ? 22 : 9), 1));
        p.drawLine(QPointF(x, 0), QPointF(x, horizon));
    }
    for (qreal y = horizon; y > 0; y -= 48) {
        const bool major = qRound((horizon - y) / 48) % 5 == 0;
        p.setPen(QPen(QColor(255, 255, 255, major ? 22 : 9), 1));
        p.drawLine(QPointF(0, y), QPointF(w, y));
    }

    // The band between the limits, and the limits themselves.
    const qreal bandTop = h * 0.30, bandBottom = h * 0.50;
    p.fillRect(QRectF(0, bandTop, w, bandBottom - bandTop), QColor(0x7c, 0xe0, 0xb0, 26));
    QPen limit(QColor(0xff, 0x8a, 0x7a, 120), 2, Qt::DashLine);
    p.setPen(limit);
    p.drawLine(QPointF(0, bandTop), QPointF(w, bandTop));
    limit.setColor(QColor(0x8c, 0xc8, 0xff, 120));
    p.setPen(limit);
    p.drawLine(QPointF(0, bandBottom), QPointF(w, bandBottom));

    // The temperature trace with a soft glow, and its samples.
    QPainterPath curve;
    QList<QPointF> samples;
    const qreal mid = (bandTop + bandBottom) / 2, amplitude = (bandBottom - bandTop) * 0.42;
    for (int i = 0; i <= 400; ++i) {
        const qreal t = i / 400.0 * 3.2;
        const QPointF pt(i / 400.0 * w, mid - trace(t) * amplitude);
        if (i == 0)
            curve.moveTo(pt);
        else
            curve.lineTo(pt);
        if (i % 16 == 0)
            samples << pt;
    }
    for (int pass = 0; pass < 4; ++pass) {
        p.setPen(QPen(QColor(0xbf, 0xe9, 0xff, 16 + pass * 6), 18 - pass * 4, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(curve);
    }
    p.setPen(QPen(QColor(0xf2, 0xfb, 0xff, 215), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(curve);
    p.setPen(QPen(QColor(0x0c, 0x1f, 0x36, 200), 2));
    for (const QPointF& s : samples) {
        const bool over = s.y() < bandTop;
        p.setBrush(over ? QColor(0xff, 0x7a, 0x66) : QColor(0xe8, 0xf7, 0xff));
        p.drawEllipse(s, 5.5, 5.5);
    }

    // A few large, faint snowflakes.
    snowflake(p, QPointF(w * 0.12, h * 0.15), h * 0.07, QColor(255, 255, 255, 28), 3);
    snowflake(p, QPointF(w * 0.86, h * 0.11), h * 0.045, QColor(255, 255, 255, 22), 2.5);
    snowflake(p, QPointF(w * 0.41, h * 0.08), h * 0.03, QColor(255, 255, 255, 18), 2);

    // Water.
    QLinearGradient sea(0, horizon, 0, h);
    sea.setColorAt(0, QColor(0x1e, 0x4a, 0x68));
    sea.setColorAt(1, QColor(0x07, 0x14, 0x22));
    p.fillRect(QRectF(0, horizon, w, h - horizon), sea);
    QRandomGenerator rng(204);
    for (int i = 0; i < 160; ++i) {
        const qreal y = horizon + 6 + qPow(rng.generateDouble(), 1.6) * (h - horizon - 10);
        const qreal x = rng.generateDouble() * w;
        const qreal len = 20 + rng.generateDouble() * 90 * (y - horizon) / (h - horizon);
        const int alpha = 10 + int(rng.bounded(30));
        p.setPen(QPen(QColor(0xcf, 0xee, 0xff, alpha), 1.5));
        p.drawLine(QPointF(x, y), QPointF(x + len, y));
    }

    // The quay: container stacks and cranes in silhouette against the horizon glow.
    const QColor silhouette(0x0b, 0x1c, 0x2e);
    const qreal quay = horizon + h * 0.012;
    p.fillRect(QRectF(w * 0.30, horizon - h * 0.004, w * 0.70, quay - horizon + h * 0.01), silhouette);
    QRandomGenerator stacks(1964);
    containerStack(p, w * 0.50, horizon, 14, 4, h * 0.036, h * 0.018, stacks, 0.45, 235);
    containerStack(p, w * 0.78, horizon, 10, 5, h * 0.036, h * 0.018, stacks, 0.4, 235);
    crane(p, w * 0.40, horizon, h * 0.30, silhouette);
    crane(p, w * 0.64, horizon, h * 0.34, silhouette);
    crane(p, w * 0.92, horizon, h * 0.28, silhouette);

    // A reefer ship at the quay, its hull in shadow.
    QPainterPath hull;
    hull.moveTo(w * 0.02, horizon - h * 0.05);
    hull.lineTo(w * 0.33, horizon - h * 0.05);
    hull.lineTo(w * 0.36, horizon - h * 0.075);
    hull.lineTo(w * 0.355, horizon + h * 0.01);
    hull.lineTo(w * 0.04, horizon + h * 0.01);
    hull.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(silhouette);
    p.drawPath(hull);
    p.drawRect(QRectF(w * 0.045, horizon - h * 0.12, w * 0.045, h * 0.07));
    p.drawRect(QRectF(w * 0.06, horizon - h * 0.15, w * 0.012, h * 0.03));
    QRandomGenerator deck(55);
    containerStack(p, w * 0.10, horizon - h * 0.05, 20, 3, h * 0.034, h * 0.017, deck, 0.5, 230);
    for (int i = 0; i < 6; ++i) {
        p.setBrush(QColor(0xff, 0xe6, 0xa8, 200));
        p.drawEllipse(QPointF(w * (0.055 + i * 0.006), horizon - h * 0.105), 2.2, 2.2);
    }

    // Reflections of the quay lights.
    for (int i = 0; i < 24; ++i) {
        const qreal x = w * 0.35 + rng.generateDouble() * w * 0.62;
        p.setPen(QPen(QColor(0xff, 0xe6, 0xa8, 40 + int(rng.bounded(40))), 2));
        for (int k = 0; k < 4; ++k) {
            const qreal y = horizon + h * 0.02 + k * h * 0.012;
            p.drawLine(QPointF(x - 8 + k * 2, y), QPointF(x + 8 - k * 2, y));
        }
    }

    // A gentle vignette keeps the eye in the middle and the corners calm.
    QRadialGradient vignette(QPointF(w / 2, h * 0.45), w * 0.75);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1.0, QColor(0, 0, 0, 120));
    p.fillRect(QRectF(0, 0, w, h), vignette);
    return img;
}

QImage paintPanelTexture(const QSize& size)
{
    QImage img = canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();

    QLinearGradient ground(0, 0, 0, h);
    ground.setColorAt(0, QColor(0xf5, 0xf9, 0xfc));
    ground.setColorAt(1, QColor(0xdc, 0xe8, 0xf1));
    p.fillRect(QRectF(0, 0, w, h), ground);
    QLinearGradient side(0, 0, w, 0);
    side.setColorAt(0, QColor(0xc8, 0xdd, 0xee, 90));
    side.setColorAt(0.5, QColor(0xff, 0xff, 0xff, 0));
    side.setColorAt(1, QColor(0xc8, 0xdd, 0xee, 70));
    p.fillRect(QRectF(0, 0, w, h), side);

    // Fine frost: diagonal hairlines and a sprinkle of specks.
    p.setPen(QPen(QColor(0x1f, 0x3b, 0x63, 9), 1));
    for (qreal x = -h; x < w; x += 7)
        p.drawLine(QPointF(x, h), QPointF(x + h, 0));
    QRandomGenerator rng(120);
    for (int i = 0; i < 2600; ++i) {
        const QPointF at(rng.generateDouble() * w, rng.generateDouble() * h);
        p.setPen(QPen(rng.bounded(2) ? QColor(255, 255, 255, 120) : QColor(0x1f, 0x3b, 0x63, 14), 1));
        p.drawPoint(at);
    }

    // A faint trace, the logger's signature, running the length of the panel.
    QPainterPath curve;
    for (int i = 0; i <= 300; ++i) {
        const qreal t = i / 300.0 * 6.0;
        const QPointF pt(i / 300.0 * w, h * 0.55 - trace(t * 0.55) * h * 0.18);
        if (i == 0)
            curve.moveTo(pt);
        else
            curve.lineTo(pt);
    }
    p.setPen(QPen(QColor(0x2f, 0x6f, 0xb3, 22), 2.5));
    p.drawPath(curve);
    for (int i = 0; i < 3; ++i)
        snowflake(p, QPointF(w * (0.88 + i * 0.045), h * (0.3 + (i % 2) * 0.35)), h * 0.16,
                  QColor(0x2f, 0x6f, 0xb3, 20), 1.5);
    return img;
}

QImage paintShip(const QSize& size)
{
    QImage img = canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    const qreal horizon = h * 0.66;
    const qreal water = h * 0.74;   // the ship's waterline

    // Early-morning sky and a low sun.
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0, QColor(0x2b, 0x5c, 0x8a));
    sky.setColorAt(0.6, QColor(0x8f, 0xbd, 0xdc));
    sky.setColorAt(1, QColor(0xf4, 0xde, 0xbc));
    p.fillRect(QRectF(0, 0, w, horizon), sky);
    QRadialGradient sun(QPointF(w * 0.82, horizon - h * 0.06), h * 0.35);
    sun.setColorAt(0, QColor(0xff, 0xf3, 0xd6, 230));
    sun.setColorAt(0.15, QColor(0xff, 0xe3, 0xa8, 160));
    sun.setColorAt(1, QColor(0xff, 0xe3, 0xa8, 0));
    p.fillRect(QRectF(0, 0, w, horizon), sun);
    // Long thin clouds.
    QRandomGenerator rng(500);
    for (int i = 0; i < 9; ++i) {
        const qreal y = h * (0.08 + rng.generateDouble() * 0.35);
        const qreal x = rng.generateDouble() * w;
        const qreal len = w * (0.12 + rng.generateDouble() * 0.25);
        const qreal thick = h * 0.014 + rng.generateDouble() * h * 0.012;
        const int alpha = 30 + int(rng.bounded(35));
        p.setPen(Qt::NoPen);
        for (int k = 0; k < 5; ++k) {
            const qreal cx = x - len / 2 + len * (0.1 + 0.2 * k);
            QRadialGradient puff(QPointF(cx, y), len * 0.22);
            puff.setColorAt(0, QColor(255, 255, 255, alpha));
            puff.setColorAt(1, QColor(255, 255, 255, 0));
            p.setBrush(puff);
            p.drawEllipse(QPointF(cx, y), len * 0.22, thick * (1.0 + 0.4 * (k % 2)));
        }
    }

    // Sea.
    QLinearGradient sea(0, horizon, 0, h);
    sea.setColorAt(0, QColor(0x3d, 0x74, 0x96));
    sea.setColorAt(0.3, QColor(0x1f, 0x52, 0x75));
    sea.setColorAt(1, QColor(0x0d, 0x2a, 0x42));
    p.fillRect(QRectF(0, horizon, w, h - horizon), sea);
    p.setPen(QPen(QColor(0x2a, 0x4f, 0x6b), 2));
    p.drawLine(QPointF(0, horizon), QPointF(w, horizon));

    const qreal sternX = w * 0.09, bowX = w * 0.9;
    const qreal deckY = h * 0.56;

    // Containers on deck, many of them reefers (white, ribbed).
    const QColor tints[] = {QColor(0xee, 0xf2, 0xf5), QColor(0xee, 0xf2, 0xf5), QColor(0x2f, 0x6f, 0xb3),
                            QColor(0xc8, 0x5a, 0x32), QColor(0x3f, 0x8a, 0x5c), QColor(0xd9, 0xa4, 0x35),
                            QColor(0xee, 0xf2, 0xf5), QColor(0x8a, 0x3a, 0x4e)};
    const qreal cw = w * 0.042, ch = h * 0.043;
    QRandomGenerator stack(7);
    for (qreal x = w * 0.27; x + cw < w * 0.82; x += cw) {
        const int rows = 2 + int(stack.bounded(3));
        for (int r = 0; r < rows; ++r) {
            const QColor col = tints[stack.bounded(8)];
            const QRectF box(x, deckY - (r + 1) * ch, cw - 1.5, ch - 1.5);
            p.setPen(Qt::NoPen);
            QLinearGradient g(box.topLeft(), box.bottomLeft());
            g.setColorAt(0, col.lighter(108));
            g.setColorAt(1, col.darker(112));
            p.setBrush(g);
            p.drawRect(box);
            p.setPen(QPen(col.darker(135), 1));
            for (qreal rib = box.left() + 3; rib < box.right() - 1; rib += 3.5)
                p.drawLine(QPointF(rib, box.top() + 2), QPointF(rib, box.bottom() - 2));
        }
    }

    // Superstructure at the stern, with the bridge and the funnel.
    const QRectF house(sternX + w * 0.04, h * 0.33, w * 0.12, deckY - h * 0.33);
    p.setPen(QPen(QColor(0x9a, 0xa8, 0xb5), 1));
    p.setBrush(QColor(0xf2, 0xf4, 0xf6));
    p.drawRect(house);
    p.drawRect(QRectF(house.left() - w * 0.015, house.top() - h * 0.02, house.width() + w * 0.03, h * 0.035));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x27, 0x3c, 0x52));
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 6; ++col) {
            p.drawRect(QRectF(house.left() + w * 0.008 + col * w * 0.018, house.top() + h * 0.03 + row * h * 0.045,
                              w * 0.011, h * 0.018));
        }
    }
    p.drawRect(QRectF(house.left() - w * 0.01, house.top() - h * 0.01, house.width() + w * 0.02, h * 0.012));
    const QRectF funnel(house.left() + house.width() * 0.25, h * 0.2, house.width() * 0.35, h * 0.11);
    p.setBrush(QColor(0x1b, 0x2a, 0x41));
    p.drawRect(funnel);
    p.setBrush(QColor(0xc6, 0x32, 0x2a));
    p.drawRect(QRectF(funnel.left(), funnel.top() + funnel.height() * 0.3, funnel.width(), funnel.height() * 0.25));
    snowflake(p, QPointF(funnel.center().x(), funnel.top() + funnel.height() * 0.75), funnel.width() * 0.22,
              QColor(255, 255, 255, 220), 1.2);
    // A thin wisp of exhaust drifting aft.
    for (int i = 0; i < 5; ++i) {
        p.setBrush(QColor(0xe6, 0xeb, 0xef, 60 - i * 11));
        p.drawEllipse(QPointF(funnel.center().x() - i * w * 0.018, funnel.top() - h * 0.012 - i * h * 0.008),
                      w * 0.012 + i * 2.5, h * 0.009 + i * 1.2);
    }

    // Hull: dark blue above a red bottom, a white sheer line, the bow raised.
    QPainterPath hull;
    hull.moveTo(sternX, deckY);
    hull.lineTo(bowX - w * 0.05, deckY);
    hull.quadTo(QPointF(bowX, deckY - h * 0.01), QPointF(bowX + w * 0.04, deckY - h * 0.03));
    hull.quadTo(QPointF(bowX, water - h * 0.02), QPointF(bowX - w * 0.02, water + h * 0.03));
    hull.lineTo(sternX + w * 0.02, water + h * 0.03);
    hull.quadTo(QPointF(sternX - w * 0.005, water), QPointF(sternX, deckY));
    QLinearGradient paint(0, deckY, 0, water + h * 0.03);
    paint.setColorAt(0, QColor(0x22, 0x3a, 0x5c));
    paint.setColorAt(0.78, QColor(0x16, 0x27, 0x3e));
    paint.setColorAt(0.8, QColor(0x9c, 0x2e, 0x26));
    paint.setColorAt(1, QColor(0x7a, 0x22, 0x1c));
    p.setPen(QPen(QColor(0x0e, 0x1a, 0x29), 1.2));
    p.setBrush(paint);
    p.drawPath(hull);
    p.setPen(QPen(QColor(0xf2, 0xf4, 0xf6), 2.2));
    p.drawLine(QPointF(sternX + 2, deckY + h * 0.012), QPointF(bowX - w * 0.03, deckY + h * 0.012));
    QFont name(QStringLiteral("DejaVu Sans"));
    name.setBold(true);
    name.setPixelSize(int(h * 0.028));
    name.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(name);
    p.setPen(QColor(0xf2, 0xf4, 0xf6));
    p.drawText(QPointF(bowX - w * 0.2, deckY + h * 0.05), QStringLiteral("ORVAN REEFER"));

    // Mast at the bow.
    p.setPen(QPen(QColor(0x3b, 0x44, 0x4f), 2));
    p.drawLine(QPointF(bowX - w * 0.06, deckY), QPointF(bowX - w * 0.06, deckY - h * 0.14));
    p.drawLine(QPointF(bowX - w * 0.075, deckY - h * 0.11), QPointF(bowX - w * 0.045, deckY - h * 0.11));

    // The sea closes over the red bottom, leaving a thin stripe of it in sight.
    QLinearGradient over(0, water + h * 0.012, 0, water + h * 0.04);
    over.setColorAt(0, QColor(0x2c, 0x63, 0x86, 235));
    over.setColorAt(1, QColor(0x22, 0x56, 0x7a, 255));
    p.save();
    p.setClipPath(hull);
    p.fillRect(QRectF(0, water + h * 0.012, w, h * 0.03), over);
    p.restore();

    // Water at the hull: the bow wave and the ship's wavering reflection.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 60; ++i) {
        const qreal y = water + h * 0.035 + i * (h - water) / 60.0;
        const qreal shift = qSin(i * 1.7) * w * 0.006;
        p.setBrush(QColor(0x16, 0x27, 0x3e, qMax(0, 90 - i * 3)));
        p.drawRect(QRectF(sternX + w * 0.02 + shift, y, bowX - sternX - w * 0.04, (h - water) / 80.0));
    }
    p.setBrush(QColor(255, 255, 255, 170));
    QPainterPath wake;
    wake.moveTo(bowX - w * 0.07, water + h * 0.012);
    wake.quadTo(QPointF(bowX - w * 0.01, water + h * 0.002), QPointF(bowX + w * 0.05, water + h * 0.022));
    wake.quadTo(QPointF(bowX - w * 0.01, water + h * 0.026), QPointF(bowX - w * 0.07, water + h * 0.018));
    p.drawPath(wake);
    for (int i = 0; i < 140; ++i) {
        const qreal y = horizon + 4 + qPow(rng.generateDouble(), 1.4) * (h - horizon - 6);
        const qreal x = rng.generateDouble() * w;
        const qreal len = 8 + rng.generateDouble() * 40 * (y - horizon) / (h - horizon);
        p.setPen(QPen(QColor(255, 255, 255, 25 + int(rng.bounded(45))), 1.2));
        p.drawLine(QPointF(x, y), QPointF(x + len, y));
    }

    // Gulls.
    p.setPen(QPen(QColor(0x2b, 0x3a, 0x4a), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    const QPointF gulls[] = {{0.18, 0.16}, {0.24, 0.12}, {0.62, 0.18}, {0.67, 0.14}};
    for (const QPointF& g : gulls) {
        const QPointF c(g.x() * w, g.y() * h);
        QPainterPath bird(c + QPointF(-9, -2));
        bird.quadTo(c + QPointF(-4, -6), c);
        bird.quadTo(c + QPointF(4, -6), c + QPointF(9, -2));
        p.drawPath(bird);
    }
    return img;
}

} // namespace orvan::artwork
