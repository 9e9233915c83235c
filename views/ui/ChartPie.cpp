#include "views/ui/Chart.h"

#include "views/ui/ChartParts.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <vector>

// Pies are painted by the chart itself, on screen and on any painter: one slice per series from
// its first value, a heading and a legend.

namespace orvan::views::ui {

void Chart::paintPies(QPainter& painter, const QRectF& area) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, Qt::white);

    QRectF zone = area.adjusted(12, 12, -12, -12);
    const Label* heading = labelOrNull(QStringLiteral("Title"));
    QFont font = painter.font();
    const QFontMetricsF fm(font);
    if (heading && heading->item->visible() && !heading->item->text().isEmpty()) {
        QFont bold = font;
        bold.setBold(true);
        painter.setFont(bold);
        painter.setPen(QColor(0x20, 0x24, 0x2a));
        const QRectF r(zone.left(), zone.top(), zone.width(), fm.height() * 1.5);
        painter.drawText(r, Qt::AlignCenter, heading->item->text());
        zone.setTop(r.bottom() + 6);
        painter.setFont(font);
    }

    // Legend on the right when there is room, else below.
    std::vector<int> named;
    qreal legendWidth = 0;
    for (int s = 0; s < seriesCount(); ++s) {
        if (!m_series[s].name.isEmpty()) {
            named.push_back(s);
            legendWidth = std::max(legendWidth, fm.horizontalAdvance(m_series[s].name) + fm.height() + 14);
        }
    }
    const bool legendOnRight = zone.width() > zone.height() + legendWidth;
    QRectF legend;
    if (!named.empty()) {
        if (legendOnRight) {
            legend = QRectF(zone.right() - legendWidth, zone.top(), legendWidth, zone.height());
            zone.setRight(legend.left() - 10);
        } else {
            const qreal legendHeight = fm.height() * 1.4 * named.size();
            legend = QRectF(zone.left(), zone.bottom() - legendHeight, zone.width(), legendHeight);
            zone.setBottom(legend.top() - 8);
        }
    }

    const qreal side = std::max<qreal>(0, std::min(zone.width(), zone.height()));
    const QRectF circle(zone.center().x() - side / 2, zone.center().y() - side / 2, side, side);
    double total = 0;
    for (int s = 0; s < seriesCount(); ++s) {
        const double v = y(s + 1, 1);
        if (std::isfinite(v) && v > 0)
            total += v;
    }
    if (total <= 0 || side <= 0) {
        painter.setPen(QPen(QColor(0xc8, 0xcc, 0xd2), 2));
        painter.setBrush(QColor(0xf2, 0xf3, 0xf5));
        painter.drawEllipse(circle);
    } else {
        // Slices in sixteenths of a degree. A value too small to see still gets a slice wide
        // enough to show beside the white lines; the widest slice gives up what that takes.
        constexpr int kTurn = 360 * 16, kNarrowest = 3 * 16;
        std::vector<int> spans(size_t(seriesCount()), 0);
        int sum = 0, widest = -1;
        double cumulative = 0;
        for (int s = 0; s < seriesCount(); ++s) {
            const double v = y(s + 1, 1);
            if (!std::isfinite(v) || v <= 0)
                continue;
            const int before = int(std::lround(cumulative / total * kTurn));
            cumulative += v;
            spans[size_t(s)] = std::max(kNarrowest, int(std::lround(cumulative / total * kTurn)) - before);
            sum += spans[size_t(s)];
            if (widest < 0 || spans[size_t(s)] > spans[size_t(widest)])
                widest = s;
        }
        spans[size_t(widest)] -= sum - kTurn;
        // Slices clockwise from twelve o'clock, split by thin white lines.
        int angle = 90 * 16;
        painter.setPen(QPen(Qt::white, 2));
        for (int s = 0; s < seriesCount(); ++s) {
            if (spans[size_t(s)] <= 0)
                continue;
            painter.setBrush(m_series[s].color);
            if (spans[size_t(s)] >= kTurn)
                painter.drawEllipse(circle);
            else
                painter.drawPie(circle, angle, -spans[size_t(s)]);
            angle -= spans[size_t(s)];
        }
    }

    qreal yl = legendOnRight ? legend.center().y() - fm.height() * 1.4 * named.size() / 2 : legend.top();
    for (int s : named) {
        const QRectF sample(legend.left(), yl + fm.height() * 0.2, fm.height(), fm.height());
        painter.setPen(QPen(m_series[s].color.darker(130), 1));
        painter.setBrush(m_series[s].color);
        painter.drawRoundedRect(sample, 2, 2);
        painter.setPen(QColor(0x20, 0x24, 0x2a));
        painter.drawText(QRectF(sample.right() + 6, yl, legend.width(), fm.height() * 1.4),
                         Qt::AlignLeft | Qt::AlignVCenter, m_series[s].name);
        yl += fm.height() * 1.4;
    }
    painter.restore();
}

} // namespace orvan::views::ui
