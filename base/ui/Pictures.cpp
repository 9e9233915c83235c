#include "base/ui/Pictures.h"

#include "base/RegularFile.h"
#include "base/ui/PictureKit.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <functional>

namespace orvan::ui {

namespace {

using namespace kit;

// A round badge with a white sign inside: the common language of ok, wrong and attention.
enum class Sign { Check, Cross, Exclamation, Play, Stop };

void badge(QPainter& p, QPointF c, qreal r, const QColor& color, Sign sign)
{
    p.save();
    QRadialGradient g(c - QPointF(r * 0.35, r * 0.35), r * 1.6);
    g.setColorAt(0, color.lighter(135));
    g.setColorAt(1, color.darker(115));
    p.setPen(QPen(Qt::white, r * 0.14));
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.setPen(pen(Qt::white, r * 0.3));
    p.setBrush(Qt::white);
    switch (sign) {
    case Sign::Check: {
        QPainterPath path(c + QPointF(-0.48 * r, 0.02 * r));
        path.lineTo(c + QPointF(-0.12 * r, 0.38 * r));
        path.lineTo(c + QPointF(0.5 * r, -0.36 * r));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        break;
    }
    case Sign::Cross:
        p.drawLine(c + QPointF(-0.36 * r, -0.36 * r), c + QPointF(0.36 * r, 0.36 * r));
        p.drawLine(c + QPointF(0.36 * r, -0.36 * r), c + QPointF(-0.36 * r, 0.36 * r));
        break;
    case Sign::Exclamation:
        p.drawLine(c + QPointF(0, -0.5 * r), c + QPointF(0, 0.1 * r));
        p.setPen(Qt::NoPen);
        p.drawEllipse(c + QPointF(0, 0.47 * r), 0.17 * r, 0.17 * r);
        break;
    case Sign::Play: {
        p.setPen(Qt::NoPen);
        QPolygonF tri;
        tri << c + QPointF(-0.3 * r, -0.45 * r) << c + QPointF(0.5 * r, 0) << c + QPointF(-0.3 * r, 0.45 * r);
        p.drawPolygon(tri);
        break;
    }
    case Sign::Stop:
        p.setPen(Qt::NoPen);
        p.drawRect(QRectF(c.x() - 0.36 * r, c.y() - 0.36 * r, 0.72 * r, 0.72 * r));
        break;
    }
    p.restore();
}

void clockFace(QPainter& p, QPointF c, qreal r, const QColor& rim = kNavy)
{
    p.save();
    QRadialGradient face(c - QPointF(r * 0.3, r * 0.3), r * 1.4);
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, kIce);
    p.setPen(QPen(rim, r * 0.16));
    p.setBrush(face);
    p.drawEllipse(c, r, r);
    p.setPen(pen(kSlate, r * 0.08));
    for (int i = 0; i < 12; ++i) {
        const qreal a = i * M_PI / 6;
        const qreal inner = (i % 3 == 0) ? 0.68 : 0.78;
        p.drawLine(c + QPointF(qSin(a), -qCos(a)) * r * inner, c + QPointF(qSin(a), -qCos(a)) * r * 0.86);
    }
    p.setPen(pen(kNavy, r * 0.14));
    p.drawLine(c, c + QPointF(-0.42 * r, -0.22 * r));   // hour hand, about ten o'clock
    p.setPen(pen(kNavy, r * 0.1));
    p.drawLine(c, c + QPointF(0, -0.66 * r));           // minute hand
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(c, r * 0.1, r * 0.1);
    p.restore();
}

void thermometer(QPainter& p, QPointF bulb, qreal height, const QColor& fluid, qreal level)
{
    p.save();
    const qreal w = height * 0.24;
    const qreal br = height * 0.2;
    QRectF tube(bulb.x() - w / 2, bulb.y() - height, w, height);
    QPainterPath glass;
    glass.addRoundedRect(tube, w / 2, w / 2);
    glass.addEllipse(bulb, br, br);
    glass = glass.simplified();
    p.setPen(QPen(kSlate, height * 0.05));
    p.setBrush(Qt::white);
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    QRadialGradient g(bulb - QPointF(br * 0.3, br * 0.3), br * 1.3);
    g.setColorAt(0, fluid.lighter(150));
    g.setColorAt(1, fluid);
    p.setBrush(g);
    p.drawEllipse(bulb, br * 0.72, br * 0.72);
    const qreal top = bulb.y() - height * level;
    p.setBrush(fluid);
    p.drawRoundedRect(QRectF(bulb.x() - w * 0.22, top, w * 0.44, bulb.y() - top), w * 0.2, w * 0.2);
    p.setPen(pen(kSlate, height * 0.035));
    for (int i = 1; i <= 4; ++i) {
        const qreal y = bulb.y() - height * (0.2 + i * 0.15);
        p.drawLine(QPointF(bulb.x() + w / 2, y), QPointF(bulb.x() + w / 2 + height * 0.08, y));
    }
    p.restore();
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& color, qreal width)
{
    p.save();
    p.setPen(pen(color, width));
    const QLineF line(to, from);
    QLineF shaft(from, to);
    shaft.setLength(shaft.length() - width * 1.2);
    p.drawLine(shaft);
    const qreal angle = qDegreesToRadians(line.angle());
    const qreal head = width * 2.6;
    QPolygonF tip;
    tip << to
        << to + QPointF(qCos(angle + 0.5) * head, -qSin(angle + 0.5) * head)
        << to + QPointF(qCos(angle - 0.5) * head, -qSin(angle - 0.5) * head);
    p.setPen(pen(color, width * 0.4));
    p.setBrush(color);
    p.drawPolygon(tip);
    p.restore();
}

void sheet(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kPaperEdge, 1.0));
    p.setBrush(vertical(r.top(), r.bottom(), Qt::white, QColor(0xf1, 0xf4, 0xf7)));
    p.drawRoundedRect(r, 1.5, 1.5);
}

void loggerBody(QPainter& p, const QRectF& r)
{
    p.save();
    p.setPen(QPen(kNavy.darker(130), 1.0));
    p.setBrush(vertical(r.top(), r.bottom(), QColor(0x4d, 0x72, 0xa3), kNavy));
    p.drawRoundedRect(r, r.width() * 0.22, r.width() * 0.22);
    const QRectF lcd(r.left() + r.width() * 0.17, r.top() + r.height() * 0.16, r.width() * 0.66, r.height() * 0.32);
    p.setPen(QPen(QColor(0x1a, 0x30, 0x48), 0.8));
    p.setBrush(vertical(lcd.top(), lcd.bottom(), QColor(0xd4, 0xf0, 0xd0), QColor(0xa8, 0xd8, 0xa4)));
    p.drawRoundedRect(lcd, 1.2, 1.2);
    p.setPen(pen(QColor(0x24, 0x4a, 0x2a), lcd.height() * 0.16));
    const qreal y = lcd.center().y();
    p.drawLine(QPointF(lcd.left() + lcd.width() * 0.18, y), QPointF(lcd.left() + lcd.width() * 0.42, y));
    p.drawLine(QPointF(lcd.left() + lcd.width() * 0.56, y), QPointF(lcd.left() + lcd.width() * 0.82, y));
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(r.center().x(), r.top() + r.height() * 0.72), r.width() * 0.13, r.width() * 0.13);
    p.restore();
}

void floppy(QPainter& p)
{
    p.setPen(QPen(kNavy.darker(120), 1.0));
    p.setBrush(vertical(3, 28, kSky.darker(110), kBlue));
    QPainterPath body;
    body.moveTo(3, 4);
    body.lineTo(24, 4);
    body.lineTo(28, 8);
    body.lineTo(28, 27);
    body.lineTo(3, 27);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(0xd5, 0xdb, 0xe1));
    p.drawRect(QRectF(8, 4, 13, 8));
    p.setBrush(kSlate);
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(16, 5.5, 3, 5));
    p.setBrush(Qt::white);
    p.setPen(QPen(kPaperEdge, 0.6));
    p.drawRoundedRect(QRectF(6.5, 15, 18, 12), 1, 1);
    p.setPen(pen(kSky, 0.9));
    p.drawLine(QPointF(9, 19), QPointF(22, 19));
    p.drawLine(QPointF(9, 22.5), QPointF(19, 22.5));
}

// A mains-style plug, prongs up; `apart` lifts it out of its socket.
void plug(QPainter& p, QPointF c, qreal size, const QColor& color, qreal apart)
{
    p.save();
    p.translate(c);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    const qreal u = size / 20.0;
    // Socket face at the top.
    p.drawRoundedRect(QRectF(-7 * u, -9 * u, 14 * u, 3 * u), 1.2 * u, 1.2 * u);
    p.translate(0, apart * u);
    p.drawRect(QRectF(-4 * u, -6.5 * u, 2 * u, 4 * u));
    p.drawRect(QRectF(2 * u, -6.5 * u, 2 * u, 4 * u));
    p.drawRoundedRect(QRectF(-6 * u, -3 * u, 12 * u, 8 * u), 2 * u, 2 * u);
    p.setPen(QPen(color, 2.6 * u, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 5 * u), QPointF(0, 10 * u - apart * u));
    p.restore();
}

void drawStudyFromDisk(QPainter& p)
{
    p.setPen(QPen(QColor(0xb0, 0x6f, 0x18), 1.0));
    p.setBrush(QColor(0xd9, 0x92, 0x2b));
    QPainterPath back;
    back.moveTo(3, 27);
    back.lineTo(3, 7);
    back.lineTo(12, 7);
    back.lineTo(14, 9.5);
    back.lineTo(28, 9.5);
    back.lineTo(28, 27);
    back.closeSubpath();
    p.drawPath(back);
    sheet(p, QRectF(7, 4, 19, 17));
    p.setPen(pen(kBlue, 1.6));
    QPolygonF curve;
    curve << QPointF(9.5, 16) << QPointF(12.5, 11.5) << QPointF(15.5, 13.5) << QPointF(18.5, 8) << QPointF(21, 10.5)
          << QPointF(23.5, 7.5);
    p.drawPolyline(curve);
    p.setPen(QPen(QColor(0xb0, 0x6f, 0x18), 1.0));
    p.setBrush(vertical(13, 28, QColor(0xff, 0xd9, 0x87), kAmber));
    QPolygonF front;
    front << QPointF(1.5, 14) << QPointF(30.5, 14) << QPointF(28, 28) << QPointF(4, 28);
    p.drawPolygon(front);
}

void drawConnect(QPainter& p)
{
    p.setPen(pen(QColor(0x33, 0x3c, 0x47), 2.2));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable(QPointF(17, 21));
    cable.cubicTo(QPointF(25, 23), QPointF(26.5, 19), QPointF(26.5, 13));
    p.drawPath(cable);
    loggerBody(p, QRectF(3, 5, 15, 23));
    p.setPen(QPen(QColor(0x5a, 0x64, 0x70), 0.8));
    p.setBrush(vertical(5, 14, QColor(0xd5, 0xdb, 0xe1), kSteel));
    p.drawRoundedRect(QRectF(23, 6, 7, 8), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc9, 0xa2, 0x3a));
    p.drawRect(QRectF(24.5, 2, 1.4, 4));
    p.drawRect(QRectF(27.1, 2, 1.4, 4));
    p.setPen(pen(kGreen, 1.4));
    p.drawArc(QRectF(19, 0.5, 6, 6), 100 * 16, 120 * 16);
}

void drawGraph(QPainter& p)
{
    sheet(p, QRectF(2.5, 3.5, 27, 25));
    p.setPen(pen(kSlate, 1.2));
    p.drawLine(QPointF(6.5, 6.5), QPointF(6.5, 24.5));
    p.drawLine(QPointF(6.5, 24.5), QPointF(27, 24.5));
    QPen dash(kRed, 1.0, Qt::DashLine);
    p.setPen(dash);
    p.drawLine(QPointF(7, 10), QPointF(27, 10));
    dash.setColor(kBlue);
    p.setPen(dash);
    p.drawLine(QPointF(7, 20), QPointF(27, 20));
    QPainterPath curve(QPointF(8, 18));
    curve.cubicTo(QPointF(11, 12), QPointF(13, 18), QPointF(16, 16));
    curve.cubicTo(QPointF(19, 14), QPointF(19, 6), QPointF(22, 8));
    curve.cubicTo(QPointF(24, 9.5), QPointF(25, 13), QPointF(27, 12));
    p.setPen(pen(QColor(0x1f, 0x6f, 0xc5), 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
}

void drawProportions(QPainter& p)
{
    const QRectF box(4, 5, 24, 24);
    struct Slice { int start, span; QColor color; QPointF shift; };
    const Slice slices[] = {
        {90 * 16, 210 * 16, kGreen, QPointF(0, 0)},
        {300 * 16, 70 * 16, kBlue, QPointF(0.8, 0.8)},
        {10 * 16, 80 * 16, kRed, QPointF(1.6, -1.6)},
    };
    for (const Slice& s : slices) {
        QRadialGradient g(box.center() + s.shift, 14);
        g.setColorAt(0, s.color.lighter(140));
        g.setColorAt(1, s.color);
        p.setPen(QPen(Qt::white, 1.2));
        p.setBrush(g);
        p.drawPie(box.translated(s.shift), s.start, s.span);
    }
}

void drawHistogram(QPainter& p)
{
    const qreal heights[] = {6, 13, 20, 15, 8};
    const QColor colors[] = {kBlue, kGreen, kGreen, kGreen, kRed};
    for (int i = 0; i < 5; ++i) {
        const QRectF bar(4 + i * 5, 27 - heights[i], 4.2, heights[i]);
        p.setPen(QPen(colors[i].darker(130), 0.8));
        QLinearGradient g(bar.topLeft(), bar.topRight());
        g.setColorAt(0, colors[i].lighter(140));
        g.setColorAt(1, colors[i]);
        p.setBrush(g);
        p.drawRect(bar);
    }
    p.setPen(pen(kSlate, 1.4));
    p.drawLine(QPointF(2.5, 27.5), QPointF(29.5, 27.5));
}

void drawSampleList(QPainter& p)
{
    sheet(p, QRectF(5, 3, 22, 26));
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(3, 9, kSky, kBlue));
    p.drawRect(QRectF(5.5, 3.5, 21, 5.5));
    for (int row = 0; row < 5; ++row) {
        const qreal y = 11 + row * 3.5;
        if (row % 2 == 0) {
            p.setBrush(kIce);
            p.drawRect(QRectF(5.5, y - 0.5, 21, 3.5));
        }
        p.setPen(pen(kSlate, 1.0));
        p.drawLine(QPointF(8, y + 1.2), QPointF(12, y + 1.2));
        p.drawLine(QPointF(15, y + 1.2), QPointF(row == 2 ? 20 : 24, y + 1.2));
        p.setPen(Qt::NoPen);
    }
    p.setPen(QPen(kPaperEdge, 0.7));
    p.drawLine(QPointF(13.5, 9), QPointF(13.5, 28.5));
}

void drawAlarms(QPainter& p)
{
    p.setPen(pen(kRed, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(1.5, 4, 9, 12), 120 * 16, 110 * 16);
    p.drawArc(QRectF(21.5, 4, 9, 12), -50 * 16, 110 * 16);
    QPainterPath bell(QPointF(16, 4));
    bell.cubicTo(QPointF(9, 4), QPointF(10, 14), QPointF(9, 19));
    bell.lineTo(QPointF(6.5, 23));
    bell.lineTo(QPointF(25.5, 23));
    bell.lineTo(QPointF(23, 19));
    bell.cubicTo(QPointF(22, 14), QPointF(23, 4), QPointF(16, 4));
    QLinearGradient g(8, 0, 24, 0);
    g.setColorAt(0, QColor(0xff, 0xe0, 0x7a));
    g.setColorAt(1, QColor(0xe0, 0xa0, 0x00));
    p.setPen(QPen(QColor(0x9c, 0x6b, 0x00), 1.0));
    p.setBrush(g);
    p.drawPath(bell);
    p.drawRoundedRect(QRectF(5.5, 22, 21, 3), 1.5, 1.5);
    p.setBrush(QColor(0x9c, 0x6b, 0x00));
    p.drawEllipse(QPointF(16, 27.5), 2.3, 2.3);
    p.drawEllipse(QPointF(16, 3.2), 1.4, 1.4);
}

// A clipboard with its figures and a green check: the shipment's verdict on one sheet.
void drawShipmentSummary(QPainter& p)
{
    p.setPen(QPen(kSlate, 1.0));
    p.setBrush(vertical(2, 30, QColor(0xc8, 0x9a, 0x62), QColor(0x9c, 0x6e, 0x3a)));
    p.drawRoundedRect(QRectF(4, 3, 22, 27), 2, 2);
    sheet(p, QRectF(6.5, 6, 17, 22));
    p.setPen(QPen(kSlate, 0.8));
    p.setBrush(vertical(1, 7, kSteel.lighter(130), kSteel));
    p.drawRoundedRect(QRectF(10.5, 1.5, 9, 5.5), 1.5, 1.5);
    for (int row = 0; row < 4; ++row) {
        const qreal y = 11 + row * 3.6;
        p.setPen(pen(row == 0 ? kBlue : kSlate, 1.2));
        p.drawLine(QPointF(9, y), QPointF(row % 2 ? 16 : 20, y));
    }
    badge(p, QPointF(23.5, 24.5), 6.5, kGreen, Sign::Check);
}

void drawPrint(QPainter& p)
{
    sheet(p, QRectF(8, 3, 16, 11));
    p.setPen(QPen(QColor(0x5a, 0x64, 0x70), 1.0));
    p.setBrush(vertical(11, 24, QColor(0xd6, 0xdc, 0xe2), kSteel));
    p.drawRoundedRect(QRectF(2.5, 11, 27, 13), 3, 3);
    p.setBrush(QColor(0x3b, 0x44, 0x4f));
    p.drawRect(QRectF(7, 19, 18, 2.5));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen.lighter(120));
    p.drawEllipse(QPointF(25.5, 14.5), 1.3, 1.3);
    sheet(p, QRectF(8, 20.5, 16, 9));
    p.setPen(pen(kSky, 1.0));
    p.drawLine(QPointF(10.5, 24), QPointF(21.5, 24));
    p.drawLine(QPointF(10.5, 27), QPointF(18, 27));
}

void drawConfiguration(QPainter& p)
{
    QPainterPath gear;
    gear.addEllipse(QPointF(16, 16), 10.5, 10.5);
    for (int i = 0; i < 8; ++i) {
        QPainterPath tooth;
        tooth.addRoundedRect(QRectF(-2.8, -14.5, 5.6, 7), 1, 1);
        QTransform t;
        t.translate(16, 16);
        t.rotate(i * 45);
        gear = gear.united(t.map(tooth));
    }
    QPainterPath hole;
    hole.addEllipse(QPointF(16, 16), 4.2, 4.2);
    gear = gear.subtracted(hole);
    QRadialGradient g(QPointF(12, 11), 20);
    g.setColorAt(0, QColor(0xe3, 0xe8, 0xed));
    g.setColorAt(1, QColor(0x6b, 0x77, 0x85));
    p.setPen(QPen(QColor(0x47, 0x51, 0x5d), 1.0));
    p.setBrush(g);
    p.drawPath(gear);
    p.setPen(QPen(QColor(0x47, 0x51, 0x5d), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 7, 7);
}

void drawFinish(QPainter& p)
{
    QRadialGradient g(QPointF(12, 11), 18);
    g.setColorAt(0, QColor(0xf0, 0x6a, 0x55));
    g.setColorAt(1, QColor(0xb3, 0x26, 0x1e));
    p.setPen(QPen(QColor(0x8c, 0x1c, 0x16), 1.0));
    p.setBrush(g);
    p.drawEllipse(QPointF(16, 16), 13, 13);
    p.setPen(pen(Qt::white, 2.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(9, 9.5, 14, 14), 125 * 16, -250 * 16);
    p.drawLine(QPointF(16, 6.5), QPointF(16, 15));
}

void drawHourglass(QPainter& p)
{
    p.setPen(QPen(QColor(0x5a, 0x64, 0x70), 1.0));
    QPainterPath glass;
    glass.moveTo(9, 5.5);
    glass.lineTo(23, 5.5);
    glass.cubicTo(QPointF(23, 12), QPointF(17.5, 13), QPointF(17.5, 16));
    glass.cubicTo(QPointF(17.5, 19), QPointF(23, 20), QPointF(23, 26.5));
    glass.lineTo(9, 26.5);
    glass.cubicTo(QPointF(9, 20), QPointF(14.5, 19), QPointF(14.5, 16));
    glass.cubicTo(QPointF(14.5, 13), QPointF(9, 12), QPointF(9, 5.5));
    p.setBrush(QColor(0xee, 0xf6, 0xfc));
    p.drawPath(glass);
    p.setPen(Qt::NoPen);
    p.setBrush(kAmber);
    QPolygonF top;
    top << QPointF(12, 10) << QPointF(20, 10) << QPointF(16, 14.5);
    p.drawPolygon(top);
    QPainterPath pile(QPointF(10.5, 25.5));
    pile.quadTo(QPointF(16, 17), QPointF(21.5, 25.5));
    p.drawPath(pile);
    p.drawRect(QRectF(15.5, 14.5, 1, 8));
    p.setPen(QPen(QColor(0x6d, 0x42, 0x1c), 0.8));
    p.setBrush(vertical(2, 6, QColor(0xb5, 0x7a, 0x43), QColor(0x8d, 0x5a, 0x2b)));
    p.drawRoundedRect(QRectF(6.5, 2.5, 19, 3.5), 1.2, 1.2);
    p.drawRoundedRect(QRectF(6.5, 26, 19, 3.5), 1.2, 1.2);
}

void drawSamples(QPainter& p)
{
    p.setPen(pen(kSlate, 1.3));
    p.drawLine(QPointF(4, 4), QPointF(4, 27.5));
    p.drawLine(QPointF(4, 27.5), QPointF(29, 27.5));
    const QPointF dots[] = {{8, 21}, {12, 17}, {16, 19.5}, {20, 12}, {24, 14}, {27.5, 7}};
    p.setPen(pen(kSky, 1.2));
    p.drawPolyline(dots, 6);
    p.setPen(QPen(Qt::white, 1.0));
    p.setBrush(kBlue);
    for (const QPointF& d : dots)
        p.drawEllipse(d, 2.6, 2.6);
}

void drawExporter(QPainter& p)
{
    const QColor card(0xd9, 0xa0, 0x66);
    p.setPen(QPen(QColor(0x8a, 0x5a, 0x2c), 0.9));
    QPolygonF top;
    top << QPointF(3, 14) << QPointF(11, 10) << QPointF(25, 10) << QPointF(17, 14);
    p.setBrush(card.lighter(120));
    p.drawPolygon(top);
    QPolygonF side;
    side << QPointF(17, 14) << QPointF(25, 10) << QPointF(25, 24) << QPointF(17, 28.5);
    p.setBrush(card.darker(118));
    p.drawPolygon(side);
    p.setBrush(card);
    p.drawRect(QRectF(3, 14, 14, 14.5));
    p.setPen(pen(QColor(0xf4, 0xe3, 0xc8), 1.6));
    p.drawLine(QPointF(10, 14), QPointF(10, 28.5));
    arrow(p, QPointF(15, 9), QPointF(29, 2.5), kGreen, 2.2);
}

void drawCarrier(QPainter& p)
{
    p.setPen(QPen(kNavy, 1.0));
    p.setBrush(vertical(7, 23, Qt::white, kIce));
    p.drawRoundedRect(QRectF(1.5, 7.5, 19, 15), 1.2, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(kSky);
    p.drawRect(QRectF(2, 18, 18.5, 2));
    p.setPen(QPen(kNavy.darker(110), 1.0));
    QPainterPath cab(QPointF(21.5, 22.5));
    cab.lineTo(21.5, 11.5);
    cab.lineTo(26.5, 11.5);
    cab.lineTo(30.5, 16.5);
    cab.lineTo(30.5, 22.5);
    cab.closeSubpath();
    p.setBrush(vertical(11, 23, kSky, kBlue));
    p.drawPath(cab);
    p.setBrush(QColor(0xdd, 0xf0, 0xff));
    p.drawPolygon(QPolygonF() << QPointF(23, 13) << QPointF(26, 13) << QPointF(28.5, 16.5) << QPointF(23, 16.5));
    p.setPen(QPen(QColor(0x22, 0x22, 0x22), 1.0));
    p.setBrush(QColor(0x3b, 0x44, 0x4f));
    for (qreal x : {6.5, 13.0, 26.0})
        p.drawEllipse(QPointF(x, 24.5), 3, 3);
    p.setBrush(kSteel);
    p.setPen(Qt::NoPen);
    for (qreal x : {6.5, 13.0, 26.0})
        p.drawEllipse(QPointF(x, 24.5), 1.1, 1.1);
    // The snowflake on the reefer trailer.
    p.setPen(pen(kBlue, 0.9));
    const QPointF c(11, 12.5);
    for (int i = 0; i < 3; ++i) {
        const qreal a = i * M_PI / 3;
        p.drawLine(c + QPointF(qCos(a), qSin(a)) * 3.2, c - QPointF(qCos(a), qSin(a)) * 3.2);
    }
}

void drawChecker(QPainter& p)
{
    p.setPen(QPen(QColor(0x3b, 0x44, 0x4f), 1.8));
    p.drawLine(QPointF(6, 3), QPointF(6, 30));
    QPainterPath flag(QPointF(7, 4));
    flag.cubicTo(QPointF(13, 1.5), QPointF(19, 7), QPointF(28, 4));
    flag.lineTo(28, 18);
    flag.cubicTo(QPointF(19, 21), QPointF(13, 15.5), QPointF(7, 18));
    flag.closeSubpath();
    p.save();
    p.setClipPath(flag);
    p.fillRect(QRectF(6, 0, 23, 22), Qt::white);
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 6; ++col)
            if ((row + col) % 2 == 0)
                p.fillRect(QRectF(7 + col * 3.5, 1.5 + row * 4, 3.5, 4), QColor(0x22, 0x22, 0x22));
    p.restore();
    p.setPen(QPen(QColor(0x22, 0x22, 0x22), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawPath(flag);
}

void drawPushButton(QPainter& p)
{
    p.setPen(QPen(QColor(0x47, 0x51, 0x5d), 0.9));
    p.setBrush(vertical(19, 29, QColor(0xc9, 0xd1, 0xda), QColor(0x6b, 0x77, 0x85)));
    p.drawEllipse(QRectF(4, 19, 24, 10));
    p.setBrush(vertical(15, 25, QColor(0xf0, 0x6a, 0x55), QColor(0xa8, 0x22, 0x1a)));
    QPainterPath cap;
    cap.addRect(QRectF(8, 18.5, 16, 4));
    cap.addEllipse(QRectF(8, 20, 16, 5));
    p.setPen(Qt::NoPen);
    p.drawPath(cap.simplified());
    p.setPen(QPen(QColor(0x8c, 0x1c, 0x16), 0.8));
    p.setBrush(QColor(0xf5, 0x8a, 0x78));
    p.drawEllipse(QRectF(8, 16, 16, 5));
    arrow(p, QPointF(16, 1.5), QPointF(16, 13.5), kNavy, 2.2);
}

void drawAlarmClock(QPainter& p)
{
    p.setPen(QPen(QColor(0xa0, 0x60, 0x00), 1.0));
    p.setBrush(kAmber);
    p.drawChord(QRectF(2.5, 3, 10, 10), 30 * 16, 180 * 16);
    p.drawChord(QRectF(19.5, 3, 10, 10), -30 * 16, 180 * 16);
    p.setPen(pen(QColor(0xa0, 0x60, 0x00), 1.8));
    p.drawLine(QPointF(10, 26), QPointF(7, 30));
    p.drawLine(QPointF(22, 26), QPointF(25, 30));
    clockFace(p, QPointF(16, 18), 10.5, QColor(0xe0, 0x8a, 0x00));
}

void drawRecording(QPainter& p)
{
    QRadialGradient halo(QPointF(16, 16), 15);
    halo.setColorAt(0.55, QColor(0xd2, 0x38, 0x2f, 110));
    halo.setColorAt(1, QColor(0xd2, 0x38, 0x2f, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(QPointF(16, 16), 15, 15);
    p.setPen(QPen(kRed.darker(130), 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 12, 12);
    QRadialGradient dot(QPointF(13, 13), 11);
    dot.setColorAt(0, QColor(0xff, 0x8a, 0x7a));
    dot.setColorAt(1, kRed);
    p.setPen(Qt::NoPen);
    p.setBrush(dot);
    p.drawEllipse(QPointF(16, 16), 8.5, 8.5);
}

void drawCircular(QPainter& p)
{
    const QRectF ring(5, 5, 22, 22);
    p.setPen(pen(kBlue, 3.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(ring, 30 * 16, 130 * 16);
    p.drawArc(ring, 210 * 16, 130 * 16);
    auto head = [&](qreal degrees, qreal turn) {
        const qreal a = qDegreesToRadians(degrees);
        const QPointF at = ring.center() + QPointF(qCos(a), -qSin(a)) * 11;
        const QPointF dir(-qSin(a) * turn, -qCos(a) * turn);   // direction of travel
        const QPointF normal(qCos(a), -qSin(a));
        QPolygonF tip;
        tip << at + dir * 5.5 << at + normal * 4.2 << at - normal * 4.2;
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawPolygon(tip);
    };
    head(160, 1);
    head(340, 1);
}

void drawTrash(QPainter& p)
{
    p.setPen(QPen(QColor(0x47, 0x51, 0x5d), 1.0));
    QPolygonF body;
    body << QPointF(8, 10) << QPointF(24, 10) << QPointF(22, 29) << QPointF(10, 29);
    QLinearGradient g(8, 0, 24, 0);
    g.setColorAt(0, QColor(0xd6, 0xdc, 0xe2));
    g.setColorAt(1, QColor(0x7d, 0x88, 0x95));
    p.setBrush(g);
    p.drawPolygon(body);
    p.setPen(pen(QColor(0x5a, 0x64, 0x70), 1.1));
    for (qreal x : {12.5, 16.0, 19.5})
        p.drawLine(QPointF(x, 13), QPointF(x, 26));
    p.save();
    p.translate(16, 8);
    p.rotate(-14);
    p.setPen(QPen(QColor(0x47, 0x51, 0x5d), 1.0));
    p.setBrush(QColor(0xb8, 0xc1, 0xca));
    p.drawRoundedRect(QRectF(-10, -2, 20, 3.2), 1, 1);
    p.drawRoundedRect(QRectF(-3, -4.5, 6, 2.5), 1, 1);
    p.restore();
    badge(p, QPointF(25, 24), 6.2, kRed, Sign::Cross);
}

void drawNoData(QPainter& p)
{
    p.setPen(pen(QColor(0x8f, 0x9a, 0xa6), 1.4));
    for (int i = 0; i < 4; ++i) {
        const qreal at = 10 + i * 4;
        p.drawLine(QPointF(at, 3), QPointF(at, 7));
        p.drawLine(QPointF(at, 25), QPointF(at, 29));
        p.drawLine(QPointF(3, at), QPointF(7, at));
        p.drawLine(QPointF(25, at), QPointF(29, at));
    }
    p.setPen(QPen(QColor(0x2b, 0x33, 0x3d), 1.0));
    p.setBrush(vertical(6, 26, QColor(0x6b, 0x77, 0x85), QColor(0x3b, 0x44, 0x4f)));
    p.drawRoundedRect(QRectF(6.5, 6.5, 19, 19), 2, 2);
    p.setPen(pen(Qt::white, 1.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 5, 5);
    p.drawLine(QPointF(12, 20), QPointF(20, 12));
}

// The maker's mark: a snowflake on a deep blue tile, with a red drop of mercury.
void drawMark(QPainter& p, const QRectF& r)
{
    p.save();
    QLinearGradient g(r.topLeft(), r.bottomRight());
    g.setColorAt(0, kBlue.lighter(115));
    g.setColorAt(1, kNavy);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r, r.width() * 0.2, r.width() * 0.2);
    const QPointF c = r.center();
    const qreal arm = r.width() * 0.33;
    p.setPen(pen(Qt::white, r.width() * 0.06));
    for (int i = 0; i < 6; ++i) {
        const qreal a = i * M_PI / 3 + M_PI / 2;
        const QPointF dir(qCos(a), -qSin(a));
        const QPointF end = c + dir * arm;
        p.drawLine(c, end);
        const QPointF mid = c + dir * arm * 0.6;
        for (int s : {-1, 1}) {
            const qreal b = a + s * M_PI / 4;
            p.drawLine(mid, mid + QPointF(qCos(b), -qSin(b)) * arm * 0.32);
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(c, r.width() * 0.09, r.width() * 0.09);
    p.restore();
}

} // namespace

// Toolbar buttons are drawn at every size a style may ask for, so they stay sharp.
static QIcon toolbarIcon(const std::function<void(QPainter&)>& draw)
{
    QIcon icon;
    for (int size : {16, 24, 32, 48})
        icon.addPixmap(glyph(size, draw));
    return icon;
}

QIcon Pictures::toolbar1Icon(int index)
{
    std::function<void(QPainter&)> draw;
    switch (index) {
    case 1: draw = drawStudyFromDisk; break;
    case 2: draw = drawConnect; break;
    case 3: draw = drawGraph; break;
    case 4: draw = drawProportions; break;
    case 5: draw = drawHistogram; break;
    case 6: draw = drawSampleList; break;
    case 7: draw = drawAlarms; break;
    case 8: draw = drawShipmentSummary; break;
    default: return QIcon();
    }
    return toolbarIcon(draw);
}

QIcon Pictures::toolbar2Icon(int index)
{
    std::function<void(QPainter&)> draw;
    switch (index) {
    case 1: draw = drawPrint; break;
    case 2: draw = drawConfiguration; break;
    case 4: draw = drawFinish; break;
    default: return QIcon();
    }
    return toolbarIcon(draw);
}

QPixmap Pictures::fieldIcon(int element, int size)
{
    switch (element) {
    case 0:
    case 9:
        return glyph(size, [](QPainter& p) {
            clockFace(p, QPointF(14, 14), 11.5);
            badge(p, QPointF(24, 24), 7, kGreen, Sign::Play);
        });
    case 1:
    case 8:
        return glyph(size, [](QPainter& p) {
            clockFace(p, QPointF(14, 14), 11.5);
            badge(p, QPointF(24, 24), 7, kRed, Sign::Stop);
        });
    case 2:
    case 3:
    case 5:
    case 10:
        return glyph(size, drawHourglass);
    case 4:
    case 6:
    case 7:
        return glyph(size, drawSamples);
    case 11:
    case 14:
        return glyph(size, drawExporter);
    case 12:
    case 13:
        return glyph(size, drawCarrier);
    default:
        return QPixmap();
    }
}

QPixmap Pictures::limitIcon(int element, int size)
{
    const bool high = element == 1;
    return glyph(size, [high](QPainter& p) {
        thermometer(p, QPointF(12, 25), 21, high ? kRed : kBlue, high ? 0.75 : 0.3);
        if (high)
            arrow(p, QPointF(24.5, 25), QPointF(24.5, 4), kRed, 2.4);
        else
            arrow(p, QPointF(24.5, 4), QPointF(24.5, 25), kBlue, 2.4);
    });
}

bool Pictures::hasStatePicture(int index)
{
    switch (index) {
    case 1: case 2: case 4: case 5: case 6: case 7: case 8: case 9: case 10: case 11:
    case 13: case 14: case 16: case 17: case 19:
        return true;
    default:
        return false;
    }
}

QPixmap Pictures::statePicture(int index, int size)
{
    switch (index) {
    case 1: return glyph(size, [](QPainter& p) { badge(p, QPointF(16, 16), 13.5, kGreen, Sign::Check); });
    case 2: return glyph(size, [](QPainter& p) { badge(p, QPointF(16, 16), 13.5, kRed, Sign::Exclamation); });
    case 4: return glyph(size, drawNoData);
    case 5: return glyph(size, drawPushButton);
    case 6: return glyph(size, drawAlarmClock);
    case 7: return glyph(size, drawRecording);
    case 8: return glyph(size, drawCircular);
    case 9:
        return glyph(size, [](QPainter& p) {
            QRadialGradient g(QPointF(12, 11), 20);
            g.setColorAt(0, kGreen.lighter(140));
            g.setColorAt(1, kGreen.darker(115));
            p.setPen(QPen(Qt::white, 1.6));
            p.setBrush(g);
            p.drawEllipse(QPointF(16, 16), 14, 14);
            plug(p, QPointF(16, 16.5), 21, Qt::white, 0);
        });
    case 10:
        return glyph(size, [](QPainter& p) {
            QRadialGradient g(QPointF(12, 11), 20);
            g.setColorAt(0, QColor(0xc4, 0xcb, 0xd3));
            g.setColorAt(1, QColor(0x7d, 0x88, 0x95));
            p.setPen(QPen(Qt::white, 1.6));
            p.setBrush(g);
            p.drawEllipse(QPointF(16, 16), 14, 14);
            plug(p, QPointF(16, 16.5), 21, Qt::white, 3.5);
            p.setPen(pen(kRed, 3));
            p.drawLine(QPointF(7.5, 24.5), QPointF(24.5, 7.5));
        });
    case 11: return glyph(size, drawChecker);
    case 13:
        return glyph(size, [](QPainter& p) {
            clockFace(p, QPointF(14, 14), 12);
            badge(p, QPointF(24, 24), 7.5, kRed, Sign::Cross);
        });
    case 14:
        return glyph(size, [](QPainter& p) {
            clockFace(p, QPointF(14, 14), 12);
            badge(p, QPointF(24, 24), 7.5, kGreen, Sign::Check);
        });
    case 16:
        return glyph(size, [](QPainter& p) {
            floppy(p);
            badge(p, QPointF(24.5, 24.5), 7, kGreen, Sign::Check);
        });
    case 17:
        return glyph(size, [](QPainter& p) {
            floppy(p);
            badge(p, QPointF(24.5, 24.5), 7, kRed, Sign::Cross);
        });
    case 19: return glyph(size, drawTrash);
    default: return QPixmap();
    }
}

QPixmap Pictures::clockIcon(int size)
{
    return glyph(size, [](QPainter& p) { clockFace(p, QPointF(16, 16), 13); });
}

QPixmap Pictures::thermometerIcon(int size)
{
    return glyph(size, [](QPainter& p) { thermometer(p, QPointF(16, 25), 21, kRed, 0.55); });
}

QPixmap Pictures::fileIcon(int size)
{
    return glyph(size, [](QPainter& p) {
        QPainterPath doc(QPointF(6, 2.5));
        doc.lineTo(20, 2.5);
        doc.lineTo(26, 8.5);
        doc.lineTo(26, 29.5);
        doc.lineTo(6, 29.5);
        doc.closeSubpath();
        p.setPen(QPen(kPaperEdge, 1.0));
        p.setBrush(vertical(2, 30, Qt::white, QColor(0xec, 0xf0, 0xf4)));
        p.drawPath(doc);
        p.setBrush(QColor(0xd5, 0xdb, 0xe1));
        p.drawPolygon(QPolygonF() << QPointF(20, 2.5) << QPointF(20, 8.5) << QPointF(26, 8.5));
        p.setPen(pen(kBlue, 1.6));
        QPolygonF curve;
        curve << QPointF(9, 22) << QPointF(12.5, 16) << QPointF(16, 19) << QPointF(19.5, 12) << QPointF(23, 15);
        p.drawPolyline(curve);
        p.setPen(pen(kSteel, 1.1));
        p.drawLine(QPointF(9, 26), QPointF(23, 26));
    });
}

QPixmap Pictures::serialIcon(int size)
{
    return glyph(size, [](QPainter& p) {
        p.translate(16, 16);
        p.rotate(-30);
        QPainterPath tag(QPointF(-13, -7));
        tag.lineTo(7, -7);
        tag.lineTo(13, 0);
        tag.lineTo(7, 7);
        tag.lineTo(-13, 7);
        tag.closeSubpath();
        p.setPen(QPen(QColor(0xa0, 0x60, 0x00), 1.0));
        p.setBrush(vertical(-7, 7, QColor(0xff, 0xe0, 0x9a), kAmber));
        p.drawPath(tag);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(7, 0), 1.8, 1.8);
        p.setPen(QPen(QColor(0x3b, 0x2a, 0x10), 1.0));
        for (qreal x : {-10.0, -8.5, -6.0, -4.5, -2.0, 0.5, 2.0})
            p.drawLine(QPointF(x, -4), QPointF(x, 4));
    });
}

QPixmap Pictures::acceptIcon(int size)
{
    return glyph(size, [](QPainter& p) { badge(p, QPointF(16, 16), 14, kGreen, Sign::Check); });
}

QPixmap Pictures::refuseIcon(int size)
{
    return glyph(size, [](QPainter& p) { badge(p, QPointF(16, 16), 14, kRed, Sign::Cross); });
}

QPixmap Pictures::portIcon(int size)
{
    return glyph(size, [](QPainter& p) {
        // A nine-pin serial connector seen from the front.
        QPainterPath shell(QPointF(2, 9));
        shell.lineTo(30, 9);
        shell.lineTo(26.5, 24);
        shell.lineTo(5.5, 24);
        shell.closeSubpath();
        p.setPen(QPen(QColor(0x47, 0x51, 0x5d), 1.0));
        p.setBrush(vertical(9, 24, QColor(0xd6, 0xdc, 0xe2), kSteel));
        p.drawPath(shell);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2b, 0x33, 0x3d));
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(QPointF(8 + i * 4, 14), 1.3, 1.3);
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(10 + i * 4, 19), 1.3, 1.3);
    });
}

QPixmap Pictures::chipIcon(int size)
{
    return glyph(size, [](QPainter& p) {
        p.setPen(pen(QColor(0x8f, 0x9a, 0xa6), 1.4));
        for (int i = 0; i < 4; ++i) {
            const qreal at = 10 + i * 4;
            p.drawLine(QPointF(at, 3), QPointF(at, 7));
            p.drawLine(QPointF(at, 25), QPointF(at, 29));
            p.drawLine(QPointF(3, at), QPointF(7, at));
            p.drawLine(QPointF(25, at), QPointF(29, at));
        }
        p.setPen(QPen(kNavy.darker(130), 1.0));
        p.setBrush(vertical(6, 26, kBlue, kNavy));
        p.drawRoundedRect(QRectF(6.5, 6.5, 19, 19), 2, 2);
        p.setPen(Qt::NoPen);
        p.setBrush(kSky);
        p.drawEllipse(QPointF(10.5, 10.5), 1.5, 1.5);
    });
}

QPixmap Pictures::makerPicture(const QSize& size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const qreal h = size.height();
    const qreal markSide = h * 0.86;
    const QRectF mark(h * 0.07, (h - markSide) / 2, markSide, markSide);
    drawMark(p, mark);

    const qreal textLeft = mark.right() + h * 0.22;
    QFont name(QStringLiteral("DejaVu Sans"));
    name.setBold(true);
    name.setPixelSize(qMax(8, int(h * 0.46)));
    name.setLetterSpacing(QFont::AbsoluteSpacing, h * 0.05);
    p.setFont(name);
    p.setPen(kNavy);
    const QRectF nameBox(textLeft, h * 0.02, size.width() - textLeft, h * 0.56);
    p.drawText(nameBox, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("ORVAN"));
    const qreal nameWidth = QFontMetricsF(name).horizontalAdvance(QStringLiteral("ORVAN"));

    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawRect(QRectF(textLeft, h * 0.61, qMin(nameWidth, size.width() - textLeft), qMax(1.0, h * 0.035)));

    QFont line(QStringLiteral("DejaVu Sans"));
    line.setPixelSize(qMax(6, int(h * 0.2)));
    p.setFont(line);
    p.setPen(kSlate);
    p.drawText(QRectF(textLeft, h * 0.67, size.width() - textLeft, h * 0.3), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Data Logger  \u00b7  KLV-100"));
    return pm;
}

QPixmap Pictures::flag(int idioma, const QSize& size)
{
    QPixmap pm = blank(size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = size.width(), h = size.height();
    switch (idioma) {
    case 0:   // Spain
        p.fillRect(QRectF(0, 0, w, h), QColor(0xaa, 0x15, 0x1b));
        p.fillRect(QRectF(0, h / 4, w, h / 2), QColor(0xf1, 0xbf, 0x00));
        break;
    case 1: {   // United Kingdom
        p.fillRect(QRectF(0, 0, w, h), QColor(0x01, 0x21, 0x69));
        p.setPen(QPen(Qt::white, h * 0.2));
        p.drawLine(QPointF(0, 0), QPointF(w, h));
        p.drawLine(QPointF(w, 0), QPointF(0, h));
        p.setPen(QPen(QColor(0xc8, 0x10, 0x2e), h * 0.07));
        p.drawLine(QPointF(0, 0), QPointF(w, h));
        p.drawLine(QPointF(w, 0), QPointF(0, h));
        p.fillRect(QRectF(0, h * 0.35, w, h * 0.3), Qt::white);
        p.fillRect(QRectF(w / 2 - h * 0.15, 0, h * 0.3, h), Qt::white);
        p.fillRect(QRectF(0, h * 0.4, w, h * 0.2), QColor(0xc8, 0x10, 0x2e));
        p.fillRect(QRectF(w / 2 - h * 0.1, 0, h * 0.2, h), QColor(0xc8, 0x10, 0x2e));
        break;
    }
    case 2:   // Germany
        p.fillRect(QRectF(0, 0, w, h / 3), Qt::black);
        p.fillRect(QRectF(0, h / 3, w, h / 3), QColor(0xdd, 0x00, 0x00));
        p.fillRect(QRectF(0, 2 * h / 3, w, h - 2 * h / 3), QColor(0xff, 0xce, 0x00));
        break;
    case 3:   // France
        p.fillRect(QRectF(0, 0, w / 3, h), QColor(0x00, 0x55, 0xa4));
        p.fillRect(QRectF(w / 3, 0, w / 3, h), Qt::white);
        p.fillRect(QRectF(2 * w / 3, 0, w - 2 * w / 3, h), QColor(0xef, 0x41, 0x35));
        break;
    case 4: {   // Portugal
        p.fillRect(QRectF(0, 0, w * 0.4, h), QColor(0x00, 0x66, 0x00));
        p.fillRect(QRectF(w * 0.4, 0, w * 0.6, h), QColor(0xff, 0x00, 0x00));
        const QPointF c(w * 0.4, h / 2);
        const qreal r = h * 0.27;
        p.setPen(QPen(QColor(0xff, 0xe0, 0x00), qMax(1.0, h * 0.06)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, r, r);
        p.drawLine(c - QPointF(r, 0), c + QPointF(r, 0));
        p.setPen(QPen(Qt::white, qMax(0.8, h * 0.04)));
        p.setBrush(QColor(0xff, 0x00, 0x00));
        p.drawRoundedRect(QRectF(c.x() - r * 0.45, c.y() - r * 0.55, r * 0.9, r * 1.1), r * 0.2, r * 0.2);
        break;
    }
    default:
        p.fillRect(QRectF(0, 0, w, h), Qt::lightGray);
        break;
    }
    p.setPen(QPen(QColor(0, 0, 0, 90), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, w - 1, h - 1));
    return pm;
}

QIcon Pictures::appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        icon.addPixmap(glyph(size, [](QPainter& p) {
            loggerBody(p, QRectF(7, 2, 18, 28));
        }));
    }
    return icon;
}

QPixmap Pictures::fromFile(const QString& path)
{
    // Far more than any window picture needs.
    constexpr qint64 kMaxPictureBytes = 32 * 1024 * 1024;
    const BoundedRead read = readRegularFile(path, kMaxPictureBytes);
    QPixmap pm;
    if (read.ok())
        pm.loadFromData(read.bytes);
    return pm;
}

void Pictures::showState(QLabel* label, int index, const QString& toolTip)
{
    if (!label)
        return;
    int size = label->property("pictureSize").toInt();
    if (size <= 0)
        size = qMax(16, qMin(label->width(), label->height()));
    const QPixmap pm = index > 0 ? statePicture(index, size) : QPixmap();
    if (pm.isNull()) {
        label->clear();
        label->setProperty("pictureIndex", 0);
    } else {
        label->setPixmap(pm);
        label->setProperty("pictureIndex", index);
    }
    label->setToolTip(toolTip);
}

int Pictures::shownState(const QLabel* label)
{
    return label ? label->property("pictureIndex").toInt() : 0;
}

} // namespace orvan::ui
