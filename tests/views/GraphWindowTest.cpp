// The graph window: the whole-record window, zoom by buttons and by dragging a band with the
// mouse, scrolling to the end, the cursor readout, and records with nothing much to show.

#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "shell/ui/PrintCommand.h"
#include "shell/ui/PrintReports.h"
#include "shell/ui/WindowRegistry.h"
#include "views/ChartPixels.h"
#include "views/GraphRecords.h"
#include "views/ui/Chart.h"
#include "views/ui/GraphWindow.h"
#include "views/ui/QCustomPlotInclude.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

using namespace orvan;
using namespace orvan::views;
using orvan::views::ui::Chart;

namespace {

class GraphWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    AppContext app{dir.path()};
    RecordingSink messages;
    records::MissionRecord record;
    std::unique_ptr<GraphWindow> form;

    void open(records::MissionRecord r, int idioma = 1, Unit unit = Unit::Celsius, QSize size = {1000, 600})
    {
        app.config.Idioma = qint16(idioma);
        app.config.GradosC = gradosCFor(unit);
        app.textos.CargaTextos(idioma);
        app.LineaMarca = QStringLiteral("Orvan");
        record = std::move(r);
        form = std::make_unique<GraphWindow>(app, record, messages);
        form->resize(size);
        form->show();
        QApplication::processEvents();
        // The window shown at load was laid out before the form had its size.
        form->MuestraNivel(form->levels().NivelZoom);
        QApplication::processEvents();
    }

    Chart& chart() { return *form->Chart2D1; }
    QWidget* plot() { return reinterpret_cast<QWidget*>(chart().plot()); }

    // The pixel column of point p, in the middle of the plotting area's height.
    QPoint at(int p)
    {
        const QRect area = chart().plotArea();
        return QPoint(int(std::lround(chart().dataToPixel({chart().x(p), 0}).x())), area.center().y());
    }

    void mouse(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent e(type, QPointF(p), plot()->mapToGlobal(QPointF(p)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(plot(), &e);
    }
    void drag(QPoint from, QPoint to)
    {
        mouse(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        mouse(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void hover(QPoint p) { mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
    void wheel(QPoint p, int delta)
    {
        QWheelEvent e(QPointF(p), plot()->mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot(), &e);
    }

    // The graph report's page as the print command fills it with this window's chart, at 120 dpi,
    // and where the chart lies on it.
    QImage printedPage(QRect* chartArea)
    {
        auto report = orvan::shell::makeGraphReport();
        const std::optional<orvan::shell::GraphPrintSource> source = orvan::shell::printCommand().graphSource(form.get());
        report->setPainter(QStringLiteral("Image1"), source->chart);
        const qreal dpmm = 120 / 25.4;
        QImage page(QSize(int(297 * dpmm), int(210 * dpmm)), QImage::Format_ARGB32);
        page.setDotsPerMeterX(int(dpmm * 1000));
        page.setDotsPerMeterY(int(dpmm * 1000));
        page.fill(Qt::white);
        QPainter painter(&page);
        report->paint(painter, page);
        *chartArea = QRectF(12 * dpmm, 67 * dpmm, 273 * dpmm, 125 * dpmm).toRect();
        return page;
    }
};

} // namespace

TEST_F(GraphWindowTest, TenSamplesShowEveryPointWithMarkers)
{
    open(graphdata::recordOf({100, 101, 96, 84, 83, 97, 110, 90, 91, 92}));
    EXPECT_TRUE(app.GraficoActivo);
    EXPECT_EQ(chart().pointCount(), 10);
    EXPECT_EQ(form->firstShown(), 1);
    EXPECT_EQ(form->lastShown(), 10);
    EXPECT_EQ(chart().axisTitle(Chart::Axis::X), QStringLiteral("First 10 samples of a total of 10"));
    for (int s = 1; s <= 3; ++s)
        EXPECT_EQ(chart().markerShape(s), Chart::Dot);
    EXPECT_EQ(chart().y(2, 3), 8.0) << "a sample at the high limit is within";
    EXPECT_TRUE(Chart::isHole(chart().y(3, 3)));
    EXPECT_EQ(chart().y(1, 5), 1.5);
    EXPECT_EQ(chart().y(4, 7), 2.0);
    EXPECT_EQ(chart().y(5, 7), 8.0);
    EXPECT_EQ(chart().x(2), 15.0);
    EXPECT_EQ(chart().axisMin(Chart::Axis::Y), 1.5 - 2);
    EXPECT_EQ(chart().axisMax(Chart::Axis::Y), 15.0 + 2);
    EXPECT_EQ(chart().labelText(QStringLiteral("Title")), QStringLiteral("Friday 01 March"));
    EXPECT_FALSE(form->cmdResetZoom->isEnabled());
    EXPECT_FALSE(form->cmdUpZoom->isEnabled());
    EXPECT_FALSE(form->scrGraph->isEnabled());
    EXPECT_EQ(form->lbCopyrigt->text(), QStringLiteral("Orvan"));

    // The sample at the high limit reads green, on the window and on the chart's label.
    hover(at(3) + QPoint(0, 0));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("3"));
    EXPECT_EQ(form->lbVeloc->text(), QLocale::system().toString(8.0, 'f', 1) + QStringLiteral(" °C"));
    EXPECT_TRUE(form->lbVeloc->styleSheet().contains(QStringLiteral("#00ff00")));
    EXPECT_EQ(form->lbHora->text(), QStringLiteral("01 Mar 24 10:30"));
    EXPECT_EQ(chart().labelText(QStringLiteral("lbcursor")), form->lbVeloc->text());
    EXPECT_EQ(chart().labelBackground(QStringLiteral("lbcursor")), QColor(0, 255, 0));
    EXPECT_TRUE(chart().labelVisible(QStringLiteral("lbcursor")));
    EXPECT_TRUE(chart().markerVisible(QStringLiteral("X")));
    EXPECT_NEAR(chart().markerValue(QStringLiteral("X")), 30, 1);
    EXPECT_TRUE(Chart::isHole(chart().markerValue(QStringLiteral("Y")))) << "the horizontal line follows series 1 only";
    hover(at(5));
    EXPECT_EQ(chart().markerValue(QStringLiteral("Y")), 1.5);
    EXPECT_TRUE(form->lbVeloc->styleSheet().contains(QStringLiteral("#00ffff")));
    hover(at(7));
    EXPECT_TRUE(form->lbVeloc->styleSheet().contains(QStringLiteral("#ffc0c0")));
}

TEST_F(GraphWindowTest, ButtonsStackLevelsAndScrollingReachesTheLastPoint)
{
    open(graphdata::generatedRecord(generator::Scenario::Finished, 2400));
    ASSERT_EQ(chart().pointCount(), 2400);
    EXPECT_EQ(form->lastShown(), 2400);
    EXPECT_EQ(chart().markerShape(1), Chart::NoMarker);

    form->cmdZoom->click();
    EXPECT_EQ(form->levels().NivelZoom, 1);
    EXPECT_EQ(form->firstShown(), 1);
    EXPECT_EQ(form->lastShown(), 1201) << "the left half: 1 + 2399/2 rounded to even";
    EXPECT_TRUE(form->cmdResetZoom->isEnabled());
    EXPECT_TRUE(form->cmdUpZoom->isEnabled());
    EXPECT_TRUE(form->scrGraph->isEnabled());
    form->cmdZoom->click();
    EXPECT_EQ(form->levels().NivelZoom, 2);
    EXPECT_EQ(form->lastShown(), 601);

    // Scrolling to the right end shows the last sample, and nothing past it.
    form->scrGraph->setValue(form->scrGraph->maximum());
    EXPECT_EQ(form->lastShown(), 2400);
    EXPECT_EQ(form->lastShown() - form->firstShown(), 600) << "the window keeps its width";
    EXPECT_EQ(form->levels().NivelZoom, 2);

    form->cmdUpZoom->click();
    EXPECT_EQ(form->levels().NivelZoom, 1);
    EXPECT_EQ(form->lastShown(), 1201);
    form->cmdZoom->click();
    form->cmdResetZoom->click();
    EXPECT_EQ(form->levels().NivelZoom, 0);
    EXPECT_EQ(form->firstShown(), 1);
    EXPECT_EQ(form->lastShown(), 2400);
    EXPECT_FALSE(form->cmdUpZoom->isEnabled());
    EXPECT_FALSE(form->scrGraph->isEnabled());
}

TEST_F(GraphWindowTest, BandZoomByMouseInBothDirections)
{
    open(graphdata::generatedRecord(generator::Scenario::Finished, 2400));
    drag(at(300), at(900));
    ASSERT_EQ(form->levels().NivelZoom, 1);
    const int bandStart = form->levels().ZoomDesde[1], bandEnd = form->levels().ZoomHasta[1];
    EXPECT_NEAR(bandStart, 300, 3);
    EXPECT_NEAR(bandEnd, 900, 3);
    EXPECT_EQ(form->firstShown(), bandStart);
    EXPECT_EQ(form->lastShown(), bandEnd) << "the level shows every point of the band";
    EXPECT_TRUE(chart().band().isNull()) << "the band is gone once the level shows";
    EXPECT_TRUE(form->cmdUpZoom->isEnabled());

    form->cmdResetZoom->click();
    drag(at(900), at(300));
    ASSERT_EQ(form->levels().NivelZoom, 1);
    EXPECT_EQ(form->levels().ZoomDesde[1], bandStart) << "dragged leftwards, the same points";
    EXPECT_EQ(form->levels().ZoomHasta[1], bandEnd);

    // While dragging, the band spans the plotting area's height and stops at its edges.
    form->cmdResetZoom->click();
    const QRect area = chart().plotArea();
    mouse(QEvent::MouseButtonPress, QPoint(area.left(), area.top()), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(form->levels().NivelZoom, 1) << "a press on the area's edge starts a band";
    mouse(QEvent::MouseMove, QPoint(area.center().x(), area.center().y()), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(chart().band().top(), area.top() + 1);
    EXPECT_EQ(chart().band().bottom(), area.bottom() - 1);
    EXPECT_EQ(chart().band().right(), area.center().x());
    mouse(QEvent::MouseMove, QPoint(area.right() + 40, area.center().y()), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(chart().band().right(), area.center().x()) << "outside the area the band stays";
    mouse(QEvent::MouseButtonRelease, QPoint(area.right() + 40, area.center().y()), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form->levels().NivelZoom, 1);
    form->cmdResetZoom->click();

    // A press outside the plotting area starts nothing.
    mouse(QEvent::MouseButtonPress, QPoint(area.left() - 5, area.center().y()), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, QPoint(area.center().x(), area.center().y()), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form->levels().NivelZoom, 0);
}

TEST_F(GraphWindowTest, NarrowBandsClicksAndTheLevelLimit)
{
    open(graphdata::recordOf({100, 101, 96, 84, 83, 97, 110, 90, 91, 92}));
    // A band over fewer than 2 points is cancelled and leaves no trace.
    drag(at(4), at(4) + QPoint(12, 0));
    EXPECT_EQ(form->levels().NivelZoom, 0);
    EXPECT_TRUE(chart().band().isNull());
    EXPECT_FALSE(form->SinArrastre());

    // A click turns band zooming off until the next release.
    mouse(QEvent::MouseButtonPress, at(3), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at(3), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(form->SinArrastre());
    drag(at(2), at(8));
    EXPECT_EQ(form->levels().NivelZoom, 0) << "the drag after a click only re-arms the band";
    EXPECT_FALSE(form->SinArrastre());

    // Bands from edge to edge of three points stack levels up to 23; the 24th is refused.
    drag(at(4), at(6));
    ASSERT_EQ(form->levels().NivelZoom, 1);
    const QRect area = chart().plotArea();
    for (int i = 0; i < 30; ++i)
        drag(QPoint(area.left() + 1, area.center().y()), QPoint(area.right() - 1, area.center().y()));
    EXPECT_EQ(form->levels().NivelZoom, 23);
    EXPECT_TRUE(form->levels().ZoomAlLimite);
    form->cmdZoom->click();
    EXPECT_EQ(form->levels().NivelZoom, 23);
    // At the limit a move with the button held reads out instead of dragging.
    form->Label2->clear();
    mouse(QEvent::MouseMove, at(5), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("5"));
    form->cmdUpZoom->click();
    EXPECT_EQ(form->levels().NivelZoom, 22);
    EXPECT_FALSE(form->levels().ZoomAlLimite);
}

TEST_F(GraphWindowTest, RecordsWithNothingMuchToShow)
{
    // No samples: no point, an axis title, and the controls do nothing harmful.
    open(graphdata::generatedRecord(generator::Scenario::Empty, 0));
    EXPECT_EQ(chart().pointCount(), 0);
    EXPECT_EQ(form->firstShown(), 1);
    EXPECT_EQ(form->lastShown(), 1);
    EXPECT_FALSE(chart().axisTitle(Chart::Axis::X).isEmpty());
    form->cmdZoom->click();
    drag(at(1), at(1) + QPoint(200, 0));
    hover(at(1));
    EXPECT_EQ(form->levels().NivelZoom, 0);

    // Every sample at the same minute, the first one erased.
    auto r = graphdata::recordOf({255, 100, 120, 90, 100, 101, 102, 103});
    r.setByte(13, 0);   // minutes between samples
    r.LeeAuditoria();
    ASSERT_EQ(r.campos.Rango, 0);
    open(std::move(r));
    EXPECT_EQ(chart().pointCount(), 8);
    EXPECT_TRUE(Chart::isHole(chart().y(1, 1)) && Chart::isHole(chart().y(2, 1)) && Chart::isHole(chart().y(3, 1)));
    EXPECT_LT(chart().axisMin(Chart::Axis::X), chart().axisMax(Chart::Axis::X));
    hover(at(1));
    EXPECT_TRUE(form->lbVeloc->text().isEmpty()) << "a gap reads no temperature";
    form->cmdZoom->click();
    EXPECT_EQ(form->levels().NivelZoom, 1);
    form->scrGraph->setValue(form->scrGraph->maximum());
    EXPECT_GE(form->firstShown(), 1);
    EXPECT_LE(form->firstShown(), form->lastShown());
    EXPECT_LE(form->lastShown(), 9);
    drag(at(2), at(6));
    EXPECT_EQ(form->levels().NivelZoom, 1) << "all points share one column: no band";
}

// At every zoom level and window width the time labels stand apart and there are enough of them.
// One sample out of the limits between samples within them is drawn beyond its limit line, on
// screen and on the printed page, over the whole record and zoomed in to level 5.
TEST_F(GraphWindowTest, EverySampleOutOfTheLimitsShowsOnScreenAndOnPaper)
{
    open(graphdata::spikeRecord());
    ASSERT_EQ(chart().y(3, 601), 15.0);
    ASSERT_EQ(chart().y(1, 1201), -5.0);
    struct Case { const char* name; int level; int scrollTo; bool high, low; };
    const Case cases[] = {
        {"whole record", 0, 0, true, true},
        {"level 5 on the high sample", 5, 601 - 30, true, false},
        {"level 5 on the low sample", 5, 1201 - 40, false, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        form->cmdResetZoom->click();
        for (int i = 0; i < k.level; ++i)
            form->cmdZoom->click();
        if (k.scrollTo > 0)
            form->scrGraph->setValue(k.scrollTo);
        ASSERT_EQ(form->levels().NivelZoom, k.level);
        ASSERT_GE(form->lastShown() - form->firstShown(), 31) << "a line without markers";
        chart().repaintNow();
        const graphdata::Excursions screen = graphdata::excursions(chart().grab().toImage(), chart().plotArea());
        EXPECT_EQ(screen.redAbove > 5, k.high) << screen.redAbove;
        EXPECT_EQ(screen.blueBelow > 5, k.low) << screen.blueBelow;
        QRect area;
        const QImage page = printedPage(&area);
        const graphdata::Excursions paper = graphdata::excursions(page, area);
        EXPECT_EQ(paper.redAbove > 5, k.high) << paper.redAbove;
        EXPECT_EQ(paper.blueBelow > 5, k.low) << paper.blueBelow;
    }
}

// The wheel zooms one level per notch on the buttons' stack and keeps the point under the
// pointer in its place; a touchpad's finer steps add up to notches.
TEST_F(GraphWindowTest, TheWheelZoomsAroundThePointer)
{
    open(graphdata::generatedRecord(generator::Scenario::Finished, 2400));
    struct Case { std::vector<int> deltas; int level; };
    const Case cases[] = {
        {{120}, 1},
        {{120, 240}, 3},
        {{60, 60}, 1},
        {{60, -60}, 0},
        {{90, -120, 30}, 0},
        {{120, 120, 120, -120}, 2},
        {{-120}, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(testing::Message() << "case with " << k.deltas.size() << " steps to level " << k.level);
        form->cmdResetZoom->click();
        const QPoint pointer = at(1800);
        for (int d : k.deltas)
            wheel(pointer, d);
        ASSERT_EQ(form->levels().NivelZoom, k.level);
        EXPECT_EQ(form->firstShown(), form->levels().ZoomDesde[size_t(k.level)]);
        EXPECT_EQ(form->lastShown(), form->levels().ZoomHasta[size_t(k.level)]);
        EXPECT_LE(form->firstShown(), 1800);
        EXPECT_GE(form->lastShown(), 1800);
        // Each notch may move the point under the pointer by the rounding of one point.
        EXPECT_LE(std::abs(chart().pick(pointer).point - 1800), k.level) << "the point under the pointer stays under it";
        const int widths[] = {2399, 1200, 600, 300};
        EXPECT_EQ(form->lastShown() - form->firstShown(), widths[k.level])
            << "each notch halves the window as the zoom button does";
    }
    // The zoom-out button steps back down the levels the wheel stacked.
    wheel(at(1800), 360);
    form->cmdUpZoom->click();
    EXPECT_EQ(form->levels().NivelZoom, 2);
    EXPECT_EQ(form->firstShown(), form->levels().ZoomDesde[2]);
}

TEST_F(GraphWindowTest, TimeLabelsNeverOverlap)
{
    for (int width : {480, 900, 1500}) {
        open(graphdata::generatedRecord(generator::Scenario::Alarms, 24576, 5), 3, Unit::Celsius, QSize(width, 500));
        for (int level = 0; level < 13; ++level) {
            chart().repaintNow();
            const QCPAxis* x = chart().plot()->xAxis;
            const QVector<double> ticks = x->tickVector();
            const QVector<QString> textos = x->tickVectorLabels();
            ASSERT_GE(ticks.size(), 2) << width << " level " << level;
            const QFontMetrics fm(x->tickLabelFont());
            for (int i = 1; i < ticks.size(); ++i) {
                const double isGap = x->coordToPixel(ticks[i]) - x->coordToPixel(ticks[i - 1]);
                const int halves = (fm.horizontalAdvance(textos[i]) + fm.horizontalAdvance(textos[i - 1])) / 2;
                EXPECT_GT(isGap, halves + 8) << width << " level " << level << " " << textos[i].toStdString();
            }
            form->cmdZoom->click();
        }
    }
}

TEST_F(GraphWindowTest, RandomImagesOpenZoomAndReadOut)
{
    std::mt19937 rng(11);
    for (int testCase = 0; testCase < 6; ++testCase) {
        records::MissionRecord r;
        QByteArray image(records::kImageSize, '\0');
        for (char& b : image)
            b = char(rng() & 0xFF);
        r.setBytes(0, image);
        open(std::move(r), testCase % 5, testCase % 2 ? Unit::Celsius : Unit::Fahrenheit, QSize(700, 420));
        const QRect area = chart().plotArea();
        for (int step = 0; step < 12; ++step) {
            const QPoint a(area.left() + int(rng() % uint(area.width())), area.center().y());
            const QPoint b(area.left() + int(rng() % uint(area.width())), area.center().y());
            drag(a, b);
            hover(b);
            if (step % 3 == 0)
                form->cmdZoom->click();
            if (step % 4 == 0)
                form->scrGraph->setValue(int(rng() % uint(form->scrGraph->maximum() + 1)));
            ASSERT_LE(form->firstShown(), form->lastShown());
        }
        form->cmdResetZoom->click();
        EXPECT_EQ(form->levels().NivelZoom, 0);
    }
}

// Pictures of the window for a person to look at: ORVAN_SHOTS=folder build/bin/test_views_ui
TEST_F(GraphWindowTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("ORVAN_SHOTS");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ORVAN_SHOTS to a folder to save pictures";
    QDir().mkpath(folder);
    struct Case { const char* name; int idioma; Unit unit; bool zoom; };
    for (const Case& k : {Case{"alarms_es_C", 0, Unit::Celsius, false}, Case{"alarms_en_F", 1, Unit::Fahrenheit, false},
                          Case{"alarms_es_C_hours", 0, Unit::Celsius, true},
                          Case{"alarms_en_F_hours", 1, Unit::Fahrenheit, true}}) {
        open(graphdata::generatedRecord(generator::Scenario::Alarms, 24576, 5), k.idioma, k.unit, QSize(1400, 760));
        if (k.zoom) {
            drag(at(12000), at(12040));
            hover(at(12020) + QPoint(0, -20));
        } else {
            hover(at(9000));
        }
        QApplication::processEvents();
        form->grab().save(folder + QStringLiteral("/%1.png").arg(QString::fromLatin1(k.name)));
    }
    open(graphdata::recordOf({100, 101, 96, 84, 83, 97, 110, 90, 91, 92}), 2, Unit::Celsius, QSize(1000, 560));
    hover(at(3));
    form->grab().save(folder + QStringLiteral("/diez_de_C.png"));
    open(graphdata::generatedRecord(generator::Scenario::Circular, 30000, 15), 4, Unit::Celsius, QSize(1000, 560));
    hover(at(20000));
    form->grab().save(folder + QStringLiteral("/circular_pt_C.png"));
    open(graphdata::spikeRecord(), 1, Unit::Celsius, QSize(1000, 560));
    form->grab().save(folder + QStringLiteral("/spike_whole.png"));
    QRect area;
    printedPage(&area).save(folder + QStringLiteral("/spike_printed_whole.png"));
    for (int notch = 0; notch < 5; ++notch)
        wheel(at(601), 120);
    hover(at(601));
    form->grab().save(folder + QStringLiteral("/spike_level5.png"));
    printedPage(&area).save(folder + QStringLiteral("/spike_printed_level5.png"));
    open(graphdata::generatedRecord(generator::Scenario::Empty, 0), 3, Unit::Fahrenheit, QSize(1000, 560));
    form->grab().save(folder + QStringLiteral("/vacio_fr_F.png"));
}
