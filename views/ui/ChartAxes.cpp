#include "views/ui/Chart.h"

#include "views/TimeFormat.h"
#include "views/ui/ChartParts.h"

#include <algorithm>
#include <cmath>

// The chart's axes: ranges, titles, the time labels of X in minutes from a base date, how many
// ticks fit, and the conversion between pixels and data.

namespace orvan::views::ui {

namespace {

const QColor kAxisColor(0x55, 0x5b, 0x66);

QCPAxis* axisOf(QCustomPlot* plot, Chart::Axis axis)
{
    return axis == Chart::Axis::X ? plot->xAxis : plot->yAxis;
}

// Ticks of a count axis: the readable steps of the plain ticker, never below one nor between
// two whole numbers, and sub-ticks only at whole numbers.
class WholeNumberTicker : public QCPAxisTicker {
protected:
    double getTickStep(const QCPRange& range) override
    {
        return std::max(1.0, std::floor(QCPAxisTicker::getTickStep(range)));
    }
    int getSubTickCount(double tickStep) override
    {
        if (tickStep <= 5)
            return int(tickStep) - 1;
        return QCPAxisTicker::getSubTickCount(tickStep);
    }
};

} // namespace

void TimeTicker::generate(const QCPRange& range, const QLocale& loc, QChar formatChar, int precision,
                          QVector<double>& ticks, QVector<double>* subTicks, QVector<QString>* tickLabels)
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

// The X axis reads minutes through the time ticker; the mirrored axes on top and right only
// frame the plot.
void Chart::setUpAxes()
{
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

void Chart::setCountsOnY(bool counts)
{
    QSharedPointer<QCPAxisTicker> ticker(counts ? new WholeNumberTicker : new QCPAxisTicker);
    ticker->setTickCount(m_plot->yAxis->ticker()->tickCount());
    m_plot->yAxis->setTicker(ticker);
    changed(false);
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

} // namespace orvan::views::ui
