#include "base/ui/PictureKit.h"

#include <QGuiApplication>
#include <QPainter>

namespace orvan::ui::kit {

qreal deviceRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

QPixmap blank(const QSize& size)
{
    const qreal ratio = deviceRatio();
    QPixmap pm(size * ratio);
    pm.setDevicePixelRatio(ratio);
    pm.fill(Qt::transparent);
    return pm;
}

QPixmap glyph(int size, const std::function<void(QPainter&)>& draw)
{
    QPixmap pm = blank(QSize(size, size));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return pm;
}

QLinearGradient vertical(qreal top, qreal bottom, const QColor& a, const QColor& b)
{
    QLinearGradient g(0, top, 0, bottom);
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

QPen pen(const QColor& c, qreal width)
{
    return QPen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace orvan::ui::kit
