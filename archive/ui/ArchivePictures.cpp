#include "archive/ui/ArchivePictures.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>

namespace orvan::archive::ui {

namespace {

// The palette of the toolbar's pictures.
const QColor kNavy(0x1f, 0x3b, 0x63);
const QColor kBlue(0x2f, 0x6f, 0xb3);
const QColor kSky(0x6c, 0xb4, 0xee);
const QColor kRed(0xd2, 0x38, 0x2f);
const QColor kAmber(0xf0, 0xa8, 0x30);
const QColor kSlate(0x4a, 0x55, 0x63);
const QColor kSteel(0x8f, 0x9a, 0xa6);
const QColor kPaperEdge(0x8a, 0x96, 0xa3);

QLinearGradient vertical(qreal top, qreal bottom, const QColor& a, const QColor& b)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

QPen roundPen(const QColor& c, qreal width)
{
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPixmap glyph(int size, const std::function<void(QPainter&)>& draw)
{
    const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
    QPixmap pm(QSize(size, size) * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return pm;
}

void drawArchive(QPainter& p)
{
    // The cabinet, its closed lower drawer with a handle.
    p.setPen(QPen(kNavy.darker(120), 1.0));
    p.setBrush(vertical(9, 30, kSteel.lighter(125), kSlate));
    p.drawRoundedRect(QRectF(3, 9, 24, 21), 2, 2);
    p.setBrush(vertical(21, 28, kSteel.lighter(140), kSteel));
    p.drawRoundedRect(QRectF(5, 21.5, 20, 6.5), 1, 1);
    p.setPen(roundPen(kSlate, 1.4));
    p.drawLine(QPointF(12.5, 24.7), QPointF(17.5, 24.7));

    // The open upper drawer: record cards standing in it, the front one with its curve.
    for (int i = 0; i < 3; ++i) {
        const qreal x = 6.5 + i * 2.2;
        const qreal y = 3.5 + i * 1.6;
        p.setPen(QPen(kPaperEdge, 0.8));
        p.setBrush(i == 2 ? QColor(Qt::white) : QColor(0xe4, 0xf1, 0xfb));
        p.drawRoundedRect(QRectF(x, y, 15, 11), 1, 1);
        p.setPen(Qt::NoPen);
        p.setBrush(i == 2 ? kBlue : kSky);
        p.drawRoundedRect(QRectF(x + 1.5, y - 1.6, 5, 2.4), 0.8, 0.8);
    }
    p.setPen(roundPen(kBlue, 1.3));
    QPolygonF curve;
    curve << QPointF(13, 14) << QPointF(15.5, 10.5) << QPointF(18, 12.5) << QPointF(21, 8.8) << QPointF(24, 10);
    p.drawPolyline(curve);
    p.setPen(QPen(kNavy.darker(120), 1.0));
    p.setBrush(vertical(14, 20, kSky, kBlue));
    p.drawRoundedRect(QRectF(4.5, 14.5, 21, 5.5), 1, 1);

    // The magnifying glass of the search.
    p.setPen(roundPen(QColor(0x33, 0x3c, 0x47), 3.2));
    p.drawLine(QPointF(26.2, 26.2), QPointF(30, 30));
    QRadialGradient lens(QPointF(22, 20), 6);
    lens.setColorAt(0, QColor(255, 255, 255, 235));
    lens.setColorAt(1, QColor(0xcf, 0xe6, 0xf7, 220));
    p.setPen(QPen(QColor(0x33, 0x3c, 0x47), 1.8));
    p.setBrush(lens);
    p.drawEllipse(QPointF(23, 22), 5, 5);
}

// A triangle with an exclamation mark (changed) or a round badge with a cross (missing).
void drawState(QPainter& p, PlaceState state)
{
    if (state == PlaceState::Changed) {
        QPainterPath tri(QPointF(16, 3));
        tri.lineTo(QPointF(30, 28));
        tri.lineTo(QPointF(2, 28));
        tri.closeSubpath();
        p.setPen(QPen(QColor(0x9c, 0x6b, 0x00), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(vertical(3, 28, QColor(0xff, 0xd9, 0x87), kAmber));
        p.drawPath(tri);
        p.setPen(roundPen(QColor(0x3b, 0x2a, 0x00), 3.4));
        p.drawLine(QPointF(16, 11), QPointF(16, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x3b, 0x2a, 0x00));
        p.drawEllipse(QPointF(16, 23.6), 2, 2);
        return;
    }
    QRadialGradient g(QPointF(12, 12), 22);
    g.setColorAt(0, kRed.lighter(135));
    g.setColorAt(1, kRed.darker(115));
    p.setPen(QPen(Qt::white, 1.6));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setPen(roundPen(Qt::white, 3.6));
    p.drawLine(QPointF(11, 11), QPointF(21, 21));
    p.drawLine(QPointF(21, 11), QPointF(11, 21));
}

} // namespace

QIcon archiveIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(glyph(size, drawArchive));
    return icon;
}

QPixmap placeStatePicture(PlaceState state, int size)
{
    if (state != PlaceState::Changed && state != PlaceState::Missing)
        return QPixmap();
    return glyph(size, [state](QPainter& p) { drawState(p, state); });
}

} // namespace orvan::archive::ui
