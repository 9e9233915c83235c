#include "views/ui/Chart.h"

#include "views/ui/ChartParts.h"

#include <algorithm>
#include <cmath>
#include <limits>

// The chart's series: one X array shared by every series, their values with holes, their
// appearance, and how they become QCustomPlot's lines or bars.

namespace orvan::views::ui {

double Chart::hole() { return std::numeric_limits<double>::quiet_NaN(); }
bool Chart::isHole(double y) { return !std::isfinite(y); }

void Chart::setSeriesCount(int n)
{
    n = std::max(n, 0);
    m_series.resize(n);
    m_y.resize(n, std::vector<double>(m_x.size(), hole()));
    m_styleDirty = true;
    changed(true);
}

void Chart::setPointCount(int n)
{
    n = std::max(n, 0);
    m_x.resize(n, 0.0);
    for (auto& curve : m_y)
        curve.resize(n, hole());
    changed(true);
}

void Chart::setX(int point, double x)
{
    if (point < 1 || point > pointCount())
        return;
    m_x[point - 1] = x;
    changed(true);
}

void Chart::setY(int series, int point, double y)
{
    if (series < 1 || series > seriesCount() || point < 1 || point > pointCount())
        return;
    m_y[series - 1][point - 1] = y;
    changed(true);
}

double Chart::x(int point) const
{
    return point >= 1 && point <= pointCount() ? m_x[point - 1] : hole();
}

double Chart::y(int series, int point) const
{
    if (series < 1 || series > seriesCount() || point < 1 || point > pointCount())
        return hole();
    return m_y[series - 1][point - 1];
}

void Chart::setSeriesStyle(int series, const QColor& color, qreal width, Qt::PenStyle style)
{
    if (series < 1 || series > seriesCount())
        return;
    SeriesStyle& s = m_series[series - 1];
    s.color = color;
    s.width = width;
    s.style = style;
    m_styleDirty = true;
    changed(false);
}

void Chart::setSeriesName(int series, const QString& name)
{
    if (series < 1 || series > seriesCount())
        return;
    m_series[series - 1].name = name;
    m_styleDirty = true;
    changed(false);
}

void Chart::setMarkerShape(int series, int shape, int size)
{
    if (series < 1 || series > seriesCount())
        return;
    SeriesStyle& s = m_series[series - 1];
    if (s.markerShape == shape && s.size == size)
        return;
    s.markerShape = shape;
    s.size = size;
    m_styleDirty = true;
    changed(false);
}

int Chart::markerShape(int series) const
{
    return series >= 1 && series <= seriesCount() ? m_series[series - 1].markerShape : NoMarker;
}

void Chart::setPickable(int series, bool pickable)
{
    if (series >= 1 && series <= seriesCount())
        m_series[series - 1].pickable = pickable;
}

void Chart::setSeriesJoined(int series, bool joined)
{
    if (series < 1 || series > seriesCount() || m_series[series - 1].joined == joined)
        return;
    m_series[series - 1].joined = joined;
    changed(true);
}

void Chart::setLegendVisible(bool visible)
{
    m_legend = visible;
    m_styleDirty = true;
    changed(false);
}

void Chart::setBarWidth(double width)
{
    m_barWidth = width;
    m_styleDirty = true;
    changed(true);
}

void Chart::rebuildPlottables()
{
    m_plot->clearPlottables();
    m_plottables.clear();
    m_dotPlottables.clear();
    if (m_kind == Kind::Pie)
        return;
    for (int s = 0; s < seriesCount(); ++s) {
        if (m_kind == Kind::Lines) {
            m_plottables.push_back(m_plot->addGraph());
        } else {
            auto* bars = new QCPBars(m_plot->xAxis, m_plot->yAxis);
            m_plottables.push_back(bars);
        }
    }
    // Markers above every line, so no line covers a marker of another series.
    if (m_kind == Kind::Lines) {
        for (int s = 0; s < seriesCount(); ++s) {
            QCPGraph* dots = m_plot->addGraph();
            dots->setLineStyle(QCPGraph::lsNone);
            dots->removeFromLegend();
            m_dotPlottables.push_back(dots);
        }
    }
    m_styleDirty = true;
    m_dataDirty = true;
}

void Chart::applyStyles()
{
    for (int s = 0; s < int(m_plottables.size()); ++s) {
        const SeriesStyle& curve = m_series[s];
        QCPAbstractPlottable* p = m_plottables[s];
        p->setName(curve.name);
        if (auto* g = qobject_cast<QCPGraph*>(p)) {
            g->setPen(QPen(curve.color, curve.width, curve.style, Qt::FlatCap, Qt::BevelJoin));
            auto* dots = static_cast<QCPGraph*>(m_dotPlottables[size_t(s)]);
            dots->setVisible(curve.markerShape == Dot);
            dots->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, curve.color, curve.color, curve.size));
        } else if (auto* b = qobject_cast<QCPBars*>(p)) {
            b->setPen(QPen(curve.color.darker(130), 1));
            b->setBrush(curve.color);
        }
        if (m_legend && !curve.name.isEmpty())
            p->addToLegend();
        else
            p->removeFromLegend();
    }
    m_plot->legend->setVisible(m_legend && m_kind != Kind::Pie);
}

namespace {

// A line's points for QCustomPlot: runs of values, one hole between two runs and none
// elsewhere, so a series that holds few values among many holes draws as fast as a short one.
class LineData {
public:
    void add(double key, double value)
    {
        if (std::isfinite(value)) {
            m_keys.append(key);
            m_values.append(value);
            m_open = true;
        } else if (m_open) {
            m_keys.append(key);
            m_values.append(Chart::hole());
            m_open = false;
        }
    }
    void setTo(QCPGraph* graph, bool sorted) const { graph->setData(m_keys, m_values, sorted); }

private:
    QVector<double> m_keys, m_values;
    bool m_open = false;
};

} // namespace

// Brings QCustomPlot's plottables up to the series: their number and kind, their styles and,
// when the data changed, their points and the axes fitted to them.
void Chart::syncSeries()
{
    if (int(m_plottables.size()) != seriesCount() ||
        (m_kind == Kind::Lines) != (m_plottables.empty() || qobject_cast<QCPGraph*>(m_plottables.front())))
        rebuildPlottables();
    if (m_styleDirty) {
        applyStyles();
        m_styleDirty = false;
    }
    if (m_dataDirty) {
        m_dataDirty = false;
        const bool sorted = std::is_sorted(m_x.begin(), m_x.end());
        double minStep = 0;
        for (size_t i = 1; i < m_x.size(); ++i) {
            const double d = m_x[i] - m_x[i - 1];
            if (d > 0 && (minStep == 0 || d < minStep))
                minStep = d;
        }
        // The samples' trace: at each point the value of the first pickable series holding one.
        const size_t n = m_x.size();
        std::vector<double> trace(n, hole());
        for (size_t s = 0; s < m_y.size(); ++s)
            if (m_series[s].pickable)
                for (size_t i = 0; i < n; ++i)
                    if (!std::isfinite(trace[i]))
                        trace[i] = m_y[s][i];
        for (int s = 0; s < int(m_plottables.size()); ++s) {
            if (auto* g = qobject_cast<QCPGraph*>(m_plottables[s])) {
                const std::vector<double>& own = m_y[s];
                const auto holds = [&own, n](size_t i) { return i < n && std::isfinite(own[i]); };
                LineData line, dots;
                for (size_t i = 0; i < n; ++i) {
                    dots.add(m_x[i], own[i]);
                    // A joined series reaches out to the trace's points next to its runs.
                    const bool reach = m_series[s].joined && !holds(i) && (holds(i + 1) || (i > 0 && holds(i - 1)));
                    line.add(m_x[i], reach ? trace[i] : own[i]);
                }
                line.setTo(g, sorted);
                dots.setTo(static_cast<QCPGraph*>(m_dotPlottables[size_t(s)]), sorted);
            } else if (auto* b = qobject_cast<QCPBars*>(m_plottables[s])) {
                // A bar chart has no gaps to draw: holes are simply left out.
                QVector<double> k, v;
                for (size_t i = 0; i < m_x.size(); ++i) {
                    if (std::isfinite(m_y[s][i])) {
                        k.append(m_x[i]);
                        v.append(m_y[s][i]);
                    }
                }
                b->setData(k, v, sorted);
                b->setWidth(m_barWidth > 0 ? m_barWidth : (minStep > 0 ? minStep * 0.8 : 0.8));
            }
        }
        if (m_autoX && !m_x.empty()) {
            const auto [lo, hi] = std::minmax_element(m_x.begin(), m_x.end());
            const double pad = m_kind == Kind::Bars ? (minStep > 0 ? minStep : 1) : 0;
            m_plot->xAxis->setRange(*lo - pad, *hi + pad + (*hi == *lo && pad == 0 ? 1 : 0));
        }
        if (m_autoY) {
            double lo = std::numeric_limits<double>::infinity(), hi = -lo;
            for (const auto& curve : m_y)
                for (double v : curve)
                    if (std::isfinite(v)) {
                        lo = std::min(lo, v);
                        hi = std::max(hi, v);
                    }
            if (std::isfinite(lo)) {
                if (m_kind == Kind::Bars)
                    lo = std::min(lo, 0.0);
                const double pad = (hi - lo) * 0.08 + (hi == lo ? 1 : 0);
                m_plot->yAxis->setRange(m_kind == Kind::Bars ? lo : lo - pad, hi + pad);
            }
        }
    }
}

} // namespace orvan::views::ui
