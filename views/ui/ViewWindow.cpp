#include "views/ui/ViewWindow.h"

#include <QLabel>
#include <QPainter>

namespace orvan::views {

QLabel* footerLabel(QWidget* parent, const QString& text)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("lbCopyrigt"));
    l->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * 0.9);
    l->setFont(f);
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, QColor(0x44, 0x4a, 0x55));
    l->setPalette(p);
    return l;
}

QPixmap exportIcon(int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal m = size * 0.12;
    const QRectF sheet(m, m, size - 2 * m, size - 2 * m);
    p.setPen(QPen(QColor(0x1d, 0x6f, 0x42), size / 16.0));
    p.setBrush(Qt::white);
    p.drawRoundedRect(sheet, size * 0.08, size * 0.08);
    // Header row, then a grid of cells.
    p.fillRect(QRectF(sheet.left(), sheet.top(), sheet.width(), sheet.height() / 4), QColor(0x1d, 0x6f, 0x42));
    p.setPen(QPen(QColor(0x1d, 0x6f, 0x42), size / 24.0));
    for (int i = 2; i <= 3; ++i) {
        const qreal y = sheet.top() + sheet.height() * i / 4;
        p.drawLine(QPointF(sheet.left(), y), QPointF(sheet.right(), y));
    }
    const qreal x = sheet.left() + sheet.width() / 2.5;
    p.drawLine(QPointF(x, sheet.top()), QPointF(x, sheet.bottom()));
    return pm;
}

} // namespace orvan::views
