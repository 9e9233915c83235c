#include "views/ui/Chart.h"

#include "views/TimeFormat.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QPainter>
#include <QPicture>
#include <QVBoxLayout>
#include "views/ui/QCustomPlotInclude.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvan::views::ui {

// Ticks of an X axis that holds minutes from a base date; without a base it is a plain axis.
class TimeTicker : public QCPAxisTicker {
public:
    QDateTime base;
    QLocale locale;
    int maxMarks = 8;

    void generate(const QCPRange& range, const QLocale& loc, QChar formatChar, int precision,
                  QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels) override
    {
        if (!base.isValid()) {
            QCPAxisTicker::generate(range, loc, formatChar, precision, ticks, subTicks, tickLabels);
            return;
        }
        ticks.clear();
        if (subTicks)
            subTicks->clear();
        if (tickLabels)
            tickLabels->clear();
        for (const TimeMark& m : timeMarks(base, range.lower, range.upper, maxMarks, locale)) {
            ticks.append(m.x);
            if (tickLabels)
                tickLabels->append(m.text);
        }
    }
};

struct Chart::Label {
    QCPItemText* item = nullptr;
    bool toPoint = false;
    int series = 0, point = 0;
    double x = 0, y = 0;
    QColor background = Qt::white;
};

namespace {
QString key(const QString& name) { return name.toLower(); }
const QColor kAxisColor(0x55, 0x5b, 0x66);
const QColor kGridColor(0xe3, 0xe6, 0xeb);
} // namespace

Chart::Chart(QWidget* parent) : QWidget(parent), m_locale(QLocale::system())
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_plot = new QCustomPlot(this);
    layout->addWidget(m_plot);
    m_plot->setMouseTracking(true);
    m_plot->installEventFilter(this);
    m_plot->setAntialiasedElements(QCP::aeAll);
    m_plot->setNotAntialiasedElements(QCP::aeNone);
    // Lines of thousands of samples are drawn as one polyline each, not segment by segment.
    m_plot->setPlottingHint(QCP::phFastPolylines, true);
    m_plot->setBackground(Qt::white);
    m_plot->axisRect()->setBackground(QColor(0xfb, 0xfc, 0xfd));

    m_ticker = new TimeTicker;
    m_plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(m_ticker));
    for (QCPAxis* a : {m_plot->xAxis, m_plot->yAxis, m_plot->xAxis2, m_plot->yAxis2}) {
        a->setBasePen(QPen(kAxisColor, 1));
        a->setTickPen(QPen(kAxisColor, 1));
        a->setSubTickPen(QPen(kAxisColor, 1));
        a->setTickLabelColor(kAxisColor);
        a->setLabelColor(kAxisColor);
        a->grid()->setPen(QPen(kGridColor, 1));
        a->grid()->setSubGridVisible(false);
    }
    m_plot->xAxis->setSubTicks(false);
    m_plot->xAxis2->setVisible(true);
    m_plot->yAxis2->setVisible(true);
    m_plot->xAxis2->setTickLabels(false);
    m_plot->yAxis2->setTickLabels(false);
    m_plot->xAxis2->setTicks(false);
    m_plot->yAxis2->setTicks(false);
    connect(m_plot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), m_plot->xAxis2,
            [this](const QCPRange& r) { m_plot->xAxis2->setRange(r); });
    connect(m_plot->yAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), m_plot->yAxis2,
            [this](const QCPRange& r) { m_plot->yAxis2->setRange(r); });
    m_plot->legend->setVisible(false);
    m_plot->legend->setBrush(QColor(255, 255, 255, 220));
    m_plot->legend->setBorderPen(QPen(kGridColor));

    // The cursor lines, the cursor label and the band repaint alone on their own buffer, so a
    // pointer move does not redraw the samples.
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

    connect(m_plot, &QCustomPlot::beforeReplot, this, [this] { sync(); });
    connect(m_plot, &QCustomPlot::afterReplot, this, [this] {
        ++m_repaints;
        m_fullDirty = false;
        m_cursorDirty = false;
    });
    updateTickCount();
}

Chart::~Chart()
{
    for (auto& [name, e] : m_labels)
        delete e;
}

double Chart::hole() { return std::numeric_limits<double>::quiet_NaN(); }
bool Chart::isHole(double y) { return !std::isfinite(y); }

void Chart::setKind(Kind kind)
{
    if (m_kind == kind)
        return;
    m_kind = kind;
    m_plot->setVisible(kind != Kind::Pie);
    m_plottables.clear();
    m_plot->clearPlottables();
    m_styleDirty = true;
    changed(true);
    update();
}

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

void Chart::setBatch(bool on)
{
    if (m_batch == on)
        return;
    m_batch = on;
    if (on)
        return;
    if (m_fullDirty || m_kind == Kind::Pie) {
        repaintNow();
    } else if (m_cursorDirty) {
        // Only the cursor lines and labels changed: repaint their layer alone.
        m_cursorDirty = false;
        m_cursorLayer->replot();
        ++m_repaints;
    }
}

void Chart::repaintNow()
{
    if (m_kind == Kind::Pie) {
        ++m_repaints;
        repaint();
        return;
    }
    m_plot->replot(QCustomPlot::rpImmediateRefresh);
}

void Chart::changed(bool dataChanged)
{
    if (dataChanged)
        m_dataDirty = true;
    if (m_batch) {
        m_fullDirty = true;
        return;
    }
    if (m_kind == Kind::Pie)
        update();
    else
        m_plot->replot(QCustomPlot::rpQueuedReplot);
}

// --- Axes ---

static QCPAxis* axisOf(QCustomPlot* plot, Chart::Axis axis)
{
    return axis == Chart::Axis::X ? plot->xAxis : plot->yAxis;
}

void Chart::setAxisRange(Axis axis, double min, double max)
{
    if (!std::isfinite(min) || !std::isfinite(max))
        return;
    if (max <= min) {
        // A single value still gets an axis of some width, with the value in its middle.
        const double center = (min + max) / 2;
        min = center - 1;
        max = center + 1;
    }
    axisOf(m_plot, axis)->setRange(min, max);
    (axis == Axis::X ? m_autoX : m_autoY) = false;
    changed(false);
}

void Chart::setAxisMin(Axis axis, double min) { setAxisRange(axis, min, std::max(axisMax(axis), min)); }
void Chart::setAxisMax(Axis axis, double max) { setAxisRange(axis, std::min(axisMin(axis), max), max); }
double Chart::axisMin(Axis axis) const { return axisOf(m_plot, axis)->range().lower; }
double Chart::axisMax(Axis axis) const { return axisOf(m_plot, axis)->range().upper; }
void Chart::setAxisOrigin(Axis axis, double origin) { (axis == Axis::X ? m_originX : m_originY) = origin; }
double Chart::axisOrigin(Axis axis) const { return axis == Axis::X ? m_originX : m_originY; }

void Chart::setAxisTitle(Axis axis, const QString& title)
{
    axisOf(m_plot, axis)->setLabel(title);
    changed(false);
}

QString Chart::axisTitle(Axis axis) const { return axisOf(m_plot, axis)->label(); }

void Chart::setAxisAuto(Axis axis, bool autoRange)
{
    (axis == Axis::X ? m_autoX : m_autoY) = autoRange;
    changed(true);
}

// --- Time labels ---

void Chart::setTimeLabels(const QDateTime& base)
{
    m_base = base;
    m_ticker->base = base;
    changed(false);
}

QDateTime Chart::dateAt(double x) const { return dateFromMinutes(m_base, x); }

void Chart::setLocale(const QLocale& locale)
{
    m_locale = locale;
    m_ticker->locale = locale;
    m_plot->setLocale(locale);
    changed(false);
}

QString Chart::formatDate(const QDateTime& t, const QString& pattern) const
{
    return formatTime(t, pattern, m_locale);
}

void Chart::updateTickCount()
{
    // About one time label per 95 pixels keeps "dd mmm" labels apart with room to spare.
    // From the widget's size now and the axes' margins of the last layout, so a resize does not
    // crowd the labels of its first repaint.
    const QMargins m = m_plot->axisRect()->margins();
    m_ticker->maxMarks = std::max(2, (m_plot->width() - m.left() - m.right()) / 95);
    m_plot->yAxis->ticker()->setTickCount(std::max(3, (m_plot->height() - m.top() - m.bottom()) / 60));
}

// --- Labels ---

Chart::Label& Chart::label(const QString& name)
{
    Label*& e = m_labels[key(name)];
    if (!e) {
        e = new Label;
        e->item = new QCPItemText(m_plot);
        e->item->setPadding(QMargins(6, 3, 6, 3));
        e->item->setPen(QPen(QColor(0x80, 0x86, 0x90), 1));
        e->item->setBrush(e->background);
        e->item->setColor(QColor(0x20, 0x24, 0x2a));
        e->item->setClipToAxisRect(true);
        e->item->position->setType(QCPItemPosition::ptPlotCoords);
        if (key(name) == QLatin1String("title")) {
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
    const auto it = m_labels.find(key(name));
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
    const auto it = m_markers.find(key(name));
    return it == m_markers.end() ? nullptr : it->second;
}

QCPItemStraightLine* Chart::markerItem(const QString& name)
{
    QCPItemStraightLine*& line = m_markers[key(name)];
    if (!line) {
        line = new QCPItemStraightLine(m_plot);
        line->setLayer(m_cursorLayer);
        line->setPen(QPen(QColor(0x33, 0x36, 0x3c, 170), 1, Qt::DashLine));
        m_markerValues[key(name)] = 0;
        m_markerShown[key(name)] = true;
        line->point1->setCoords(0, 0);
        line->point2->setCoords(0, 1);
    }
    return line;
}

void Chart::setMarkerValue(const QString& name, double value)
{
    QCPItemStraightLine* line = markerItem(name);
    m_markerValues[key(name)] = value;
    const bool vertical = key(name) == QLatin1String("x");
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
    line->setVisible(std::isfinite(value) && m_markerShown[key(name)]);
    cursorChanged();
}

double Chart::markerValue(const QString& name) const
{
    const auto it = m_markerValues.find(key(name));
    return it == m_markerValues.end() ? hole() : it->second;
}

void Chart::setMarkerVisible(const QString& name, bool visible)
{
    QCPItemStraightLine* line = markerItem(name);
    m_markerShown[key(name)] = visible;
    line->setVisible(visible && std::isfinite(markerValue(name)));
    cursorChanged();
}

bool Chart::markerVisible(const QString& name) const
{
    const auto it = m_markerShown.find(key(name));
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

QPointF Chart::pixelToData(const QPointF& pixel) const
{
    return {m_plot->xAxis->pixelToCoord(pixel.x()), m_plot->yAxis->pixelToCoord(pixel.y())};
}

QPointF Chart::dataToPixel(const QPointF& data) const
{
    return {m_plot->xAxis->coordToPixel(data.x()), m_plot->yAxis->coordToPixel(data.y())};
}

QRect Chart::plotArea() const
{
    // The plotting area follows the widget's size and the axes' label widths; lay it out now
    // rather than wait for the next repaint.
    QCPLayoutElement* layout = m_plot->plotLayout();
    if (layout->outerRect() != m_plot->rect())
        m_plot->setViewport(m_plot->rect());
    layout->update(QCPLayoutElement::upPreparation);
    layout->update(QCPLayoutElement::upMargins);
    layout->update(QCPLayoutElement::upLayout);
    return m_plot->axisRect()->rect();
}

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

// --- Drawing ---

void Chart::rebuildPlottables()
{
    m_plot->clearPlottables();
    m_plottables.clear();
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
            if (curve.markerShape == Dot)
                g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, curve.color, curve.color, curve.size));
            else
                g->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssNone));
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

void Chart::sync()
{
    updateTickCount();
    if (int(m_plottables.size()) != seriesCount() ||
        (m_kind == Kind::Lines) != (m_plottables.empty() || qobject_cast<QCPGraph*>(m_plottables.front())))
        rebuildPlottables();
    if (m_styleDirty) {
        applyStyles();
        m_styleDirty = false;
    }
    if (m_dataDirty) {
        m_dataDirty = false;
        const QVector<double> keys(m_x.begin(), m_x.end());
        const bool sorted = std::is_sorted(m_x.begin(), m_x.end());
        double minStep = 0;
        for (size_t i = 1; i < m_x.size(); ++i) {
            const double d = m_x[i] - m_x[i - 1];
            if (d > 0 && (minStep == 0 || d < minStep))
                minStep = d;
        }
        for (int s = 0; s < int(m_plottables.size()); ++s) {
            if (auto* g = qobject_cast<QCPGraph*>(m_plottables[s])) {
                g->setData(keys, QVector<double>(m_y[s].begin(), m_y[s].end()), sorted);
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
    for (auto& [name, e] : m_labels)
        if (e->item->visible())
            placeLabel(*e);
}

void Chart::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    updateTickCount();
}

bool Chart::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_plot) {
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* me = static_cast<QMouseEvent*>(event);
            m_pressAt = me->position().toPoint();
            m_dragged = false;
            Q_EMIT mousePressed(me->button(), m_pressAt);
            return true;
        }
        case QEvent::MouseMove: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint at = me->position().toPoint();
            if (me->buttons() != Qt::NoButton && (at - m_pressAt).manhattanLength() > 3)
                m_dragged = true;
            Q_EMIT mouseMoved(me->buttons(), at);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(event);
            const QPoint at = me->position().toPoint();
            if ((at - m_pressAt).manhattanLength() > 3)
                m_dragged = true;
            Q_EMIT mouseReleased(me->button(), at);
            if (!m_dragged)
                Q_EMIT clicked(at);
            return true;
        }
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Chart::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (m_kind != Kind::Pie)
        return;
    QPainter painter(this);
    paintPies(painter, rect());
}

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
        // Slices clockwise from twelve o'clock, split by thin white lines.
        int angle = 90 * 16;
        double cumulative = 0;
        painter.setPen(QPen(Qt::white, 2));
        for (int s = 0; s < seriesCount(); ++s) {
            const double v = y(s + 1, 1);
            if (!std::isfinite(v) || v <= 0)
                continue;
            const int end = 90 * 16 - int(std::lround((cumulative + v) / total * 360 * 16));
            painter.setBrush(m_series[s].color);
            if (v >= total)
                painter.drawEllipse(circle);
            else
                painter.drawPie(circle, angle, end - angle);
            cumulative += v;
            angle = end;
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

void Chart::copyToClipboard()
{
    QApplication::clipboard()->setImage(toImage(size()));
}

QImage Chart::toImage(const QSize& size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    render(painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    return image;
}

void Chart::render(QPainter& painter, const QRectF& target)
{
    if (target.isEmpty())
        return;
    if (m_kind == Kind::Pie) {
        paintPies(painter, target);
        return;
    }
    // Lay the chart out at screen proportions (fonts and lines as on screen), record it as
    // vectors and scale the recording into the target, so a printer page gets it at full
    // resolution.
    const QPaintDevice* device = painter.device();
    const qreal dpi = device ? device->logicalDpiX() : 96;
    const qreal scale = std::max<qreal>(dpi / 96.0, 0.01);
    const int w = std::max(1, int(std::lround(target.width() / scale)));
    const int h = std::max(1, int(std::lround(target.height() / scale)));
    sync();
    QPicture picture;
    {
        QCPPainter recorder(&picture);
        m_plot->toPainter(&recorder, w, h);
    }
    painter.save();
    painter.translate(target.topLeft());
    // A recording played on a device of another resolution is scaled to it by the painter;
    // scale only what remains.
    const qreal sx = target.width() / w * picture.logicalDpiX() / qreal(device ? device->logicalDpiX() : 96);
    const qreal sy = target.height() / h * picture.logicalDpiY() / qreal(device ? device->logicalDpiY() : 96);
    painter.scale(sx, sy);
    painter.drawPicture(0, 0, picture);
    painter.restore();
}

} // namespace orvan::views::ui
