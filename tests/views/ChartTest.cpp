// The chart component: gaps at the hole value, one repaint per batch, picking and coordinate
// conversion, named labels and markers, bars and pies, and pictures at printer resolution.

#include "views/ui/Chart.h"
#include "views/ui/QCustomPlotInclude.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <algorithm>
#include <limits>
#include <vector>

using orvan::views::ui::Chart;

namespace {

// A line chart of n points at X = 0, 10, 20 ... with series 1 = 5 everywhere except the holes.
void fillLine(Chart& chart, int n, std::initializer_list<int> holes = {})
{
    chart.setBatch(true);
    chart.setSeriesCount(1);
    chart.setPointCount(n);
    for (int i = 1; i <= n; ++i) {
        chart.setX(i, (i - 1) * 10.0);
        chart.setY(1, i, 5.0);
    }
    for (int h : holes)
        chart.setY(1, h, Chart::hole());
    chart.setSeriesStyle(1, Qt::red, 3);
    chart.setAxisRange(Chart::Axis::X, 0, (n - 1) * 10.0);
    chart.setAxisRange(Chart::Axis::Y, 0, 10);
    chart.setBatch(false);
}

bool redAt(const QImage& image, int x, int y)
{
    for (int dy = -2; dy <= 2; ++dy) {
        const QColor c = image.pixelColor(x, y + dy);
        if (c.red() > 180 && c.green() < 120 && c.blue() < 120)
            return true;
    }
    return false;
}

} // namespace

TEST(Chart, HoleLeavesAGapAndBatchRepaintsOnce)
{
    Chart chart;
    chart.resize(600, 400);
    chart.show();
    const int before = chart.repaintCount();
    fillLine(chart, 11, {5, 6});
    EXPECT_EQ(chart.repaintCount(), before + 1) << "a batch of changes repaints once";
    EXPECT_TRUE(Chart::isHole(chart.y(1, 5)));
    EXPECT_TRUE(Chart::isHole(chart.y(1, 99))) << "outside the points reads as a hole";

    const QImage image = chart.toImage(chart.size());
    const QPointF y5 = chart.dataToPixel({0, 5});
    const int row = int(std::lround(y5.y()));
    EXPECT_TRUE(redAt(image, int(chart.dataToPixel({15, 5}).x()), row)) << "drawn between points 2 and 3";
    EXPECT_FALSE(redAt(image, int(chart.dataToPixel({45, 5}).x()), row)) << "no line across the holes";
    EXPECT_TRUE(redAt(image, int(chart.dataToPixel({85, 5}).x()), row));
}

TEST(Chart, PickingConversionsLabelsAndMarkers)
{
    Chart chart;
    chart.resize(600, 400);
    chart.show();
    fillLine(chart, 11);
    // A second series far away that is not pickable, and a third one just above series 1.
    chart.setSeriesCount(3);
    for (int i = 1; i <= 11; ++i) {
        chart.setY(2, i, 5.2);
        chart.setY(3, i, 9.5);
    }
    chart.setPickable(2, false);
    chart.repaintNow();

    const QRect area = chart.plotArea();
    ASSERT_FALSE(area.isEmpty());
    EXPECT_TRUE(chart.rect().contains(area));
    const QPointF px = chart.dataToPixel({42, 5});
    const QPointF back = chart.pixelToData(px);
    EXPECT_NEAR(back.x(), 42, 0.5);
    EXPECT_NEAR(back.y(), 5, 0.05);

    const Chart::Pick near = chart.pick(px.toPoint());
    EXPECT_EQ(near.point, 5) << "X 42 is nearest to point 5 (X 40)";
    EXPECT_EQ(near.series, 1) << "series 2 is nearer but not pickable";
    EXPECT_EQ(chart.pick(chart.dataToPixel({50, 9}).toPoint()).series, 3);
    EXPECT_EQ(chart.pick(QPoint(-500, 0)).point, 1);
    EXPECT_EQ(chart.pick(QPoint(5000, 0)).point, 11);

    chart.attachLabelToPoint(QStringLiteral("lbcursor"), 3, 4);
    chart.setLabelText(QStringLiteral("LBCURSOR"), QStringLiteral("9,5 °C"));
    chart.setLabelBackground(QStringLiteral("lbcursor"), QColor(0, 255, 0));
    EXPECT_EQ(chart.labelAnchor(QStringLiteral("lbcursor")), QPointF(30, 9.5));
    EXPECT_EQ(chart.labelText(QStringLiteral("lbcursor")), QStringLiteral("9,5 °C"));
    EXPECT_TRUE(chart.labelVisible(QStringLiteral("lbcursor")));
    chart.attachLabelToPoint(QStringLiteral("lbcursor"), 1, 99);
    EXPECT_FALSE(chart.labelVisible(QStringLiteral("lbcursor"))) << "a label on no point is not shown";

    chart.setMarkerValue(QStringLiteral("X"), 30);
    chart.setMarkerVisible(QStringLiteral("x"), false);
    EXPECT_FALSE(chart.markerVisible(QStringLiteral("X")));
    EXPECT_EQ(chart.markerValue(QStringLiteral("x")), 30);
    chart.setMarkerValue(QStringLiteral("Y"), Chart::hole());
    EXPECT_TRUE(Chart::isHole(chart.markerValue(QStringLiteral("Y"))));
}

// An axis always keeps some width: a single value or a reversed range is centred in a range of
// two, and a range with a hole or an infinity in it leaves the axis as it was.
TEST(Chart, AxisRangesKeepAWidth)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Case { double min, max, expectMin, expectMax; };
    const Case cases[] = {
        {0, 10, 0, 10},
        {5, 5, 4, 6},
        {10, 0, 4, 6},
        {Chart::hole(), 3, 1, 2},
        {-2, inf, 1, 2},
    };
    for (Chart::Axis axis : {Chart::Axis::X, Chart::Axis::Y}) {
        for (const Case& k : cases) {
            SCOPED_TRACE(testing::Message() << "axis " << int(axis) << " from " << k.min << " to " << k.max);
            Chart chart;
            chart.setAxisRange(axis, 1, 2);
            chart.setAxisRange(axis, k.min, k.max);
            EXPECT_DOUBLE_EQ(chart.axisMin(axis), k.expectMin);
            EXPECT_DOUBLE_EQ(chart.axisMax(axis), k.expectMax);
        }
        Chart chart;
        chart.setAxisRange(axis, 0, 10);
        chart.setAxisMin(axis, 12);   // past the maximum: the axis is centred on it
        EXPECT_DOUBLE_EQ(chart.axisMin(axis), 11);
        EXPECT_DOUBLE_EQ(chart.axisMax(axis), 13);
    }
}

// A label on a point follows the point when the data changes and stands beside it on the side
// with more room; a change of only the cursor layer in a batch still repaints once.
TEST(Chart, CursorLabelFollowsItsPointOnTheSideWithRoom)
{
    Chart chart;
    chart.resize(600, 400);
    chart.show();
    fillLine(chart, 11);
    struct Case { int point; double y; Qt::Alignment side; };
    const Case cases[] = {
        {2, 8, Qt::AlignLeft | Qt::AlignTop},
        {2, 2, Qt::AlignLeft | Qt::AlignBottom},
        {10, 8, Qt::AlignRight | Qt::AlignTop},
        {10, 2, Qt::AlignRight | Qt::AlignBottom},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "point " << k.point << " at " << k.y);
        chart.attachLabelToPoint(QStringLiteral("lbcursor"), 1, k.point);
        chart.setY(1, k.point, k.y);   // after attaching: the label must follow the data
        chart.repaintNow();
        EXPECT_EQ(chart.labelAnchor(QStringLiteral("LbCursor")), QPointF((k.point - 1) * 10.0, k.y));
        EXPECT_EQ(chart.labelItem(QStringLiteral("lbcursor"))->positionAlignment(), k.side);
        chart.setY(1, k.point, 5);
    }
    chart.setMarkerValue(QStringLiteral("X"), 20);
    chart.repaintNow();

    // The pointer moves: the cursor line, its label and the band change in one batch.
    const int before = chart.repaintCount();
    chart.setBatch(true);
    chart.setMarkerValue(QStringLiteral("X"), 30);
    chart.setMarkerVisible(QStringLiteral("X"), true);
    chart.setLabelText(QStringLiteral("lbcursor"), QStringLiteral("5.0"));
    chart.showBand(QRect(50, 20, 40, 100));
    chart.setBatch(false);
    EXPECT_EQ(chart.repaintCount(), before + 1);
    EXPECT_EQ(chart.band(), QRect(50, 20, 40, 100));
}

TEST(Chart, BarsPiesAndPrinterResolution)
{
    Chart bars;
    bars.resize(500, 300);
    bars.setKind(Chart::Kind::Bars);
    bars.setBatch(true);
    bars.setSeriesCount(2);
    bars.setPointCount(3);
    for (int i = 1; i <= 3; ++i)
        bars.setX(i, i);
    bars.setY(1, 1, 10);
    bars.setY(2, 2, 40);
    bars.setY(1, 3, 20);
    bars.setSeriesStyle(1, Qt::green);
    bars.setSeriesStyle(2, Qt::red);
    bars.setAxisAuto(Chart::Axis::X, true);
    bars.setAxisAuto(Chart::Axis::Y, true);
    bars.setBatch(false);
    EXPECT_LE(bars.axisMin(Chart::Axis::Y), 0);
    EXPECT_GE(bars.axisMax(Chart::Axis::Y), 40);
    auto* second = qobject_cast<QCPBars*>(bars.plot()->plottable(1));
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->dataCount(), 1) << "holes make no bars";

    Chart pie;
    pie.setKind(Chart::Kind::Pie);
    pie.setSeriesCount(3);
    pie.setPointCount(1);
    const QColor colors[] = {Qt::green, Qt::red, Qt::blue};
    for (int s = 1; s <= 3; ++s) {
        pie.setSeriesStyle(s, colors[s - 1]);
        pie.setSeriesName(s, QStringLiteral("zona %1").arg(s));
    }
    pie.setY(1, 1, 75);
    pie.setY(2, 1, 25);
    pie.setY(3, 1, 0);
    const QImage pieImage = pie.toImage(QSize(400, 300));
    int greens = 0, reds = 0, blues = 0;
    for (int y = 0; y < pieImage.height(); y += 2)
        for (int x = 0; x < pieImage.width(); x += 2) {
            const QColor c = pieImage.pixelColor(x, y);
            greens += c == QColor(Qt::green);
            reds += c == QColor(Qt::red);
            blues += c == QColor(Qt::blue) && x > 0;
        }
    ASSERT_GT(reds, 0);
    EXPECT_NEAR(double(greens) / reds, 3.0, 0.4) << "slices in proportion to the values";
    EXPECT_LT(blues, 50) << "an empty zone has only its legend box";

    // A printer page at 600 dpi: the picture fills the target at full resolution.
    Chart line;
    line.resize(600, 400);
    fillLine(line, 11);
    QImage page(2400, 1600, QImage::Format_ARGB32_Premultiplied);
    page.setDotsPerMeterX(23622);
    page.setDotsPerMeterY(23622);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        line.render(painter, QRectF(200, 100, 2000, 1400));
    }
    int redsOnPage = 0, outside = 0;
    for (int y = 0; y < page.height(); y += 3)
        for (int x = 0; x < page.width(); x += 3) {
            const QColor c = page.pixelColor(x, y);
            const bool inside = QRect(200, 100, 2000, 1400).contains(x, y);
            redsOnPage += c.red() > 180 && c.green() < 120 && inside;
            outside += c != QColor(Qt::white) && !inside;
        }
    EXPECT_GT(redsOnPage, 100);

    line.copyToClipboard();
    const QImage copy = QGuiApplication::clipboard()->image();
    EXPECT_EQ(copy.size(), line.size());
    EXPECT_TRUE(redAt(copy, int(line.dataToPixel({50, 5}).x()), int(line.dataToPixel({50, 5}).y())));
    EXPECT_EQ(outside, 0) << "nothing is drawn outside the target";
}

// A joined series' run, however short, is drawn on to its neighbours among the samples in its
// own colour, and its markers stay on its own points.
TEST(Chart, JoinedSeriesDrawShortRunsAsSpikes)
{
    struct Case { const char* name; std::vector<int> run; bool markers; };
    const Case cases[] = {
        {"one point", {6}, false},
        {"two points", {6, 7}, false},
        {"the first point", {1}, false},
        {"the last point", {11}, false},
        {"one point with markers", {6}, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Chart chart;
        chart.resize(600, 400);
        chart.show();
        fillLine(chart, 11);   // series 1: 5 everywhere
        chart.setBatch(true);
        chart.setSeriesCount(2);
        chart.setSeriesStyle(1, QColor(0, 160, 0), 3);
        chart.setSeriesStyle(2, QColor(220, 0, 0), 3);
        chart.setAxisRange(Chart::Axis::X, -10, 110);   // the first and last points clear of the frame
        chart.setSeriesJoined(2, true);
        for (int s = 1; s <= 2; ++s)
            chart.setMarkerShape(s, k.markers ? Chart::Dot : Chart::NoMarker, 8);
        for (int p : k.run) {
            chart.setY(1, p, Chart::hole());
            chart.setY(2, p, 9);
        }
        chart.setBatch(false);
        const QImage image = chart.toImage(chart.size());
        const auto pixel = [&](double x, double y) {
            const QPointF at = chart.dataToPixel({x, y});
            return image.pixelColor(int(std::lround(at.x())), int(std::lround(at.y())));
        };
        for (int p : k.run) {
            const double x = (p - 1) * 10.0;
            EXPECT_TRUE(redAt(image, int(std::lround(chart.dataToPixel({x, 9}).x())),
                              int(std::lround(chart.dataToPixel({x, 9}).y()))))
                << "the run's own point " << p;
            // Half way to a neighbour within the trace the line is at 7, in the run's colour.
            for (int side : {-1, 1}) {
                const int neighbour = p + side;
                if (neighbour < 1 || neighbour > 11 || std::find(k.run.begin(), k.run.end(), neighbour) != k.run.end())
                    continue;
                EXPECT_TRUE(redAt(image, int(std::lround(chart.dataToPixel({x + side * 5.0, 7}).x())),
                                  int(std::lround(chart.dataToPixel({x + side * 5.0, 7}).y()))))
                    << "towards point " << neighbour;
                const QColor there = pixel((neighbour - 1) * 10.0, 5);
                if (k.markers)
                    EXPECT_GT(there.green(), there.red()) << "the neighbour's marker keeps its own colour";
            }
        }
        EXPECT_TRUE(Chart::isHole(chart.y(1, k.run.front()))) << "the data is left as it was set";
    }
}

// A count axis ticks at whole numbers however few the counts and whatever the chart's height.
TEST(Chart, CountsTickAtWholeNumbers)
{
    for (int height : {160, 300, 700}) {
        for (double top : {1.0, 2.0, 3.0, 7.0, 13.0, 250.0}) {
            SCOPED_TRACE(testing::Message() << "height " << height << ", top count " << top);
            Chart bars;
            bars.resize(400, height);
            bars.setKind(Chart::Kind::Bars);
            bars.setSeriesCount(1);
            bars.setPointCount(2);
            bars.setX(1, 1);
            bars.setX(2, 2);
            bars.setY(1, 1, 1);
            bars.setY(1, 2, top);
            bars.setAxisAuto(Chart::Axis::Y, true);
            bars.setCountsOnY(true);
            bars.repaintNow();
            const QCPAxis* y = bars.plot()->yAxis;
            ASSERT_GE(y->tickVector().size(), 2);
            for (double t : y->tickVector())
                EXPECT_EQ(t, std::round(t)) << t;
        }
    }
}
