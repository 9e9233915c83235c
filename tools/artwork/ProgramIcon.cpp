#include "ProgramIcon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace orvan::artwork {

QImage paintProgramIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 256-unit canvas so that every size has the same proportions.
    p.scale(size / 256.0, size / 256.0);

    // The tile: cold blue, lighter at the top.
    QLinearGradient tile(0, 8, 0, 248);
    tile.setColorAt(0, QColor(0x6c, 0xb4, 0xee));
    tile.setColorAt(1, QColor(0x1f, 0x3b, 0x63));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(8, 8, 240, 240), 44, 44);

    // The logger: a light body with a dark rim.
    const QRectF body(58, 26, 140, 204);
    QLinearGradient shell(0, body.top(), 0, body.bottom());
    shell.setColorAt(0, QColor(0xf4, 0xf8, 0xfc));
    shell.setColorAt(1, QColor(0xc9, 0xd6, 0xe3));
    p.setPen(QPen(QColor(0x14, 0x27, 0x42), 6));
    p.setBrush(shell);
    p.drawRoundedRect(body, 30, 30);

    // Its display with the trace crossing the upper limit once.
    const QRectF lcd(76, 50, 104, 86);
    p.setPen(QPen(QColor(0x14, 0x27, 0x42), 4));
    p.setBrush(QColor(0xcf, 0xee, 0xcb));
    p.drawRoundedRect(lcd, 8, 8);
    p.setPen(QPen(QColor(0xd2, 0x38, 0x2f), 3, Qt::DashLine));
    p.drawLine(QPointF(lcd.left() + 6, 74), QPointF(lcd.right() - 6, 74));
    QPainterPath trace(QPointF(lcd.left() + 8, 118));
    trace.cubicTo(QPointF(104, 96), QPointF(112, 118), QPointF(126, 100));
    trace.cubicTo(QPointF(140, 82), QPointF(146, 58), QPointF(156, 68));
    trace.cubicTo(QPointF(164, 76), QPointF(166, 104), QPointF(lcd.right() - 8, 100));
    p.setPen(QPen(QColor(0x1f, 0x5a, 0x2a), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trace);

    // The push-button and the snowflake of the cold chain.
    p.setPen(QPen(QColor(0x8a, 0x1e, 0x18), 3));
    p.setBrush(QColor(0xd2, 0x38, 0x2f));
    p.drawEllipse(QPointF(128, 172), 17, 17);
    p.setPen(QPen(QColor(0x2f, 0x6f, 0xb3), 5, Qt::SolidLine, Qt::RoundCap));
    const QPointF c(128, 208);
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(c);
        p.rotate(60.0 * i);
        p.drawLine(QPointF(-11, 0), QPointF(11, 0));
        p.restore();
    }
    return image;
}

} // namespace orvan::artwork
