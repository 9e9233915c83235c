#include "archive/ui/ArchivePictures.h"

#include "base/ui/PictureKit.h"
#include "base/ui/Pictures.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <functional>

namespace orvan::archive::ui {

namespace {

using namespace orvan::ui::kit;

void drawArchive(QPainter& p)
{
    // The cabinet, its closed lower drawer with a handle.
    p.setPen(QPen(kNavy.darker(120), 1.0));
    p.setBrush(vertical(9, 30, kSteel.lighter(125), kSlate));
    p.drawRoundedRect(QRectF(3, 9, 24, 21), 2, 2);
    p.setBrush(vertical(21, 28, kSteel.lighter(140), kSteel));
    p.drawRoundedRect(QRectF(5, 21.5, 20, 6.5), 1, 1);
    p.setPen(pen(kSlate, 1.4));
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
    p.setPen(pen(kBlue, 1.3));
    QPolygonF curve;
    curve << QPointF(13, 14) << QPointF(15.5, 10.5) << QPointF(18, 12.5) << QPointF(21, 8.8) << QPointF(24, 10);
    p.drawPolyline(curve);
    p.setPen(QPen(kNavy.darker(120), 1.0));
    p.setBrush(vertical(14, 20, kSky, kBlue));
    p.drawRoundedRect(QRectF(4.5, 14.5, 21, 5.5), 1, 1);

    // The magnifying glass of the search.
    p.setPen(pen(QColor(0x33, 0x3c, 0x47), 3.2));
    p.drawLine(QPointF(26.2, 26.2), QPointF(30, 30));
    QRadialGradient lens(QPointF(22, 20), 6);
    lens.setColorAt(0, QColor(255, 255, 255, 235));
    lens.setColorAt(1, QColor(0xcf, 0xe6, 0xf7, 220));
    p.setPen(QPen(QColor(0x33, 0x3c, 0x47), 1.8));
    p.setBrush(lens);
    p.drawEllipse(QPointF(23, 22), 5, 5);
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
    // The application's own signs: attention for a file that changed, a disk struck out for one
    // that is gone.
    switch (state) {
    case PlaceState::Changed: return orvan::ui::Pictures::statePicture(2, size);
    case PlaceState::Missing: return orvan::ui::Pictures::statePicture(17, size);
    default: break;
    }
    return QPixmap();
}

} // namespace orvan::archive::ui
