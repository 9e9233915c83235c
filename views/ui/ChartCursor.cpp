#include "views/ui/Chart.h"

#include "views/ui/ChartParts.h"

#include <algorithm>
#include <cmath>
#include <limits>

// What moves with the pointer, on a layer of its own: named labels, the cursor lines, picking the
// point under a pixel and the zoom band.

namespace orvan::views::ui {

// The cursor lines, the cursor label and the band repaint alone on their own buffer, so a
// pointer move does not redraw the samples.
void Chart::setUpCursorLayer()
{
    m_plot->addLayer(QStringLiteral("cursor"), m_plot->layer(QStringLiteral("overlay")), QCustomPlot::limAbove);
    m_cursorLayer = m_plot->layer(QStringLiteral("cursor"));
    m_cursorLayer->setMode(QCPLayer::lmBuffered);
    // The title stays readable over the cursor line.
    m_plot->addLayer(QStringLiteral("titulo"), m_cursorLayer, QCustomPlot::limAbove);

    m_band = new QCPItemRect(m_plot);
    m_band->setLayer(m_cursorLayer);
    m_band->topLeft->setType(QCPItemPosition::ptAbsolute);
    m_band->bottomRight->setType(QCPItemPosition::ptAbsolute);
    m_band->setPen(QPen(QColor(0x1f, 0x4e, 0x8c), 1));
    m_band->setBrush(QColor(0x3d, 0x7e, 0xd6, 60));
    m_band->setClipToAxisRect(false);
    m_band->setVisible(false);
}

// --- Labels ---

Chart::Label& Chart::label(const QString& name)
{
    Label*& e = m_labels[nameKey(name)];
    if (!e) {
        e = new Label;
        e->item = new QCPItemText(m_plot);
        e->item->setPadding(QMargins(6, 3, 6, 3));
        e->item->setPen(QPen(QColor(0x80, 0x86, 0x90), 1));
        e->item->setBrush(e->background);
        e->item->setColor(QColor(0x20, 0x24, 0x2a));
        e->item->setClipToAxisRect(true);
        e->item->position->setType(QCPItemPosition::ptPlotCoords);
        if (nameKey(name) == QLatin1String("title")) {
            QFont f = e->item->font();
            f.setBold(true);
            f.setPointSizeF(f.pointSizeF() + 1);
            e->item->setFont(f);
            e->item->setPen(Qt::NoPen);
            e->item->setBrush(QColor(255, 255, 255, 225));
            e->item->setPositionAlignment(Qt::AlignTop | Qt::AlignHCenter);
            e->item->setLayer(QStringLiteral("titulo"));
        } else {
            e->item->setLayer(m_cursorLayer);
        }
    }
    return *e;
}

const Chart::Label* Chart::labelOrNull(const QString& name) const
{
    const auto it = m_labels.find(nameKey(name));
    return it == m_labels.end() ? nullptr : it->second;
}

void Chart::setLabelText(const QString& name, const QString& text)
{
    Label& e = label(name);
    e.item->setText(text);
    labelChanged(e);
}

QString Chart::labelText(const QString& name) const
{
    const Label* e = labelOrNull(name);
    return e ? e->item->text() : QString();
}

void Chart::placeLabel(Label& e)
{
    double x = e.x, y = e.y;
    if (e.toPoint) {
        x = this->x(e.point);
        y = this->y(e.series, e.point);
    }
    e.item->position->setCoords(x, y);
    if (e.item->layer() == m_cursorLayer) {
        // Stand beside the point, on the side with more room, so the label stays whole.
        const QCPRange r = m_plot->xAxis->range();
        const bool right = x > r.center();
        const QCPRange ry = m_plot->yAxis->range();
        const bool above = y < ry.center();
        e.item->setPositionAlignment((right ? Qt::AlignRight : Qt::AlignLeft) |
                                     (above ? Qt::AlignBottom : Qt::AlignTop));
    }
    e.item->setVisible(e.item->visible() && std::isfinite(x) && std::isfinite(y));
}

// Labels follow their points and keep to the side with room after every change of the data or
// the axes.
void Chart::placeLabels()
{
    for (auto& [name, e] : m_labels)
        if (e->item->visible())
            placeLabel(*e);
}

// A label on the cursor layer repaints only that layer; any other repaints the chart.
void Chart::labelChanged(const Label& e)
{
    if (e.item->layer() == m_cursorLayer)
        cursorChanged();
    else
        changed(false);
}

void Chart::attachLabel(const QString& name, double x, double y)
{
    Label& e = label(name);
    e.toPoint = false;
    e.x = x;
    e.y = y;
    e.item->setVisible(true);
    placeLabel(e);
    labelChanged(e);
}

void Chart::attachLabelToPoint(const QString& name, int series, int point)
{
    Label& e = label(name);
    e.toPoint = true;
    e.series = series;
    e.point = point;
    e.item->setVisible(true);
    placeLabel(e);
    labelChanged(e);
}

void Chart::setLabelBackground(const QString& name, const QColor& color)
{
    Label& e = label(name);
    e.background = color;
    e.item->setBrush(color);
    labelChanged(e);
}

QColor Chart::labelBackground(const QString& name) const
{
    const Label* e = labelOrNull(name);
    return e ? e->background : QColor();
}

void Chart::setLabelVisible(const QString& name, bool visible)
{
    Label& e = label(name);
    e.item->setVisible(visible);
    if (visible)
        placeLabel(e);
    labelChanged(e);
}

bool Chart::labelVisible(const QString& name) const
{
    const Label* e = labelOrNull(name);
    return e && e->item->visible();
}

QPointF Chart::labelAnchor(const QString& name) const
{
    const Label* e = labelOrNull(name);
    return e ? e->item->position->coords() : QPointF();
}

QCPItemText* Chart::labelItem(const QString& name) { return label(name).item; }

// --- Markers ---

QCPItemStraightLine* Chart::marker(const QString& name) const
{
    const auto it = m_markers.find(nameKey(name));
    return it == m_markers.end() ? nullptr : it->second;
}

QCPItemStraightLine* Chart::markerItem(const QString& name)
{
    QCPItemStraightLine*& line = m_markers[nameKey(name)];
    if (!line) {
        line = new QCPItemStraightLine(m_plot);
        line->setLayer(m_cursorLayer);
        line->setPen(QPen(QColor(0x33, 0x36, 0x3c, 170), 1, Qt::DashLine));
        m_markerValues[nameKey(name)] = 0;
        m_markerShown[nameKey(name)] = true;
        line->point1->setCoords(0, 0);
        line->point2->setCoords(0, 1);
    }
    return line;
}

void Chart::setMarkerValue(const QString& name, double value)
{
    QCPItemStraightLine* line = markerItem(name);
    m_markerValues[nameKey(name)] = value;
    const bool vertical = nameKey(name) == QLatin1String("x");
    if (std::isfinite(value)) {
        if (vertical) {
            line->point1->setCoords(value, 0);
            line->point2->setCoords(value, 1);
        } else {
            line->point1->setCoords(0, value);
            line->point2->setCoords(1, value);
        }
    }
    // A hole puts the line out of sight, as a value outside the axis would.
    line->setVisible(std::isfinite(value) && m_markerShown[nameKey(name)]);
    cursorChanged();
}

double Chart::markerValue(const QString& name) const
{
    const auto it = m_markerValues.find(nameKey(name));
    return it == m_markerValues.end() ? hole() : it->second;
}

void Chart::setMarkerVisible(const QString& name, bool visible)
{
    QCPItemStraightLine* line = markerItem(name);
    m_markerShown[nameKey(name)] = visible;
    line->setVisible(visible && std::isfinite(markerValue(name)));
    cursorChanged();
}

bool Chart::markerVisible(const QString& name) const
{
    const auto it = m_markerShown.find(nameKey(name));
    return it != m_markerShown.end() && it->second;
}

void Chart::cursorChanged()
{
    if (m_batch)
        m_cursorDirty = true;
    else
        m_cursorLayer->replot();
}

// --- Picking ---

Chart::Pick Chart::pick(const QPoint& pixel) const
{
    Pick found;
    if (m_x.empty())
        return found;
    const double xd = m_plot->xAxis->pixelToCoord(pixel.x());
    int best = 0;
    if (std::is_sorted(m_x.begin(), m_x.end())) {
        const auto it = std::lower_bound(m_x.begin(), m_x.end(), xd);
        best = int(it - m_x.begin());
        if (best == int(m_x.size()) || (best > 0 && xd - m_x[best - 1] <= m_x[best] - xd)) {
            // Equal X values (a repeated point) resolve to the first of them.
            --best;
            while (best > 0 && m_x[best - 1] == m_x[best])
                --best;
        }
    } else {
        double dist = std::numeric_limits<double>::infinity();
        for (int i = 0; i < int(m_x.size()); ++i) {
            if (std::abs(m_x[i] - xd) < dist) {
                dist = std::abs(m_x[i] - xd);
                best = i;
            }
        }
    }
    found.point = best + 1;
    double dist = std::numeric_limits<double>::infinity();
    for (int s = 0; s < seriesCount(); ++s) {
        const double v = m_y[s][best];
        if (!m_series[s].pickable || !std::isfinite(v))
            continue;
        const double d = std::abs(m_plot->yAxis->coordToPixel(v) - pixel.y());
        if (d < dist) {
            dist = d;
            found.series = s + 1;
        }
    }
    return found;
}

// --- Band ---

void Chart::showBand(const QRect& band)
{
    m_band->topLeft->setCoords(band.left(), band.top());
    m_band->bottomRight->setCoords(band.right() + 1, band.bottom() + 1);
    m_band->setVisible(true);
    cursorChanged();
}

void Chart::hideBand()
{
    if (!m_band->visible())
        return;
    m_band->setVisible(false);
    cursorChanged();
}

QRect Chart::band() const
{
    if (!m_band->visible())
        return {};
    return QRect(m_band->topLeft->coords().toPoint(), m_band->bottomRight->coords().toPoint() - QPoint(1, 1));
}

} // namespace orvan::views::ui
