// The windows offscreen: the view windows in a main window, the graph window with the mouse, the
// wheel and the printed page, and the chart component under them.

#include "views/GraphWindowFixture.h"

#include "base/Encodings.h"
#include "shell/ui/MainWindow.h"
#include "support/WindowDesk.h"
#include "views/ui/AlarmListWindow.h"
#include "views/ui/HistogramWindow.h"
#include "views/ui/ProportionsWindow.h"
#include "views/ui/SampleListWindow.h"
#include "views/ui/ZoneColors.h"

#include <QClipboard>
#include <QFrame>
#include <QStatusBar>
#include <tuple>

using namespace orvan::views::testdata;

namespace {

// A shown line chart of 11 points at X = 0, 10 ... 100, series 1 at 5 in red but for the holes.
class ChartTest : public ::testing::Test {
protected:
    Chart chart;
    void SetUp() override
    {
        chart.resize(600, 400);
        chart.show();
        fill({});
    }
    void fill(std::initializer_list<int> holes)
    {
        chart.setBatch(true);
        chart.setSeriesCount(1);
        chart.setPointCount(11);
        for (int i = 1; i <= 11; ++i) {
            chart.setX(i, (i - 1) * 10.0);
            chart.setY(1, i, 5.0);
        }
        for (int h : holes)
            chart.setY(1, h, Chart::hole());
        chart.setSeriesStyle(1, Qt::red, 3);
        chart.setAxisRange(Chart::Axis::X, 0, 100);
        chart.setAxisRange(Chart::Axis::Y, 0, 10);
        chart.setBatch(false);
    }
    // Red within two rows of the chart's data point (x, y) in a picture of it.
    bool redAt(const QImage& image, double x, double y)
    {
        const QPointF p = chart.dataToPixel({x, y});
        for (int dy = -2; dy <= 2; ++dy) {
            const QColor c = image.pixelColor(int(std::lround(p.x())), int(std::lround(p.y())) + dy);
            if (c.red() > 180 && c.green() < 120 && c.blue() < 120)
                return true;
        }
        return false;
    }
};


QTemporaryDir& appFolder()
{
    static QTemporaryDir dir;
    return dir;
}

// The main window offscreen in a language and a unit: the views' workspace.
struct Desk : orvan::test::WindowDesk<> {
    explicit Desk(Unit unit = Unit::Celsius, int language = TextTable::Spanish)
        : WindowDesk(appFolder().path(), {1100, 800}, [=](AppContext& a) {
              a.config.GradosC = gradosCFor(unit);
              a.config.Idioma = qint16(language);
              a.textos.CargaTextos(language);
              QLocale::setDefault(QLocale::c());   // the windows write in the default locale
          }) {}
};

QColor background(const QLabel* l)
{
    return l->palette().color(QPalette::Window);
}

// 100 samples at 5 °C every 15 minutes, every tenth one at 20 °C; sample 10 is a high alarm.
records::MissionRecord hundred()
{
    std::vector<int> m(101, 90);
    for (int k = 0; k < 10; ++k)
        m[size_t(k * 10)] = 120;
    auto r = makeRecord({100, 84, 96, 15, false, 2}, m);
    r.setByte(kHighAlarms, 10);
    r.LeeAuditoria();
    return r;
}

} // namespace

TEST(SampleListWindow, RowsScrollAndThePositionLabelFollowsTheThumb)
{
    Desk desk;
    const auto r = hundred();
    SampleListWindow d(*desk.window, r);
    d.resize(1200, 700);
    d.show();
    EXPECT_EQ(std::make_tuple(d.VScroll1->minimum(), d.VScroll1->maximum()), std::make_tuple(1, 95));
    EXPECT_EQ(std::make_tuple(d.lbKm[1]->text(), background(d.lbKm[1]), d.lbKm[1]->font().bold(), background(d.lbKm[2])),
              std::make_tuple(QStringLiteral("20.0"), zoneColor(Above), true, zoneColor(Within)));
    EXPECT_EQ(d.lbFecha[2]->text().right(5), QStringLiteral("14:45"));

    // Dragging moves only the label; the rows follow when the thumb is let go.
    d.VScroll1->setSliderDown(true);
    d.VScroll1->setSliderPosition(91);
    EXPECT_TRUE(d.lbPosic->isVisible() && d.lbPosic->text().endsWith(QStringLiteral("  20.0 \u00b0C")));
    EXPECT_EQ(d.lbPosic->palette().color(QPalette::WindowText), zoneTextColor(Above));
    EXPECT_EQ(d.PrimeraFila(), 1);
    d.VScroll1->setSliderDown(false);
    EXPECT_EQ(std::make_pair(d.lbPosic->isVisible(), d.PrimeraFila()), std::make_pair(false, 91));

    // At the end: entries 96..101 in rows 1..6, the rest empty, white and not bold.
    d.VScroll1->setValue(96);
    EXPECT_FALSE(d.lbKm[6]->text().isEmpty());
    EXPECT_TRUE(d.lbKm[7]->text().isEmpty() && d.lbFecha[51]->text().isEmpty());
    EXPECT_EQ(std::make_pair(background(d.lbKm[7]), d.lbKm[7]->font().bold()), std::make_pair(QColor(Qt::white), false));

    // Without a record file there is nothing to name an export after (the export: WindowFaults).
    d.cmdExcel->click();
    EXPECT_TRUE(desk.messages.messages.isEmpty());
    EXPECT_TRUE(desk.window->statusBar()->currentMessage().isEmpty());
}

// Every view takes its title and headings from the language table by name and its unit from the
// settings: a wrong name, or the unit read the wrong way round, shows in one of these; the alarm
// list puts a high alarm's temperature in the high table.
TEST(ViewWindows, TitlesHeadingsAndValuesFollowTheLanguageAndTheUnit)
{
    struct Case { int language; Unit unit; double hot; const char *hotText, *alarmText; };
    for (const Case& k : {Case{TextTable::English, Unit::Fahrenheit, 68, "68.0", "68"},
                          Case{TextTable::German, Unit::Celsius, 20, "20.0", "20"}}) {
        SCOPED_TRACE(k.language);
        Desk desk(k.unit, k.language);
        orvan::ui::Workspace& ws = *desk.window;
        const TextTable& t = desk.app.textos;
        records::MissionRecord r = hundred();
        const QString unitText = UnidadTexto(k.unit);

        GraphWindow graph(desk.app, r, desk.messages);
        EXPECT_EQ(graph.windowTitle(), t[Text::GraphTemperatureTime]);
        EXPECT_EQ(graph.Chart2D1->axisTitle(views::ui::Chart::Axis::Y), unitText);
        EXPECT_DOUBLE_EQ(graph.puntos()[1].Temp, k.hot);

        EXPECT_EQ(ProportionsWindow(ws, r).windowTitle(), t[Text::Proportions]);
        HistogramWindow histogram(ws, r);
        EXPECT_EQ(histogram.windowTitle(), t[Text::Histogram]);
        EXPECT_EQ(histogram.Chart2D1->axisTitle(views::ui::Chart::Axis::X), unitText);
        ASSERT_EQ(histogram.Chart2D1->pointCount(), 2);
        EXPECT_DOUBLE_EQ(histogram.Chart2D1->x(2), k.hot);

        SampleListWindow list(ws, r);
        EXPECT_EQ(list.windowTitle(), t[Text::TemperatureList]);
        EXPECT_EQ(QStringList({list.lbFecha[0]->text(), list.lbtitu[2]->text(), list.lbKm[0]->text(), list.lbtitu[18]->text()}),
                  QStringList({t[Text::Date], t[Text::Date], unitText, unitText}));
        EXPECT_EQ(list.lbKm[1]->text(), QLatin1String(k.hotText));

        AlarmListWindow alarms(ws, r);
        EXPECT_EQ(alarms.windowTitle(), t[Text::Alarms]);
        EXPECT_EQ(alarms.lbtitu[1]->text(), t[Text::Date]);
        EXPECT_EQ(alarms.lbtiempo[0]->text(), t[Text::Temperature]);
        EXPECT_TRUE(alarms.lbTitHi->text().endsWith(unitText.trimmed())) << alarms.lbTitHi->text().toStdString();
        EXPECT_EQ(alarms.lbtiempo[11]->text(), QLatin1String(k.alarmText));
        EXPECT_TRUE(alarms.lbtiempo[1]->text().isEmpty() && alarms.lbtiempo[12]->text().isEmpty());
    }
}

// The histogram hides an empty zone, the pies show it as 0; a circular mission adds the logger's panel.
TEST(ZoneWindows, PanelsAndTheirZones)
{
    Desk desk;
    orvan::ui::Workspace& ws = *desk.window;
    const auto r = hundred();
    HistogramWindow h(ws, r);
    EXPECT_TRUE(h.Frame2->isHidden() && h.lbMueMen[0]->parentWidget()->isHidden());
    EXPECT_FALSE(h.lbMueMay[0]->parentWidget()->isHidden());
    EXPECT_EQ(h.lbMueMay[0]->text(), QStringLiteral("Temp.>8 \u00b0C: 10 muestras ( 10 % )"));
    EXPECT_EQ(h.Chart2D1->kind(), views::ui::Chart::Kind::Bars);
    ASSERT_EQ(h.Chart2D1->pointCount(), 2);
    EXPECT_EQ(std::make_tuple(h.Chart2D1->x(1), h.Chart2D1->y(1, 1), h.Chart2D1->y(2, 2)), std::make_tuple(5.0, 90.0, 10.0));
    EXPECT_TRUE(views::ui::Chart::isHole(h.Chart2D1->y(2, 1)));

    ProportionsWindow t(ws, r);
    EXPECT_TRUE(t.Frame2->isHidden() && !t.lbMueMen[0]->parentWidget()->isHidden());
    EXPECT_EQ(t.lbMueMen[0]->text(), QStringLiteral("Temp.<2 \u00b0C: 0 muestras ( 0 % )"));
    EXPECT_EQ(t.Chart2D1->kind(), views::ui::Chart::Kind::Pie);
    EXPECT_EQ(std::make_tuple(t.Chart2D1->y(1, 1), t.Chart2D1->y(2, 1), t.Chart2D1->y(3, 1)), std::make_tuple(90.0, 10.0, 0.0));

    auto circular = makeRecord({30000, 84, 96, 15, true});
    putCount(circular, 90, 29000);
    putCount(circular, 120, 1000);
    HistogramWindow h2(ws, circular);
    ProportionsWindow t2(ws, circular);
    EXPECT_FALSE(h2.Frame2->isHidden() || t2.Frame2->isHidden());
    EXPECT_EQ(h2.lbCantMuestras[0]->text(), QStringLiteral("Ultimas 24576 muestras de 30000"));
    EXPECT_EQ(t2.lbCantMuestras[1]->text(), QStringLiteral("30000 muestras de un total de 30000"));
    EXPECT_EQ(std::make_tuple(h2.Chart2D2->pointCount(), t2.Chart2D2->y(1, 1)), std::make_tuple(2, 29000.0));
}

// A zone whose share rounds to nothing reads "< 1 %" and still has a slice; an empty one "0 %".
TEST(ZoneWindows, ASmallZoneIsNeverShownAsNone)
{
    Desk desk;
    struct Case { int above; const char* caption; bool slice; };
    const Case cases[] = {
        {13, "Temp.>8 \u00b0C: 13 muestras ( < 1 % )", true},
        {1, "Temp.>8 \u00b0C: 1 muestras ( < 1 % )", true},
        {0, "Temp.>8 \u00b0C: 0 muestras ( 0 % )", false},
        {2458, "Temp.>8 \u00b0C: 2458 muestras ( 10 % )", true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.caption);
        std::vector<int> samples(24577, 90);
        for (int i = 0; i < k.above; ++i)
            samples[size_t(i * 7)] = 120;
        const auto r = makeRecord({24576}, samples);
        ProportionsWindow pie(*desk.window, r);
        EXPECT_EQ(pie.lbMueMay[0]->text(), QString::fromUtf8(k.caption));
        EXPECT_TRUE(pie.lbMueMen[0]->text().endsWith(QStringLiteral("( 0 % )")));
        EXPECT_EQ(HistogramWindow(*desk.window, r).lbMueMay[0]->text(), QString::fromUtf8(k.caption));
        const QImage image = pie.Chart2D1->toImage(QSize(300, 300));
        int above = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                above += image.pixelColor(x, y) == zoneColor(Above);
        EXPECT_EQ(above > 40, k.slice) << above << " pixels of the slice";
    }
}

TEST(ViewButtons, ToolbarButtonsFourToSevenOpenTheViews)
{
    Desk desk;
    desk.record = hundred();
    shell::registerWindows(*desk.window);
    desk.window->HabilitaBotones();
    using orvan::ui::Child;
    for (const auto& [button, child, name] : {std::tuple{4, Child::frmTorta, "frmTorta"}, {5, Child::frmHisto, "frmHisto"},
                                              {6, Child::Detalle, "Detalle"}, {7, Child::frmAlar, "frmAlar"}}) {
        desk.window->toolbar1Click(button);
        QWidget* w = desk.window->child(child);
        ASSERT_NE(w, nullptr) << name;
        EXPECT_EQ(w->objectName(), QLatin1String(name));
    }
    EXPECT_TRUE(desk.messages.messages.isEmpty());
}

// Every point with markers, split into the zones' series; the readout coloured by zone, a limit within.
TEST_F(GraphWindowTest, TenSamplesShowEveryPointWithMarkers)
{
    open(graphdata::recordOf({100, 101, 96, 84, 83, 97, 110, 90, 91, 92}));
    EXPECT_TRUE(app.GraficoActivo);
    EXPECT_EQ(std::make_tuple(chart().pointCount(), form->firstShown(), form->lastShown()), std::make_tuple(10, 1, 10));
    EXPECT_EQ(chart().axisTitle(Chart::Axis::X), QStringLiteral("First 10 samples of a total of 10"));
    for (int s = 1; s <= 3; ++s)
        EXPECT_EQ(chart().markerShape(s), Chart::Dot);
    EXPECT_TRUE(Chart::isHole(chart().y(3, 3)));
    EXPECT_EQ(std::make_tuple(chart().y(2, 3), chart().y(1, 5), chart().y(4, 7), chart().y(5, 7), chart().x(2)),
              std::make_tuple(8.0, 1.5, 2.0, 8.0, 15.0));
    EXPECT_EQ(std::make_pair(chart().axisMin(Chart::Axis::Y), chart().axisMax(Chart::Axis::Y)), std::make_pair(-0.5, 17.0));
    EXPECT_EQ(chart().labelText(QStringLiteral("Title")), QStringLiteral("Friday 01 March"));
    EXPECT_FALSE(form->cmdResetZoom->isEnabled() || form->cmdUpZoom->isEnabled() || form->scrGraph->isEnabled());
    EXPECT_EQ(form->lbCopyrigt->text(), QStringLiteral("Orvan"));

    hover(at(3));
    EXPECT_EQ(form->Label2->text(), QStringLiteral("3"));
    EXPECT_EQ(form->lbVeloc->text(), QLocale::system().toString(8.0, 'f', 1) + QStringLiteral(" °C"));
    EXPECT_EQ(form->lbHora->text(), QStringLiteral("01 Mar 24 10:30"));
    EXPECT_EQ(std::make_pair(chart().labelText(QStringLiteral("lbcursor")), chart().labelBackground(QStringLiteral("lbcursor"))),
              std::make_pair(form->lbVeloc->text(), QColor(0, 255, 0)));
    EXPECT_TRUE(chart().labelVisible(QStringLiteral("lbcursor")) && chart().markerVisible(QStringLiteral("X")));
    EXPECT_NEAR(chart().markerValue(QStringLiteral("X")), 30, 1);
    EXPECT_TRUE(Chart::isHole(chart().markerValue(QStringLiteral("Y")))) << "the horizontal line follows series 1 only";
    for (const auto& [point, colour] : {std::pair{3, "#00ff00"}, {7, "#ffc0c0"}, {5, "#00ffff"}}) {
        hover(at(point));
        EXPECT_TRUE(form->lbVeloc->styleSheet().contains(QLatin1String(colour))) << point;
    }
    EXPECT_EQ(chart().markerValue(QStringLiteral("Y")), 1.5) << "on series 1 at point 5";
}

// Buttons stack levels, scrolling reaches the last point, a band dragged either way becomes a level.
TEST_F(GraphWindowTest, ButtonsAndBandsStackLevelsAndScrollingReachesTheLastPoint)
{
    open(graphdata::generatedRecord(generator::Scenario::Finished, 2400));
    ASSERT_EQ(chart().pointCount(), 2400);
    EXPECT_EQ(chart().markerShape(1), Chart::NoMarker);
    form->cmdZoom->click();
    form->cmdZoom->click();
    EXPECT_EQ(std::make_tuple(form->levels().NivelZoom, form->firstShown(), form->lastShown()), std::make_tuple(2, 1, 601));
    EXPECT_TRUE(form->cmdResetZoom->isEnabled() && form->cmdUpZoom->isEnabled() && form->scrGraph->isEnabled());
    form->scrGraph->setValue(form->scrGraph->maximum());
    EXPECT_EQ(std::make_tuple(form->firstShown(), form->lastShown()), std::make_tuple(1800, 2400));
    form->cmdUpZoom->click();
    EXPECT_EQ(std::make_tuple(form->levels().NivelZoom, form->lastShown()), std::make_tuple(1, 1201));
    form->cmdResetZoom->click();
    EXPECT_EQ(std::make_tuple(form->levels().NivelZoom, form->firstShown(), form->lastShown()), std::make_tuple(0, 1, 2400));
    EXPECT_FALSE(form->cmdUpZoom->isEnabled() || form->scrGraph->isEnabled());

    for (const auto& [from, to] : {std::pair{300, 900}, {900, 300}}) {
        form->cmdResetZoom->click();
        drag(at(from), at(to));
        ASSERT_EQ(form->levels().NivelZoom, 1);
        EXPECT_NEAR(form->firstShown(), 300, 3);
        EXPECT_NEAR(form->lastShown(), 900, 3);
        EXPECT_EQ(std::make_pair(form->firstShown(), form->lastShown()),
                  std::make_pair(form->levels().ZoomDesde[1], form->levels().ZoomHasta[1]));
        EXPECT_TRUE(chart().band().isNull()) << "the band is gone once the level shows";
    }

    // While dragging, the band spans the plotting area's height and stops at its edges.
    form->cmdResetZoom->click();
    const QRect area = chart().plotArea();
    const QPoint outside(area.right() + 40, area.center().y());
    mouse(QEvent::MouseButtonPress, area.topLeft(), Qt::LeftButton, Qt::LeftButton);
    for (const QPoint& p : {area.center(), outside}) {
        mouse(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(std::make_tuple(chart().band().top(), chart().band().bottom(), chart().band().right()),
                  std::make_tuple(area.top() + 1, area.bottom() - 1, area.center().x()));
    }
    mouse(QEvent::MouseButtonRelease, outside, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form->levels().NivelZoom, 1);

    // A press outside the plotting area starts nothing.
    form->cmdResetZoom->click();
    mouse(QEvent::MouseButtonPress, QPoint(area.left() - 5, area.center().y()), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, area.center(), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(form->levels().NivelZoom, 0);
}

TEST_F(GraphWindowTest, NarrowBandsAndTheLevelLimit)
{
    open(graphdata::recordOf({100, 101, 96, 84, 83, 97, 110, 90, 91, 92}));
    // A band over fewer than 2 points is cancelled and leaves no trace.
    drag(at(4), at(4) + QPoint(12, 0));
    EXPECT_EQ(form->levels().NivelZoom, 0);
    EXPECT_TRUE(chart().band().isNull());
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
    EXPECT_EQ(std::make_tuple(chart().pointCount(), form->firstShown(), form->lastShown()), std::make_tuple(0, 1, 1));
    EXPECT_FALSE(chart().axisTitle(Chart::Axis::X).isEmpty());
    form->cmdZoom->click();
    drag(at(1), at(1) + QPoint(200, 0));
    hover(at(1));
    EXPECT_EQ(form->levels().NivelZoom, 0);

    // Every sample at the same minute, the first one erased.
    auto r = graphdata::recordOf({255, 100, 120, 90, 100, 101, 102, 103});
    r.setByte(13, 0);   // minutes between samples
    r.LeeAuditoria();
    open(std::move(r));
    EXPECT_EQ(chart().pointCount(), 8);
    EXPECT_TRUE(Chart::isHole(chart().y(1, 1)) && Chart::isHole(chart().y(2, 1)) && Chart::isHole(chart().y(3, 1)));
    EXPECT_LT(chart().axisMin(Chart::Axis::X), chart().axisMax(Chart::Axis::X));
    hover(at(1));
    EXPECT_TRUE(form->lbVeloc->text().isEmpty()) << "a gap reads no temperature";
    form->cmdZoom->click();
    form->scrGraph->setValue(form->scrGraph->maximum());
    EXPECT_TRUE(1 <= form->firstShown() && form->firstShown() <= form->lastShown() && form->lastShown() <= 9);
    drag(at(2), at(6));
    EXPECT_EQ(form->levels().NivelZoom, 1) << "all points share one column: no band";
}

// A single sample out of the limits is drawn beyond its limit line, on screen and on paper.
TEST_F(GraphWindowTest, EverySampleOutOfTheLimitsShowsOnScreenAndOnPaper)
{
    open(graphdata::spikeRecord());
    ASSERT_EQ(chart().y(3, 601), 15.0);
    ASSERT_EQ(chart().y(1, 1201), -5.0);
    struct Case { const char* name; int level; int scrollTo; bool high, low; };
    for (const Case& k : {Case{"whole record", 0, 0, true, true}, {"level 5 on the high sample", 5, 601 - 30, true, false},
                          {"level 5 on the low sample", 5, 1201 - 40, false, true}}) {
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
        QRect area;
        const QImage page = printedPage(&area);
        for (const auto& e : {screen, graphdata::excursions(page, area)})   // on screen, then on paper
            EXPECT_EQ(std::make_pair(e.redAbove > 5, e.blueBelow > 5), std::make_pair(k.high, k.low))
                << e.redAbove << " " << e.blueBelow;
    }
}

// One level per notch around the point under the pointer; a touchpad's finer steps add up to notches.
TEST_F(GraphWindowTest, TheWheelZoomsAroundThePointer)
{
    open(graphdata::generatedRecord(generator::Scenario::Finished, 2400));
    struct Case { std::vector<int> deltas; int level; };
    for (const Case& k : {Case{{120}, 1}, {{120, 240}, 3}, {{60, 60}, 1}, {{60, -60}, 0}, {{90, -120, 30}, 0},
                          {{120, 120, 120, -120}, 2}, {{-120}, 0}}) {
        SCOPED_TRACE(testing::Message() << "case with " << k.deltas.size() << " steps to level " << k.level);
        form->cmdResetZoom->click();
        const QPoint pointer = at(1800);
        for (int d : k.deltas)
            wheel(pointer, d);
        ASSERT_EQ(form->levels().NivelZoom, k.level);
        EXPECT_EQ(std::make_pair(form->firstShown(), form->lastShown()),
                  std::make_pair(form->levels().ZoomDesde[size_t(k.level)], form->levels().ZoomHasta[size_t(k.level)]));
        // Each notch may move the point under the pointer by the rounding of one point.
        EXPECT_LE(std::abs(chart().pick(pointer).point - 1800), k.level) << "the point under the pointer stays under it";
        const int widths[] = {2399, 1200, 600, 300};
        EXPECT_EQ(form->lastShown() - form->firstShown(), widths[k.level]) << "each notch halves the window";
    }
}

// At every zoom level and window width the time labels stand apart and there are enough of them.
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

TEST_F(ChartTest, HolesBatchesPickingAndConversions)
{
    const int before = chart.repaintCount();
    fill({5, 6});
    EXPECT_EQ(chart.repaintCount(), before + 1) << "a batch of changes repaints once";
    EXPECT_TRUE(Chart::isHole(chart.y(1, 5)) && Chart::isHole(chart.y(1, 99))) << "outside the points reads as a hole";
    const QImage image = chart.toImage(chart.size());
    EXPECT_TRUE(redAt(image, 15, 5)) << "drawn between points 2 and 3";
    EXPECT_FALSE(redAt(image, 45, 5)) << "no line across the holes";
    EXPECT_TRUE(redAt(image, 85, 5));
    chart.copyToClipboard();
    const QImage copy = QGuiApplication::clipboard()->image();
    EXPECT_TRUE(copy.size() == chart.size() && redAt(copy, 85, 5)) << "the copy is the chart's picture";

    // A second series just above series 1 that is not pickable, and a third far above.
    fill({});
    chart.setSeriesCount(3);
    for (int i = 1; i <= 11; ++i)
        chart.setY(2, i, 5.2), chart.setY(3, i, 9.5);
    chart.setPickable(2, false);
    chart.repaintNow();
    EXPECT_TRUE(chart.rect().contains(chart.plotArea()));
    const QPointF px = chart.dataToPixel({42, 5});
    EXPECT_NEAR(chart.pixelToData(px).x(), 42, 0.5);
    EXPECT_NEAR(chart.pixelToData(px).y(), 5, 0.05);
    const Chart::Pick near = chart.pick(px.toPoint());
    EXPECT_EQ(std::make_pair(near.point, near.series), std::make_pair(5, 1))
        << "X 42 is nearest to point 5 (X 40); series 2 is nearer but not pickable";
    EXPECT_EQ(chart.pick(chart.dataToPixel({50, 9}).toPoint()).series, 3);
    EXPECT_EQ(std::make_pair(chart.pick(QPoint(-500, 0)).point, chart.pick(QPoint(5000, 0)).point), std::make_pair(1, 11));
}

// A hole makes no bar and counts tick at whole numbers; pie slices are in proportion.
TEST(Chart, BarsAndPies)
{
    for (int height : {160, 300, 700}) {
        for (double top : {1.0, 2.0, 3.0, 7.0, 13.0, 250.0}) {
            SCOPED_TRACE(testing::Message() << "height " << height << ", top count " << top);
            Chart bars;
            bars.resize(400, height);
            bars.setKind(Chart::Kind::Bars);
            bars.setSeriesCount(2);
            bars.setPointCount(3);
            for (int i = 1; i <= 3; ++i)
                bars.setX(i, i);
            bars.setY(1, 1, 1);
            bars.setY(2, 2, top);
            bars.setAxisAuto(Chart::Axis::X, true);
            bars.setAxisAuto(Chart::Axis::Y, true);
            bars.setCountsOnY(true);
            bars.repaintNow();
            EXPECT_TRUE(bars.axisMin(Chart::Axis::Y) <= 0 && bars.axisMax(Chart::Axis::Y) >= top);
            EXPECT_EQ(qobject_cast<QCPBars*>(bars.plot()->plottable(1))->dataCount(), 1) << "holes make no bars";
            const QCPAxis* y = bars.plot()->yAxis;
            ASSERT_GE(y->tickVector().size(), 2);
            for (double t : y->tickVector())
                EXPECT_EQ(t, std::round(t)) << t;
        }
    }

    Chart pie;
    pie.setKind(Chart::Kind::Pie);
    pie.setSeriesCount(3);
    pie.setPointCount(1);
    const QColor colors[] = {Qt::green, Qt::red, Qt::blue};
    for (int s = 1; s <= 3; ++s) {
        pie.setSeriesStyle(s, colors[s - 1]);
        pie.setSeriesName(s, QStringLiteral("zona %1").arg(s));
        pie.setY(s, 1, s == 1 ? 75 : s == 2 ? 25 : 0);
    }
    const QImage pieImage = pie.toImage(QSize(400, 300));
    int greens = 0, reds = 0, blues = 0;
    for (int y = 0; y < pieImage.height(); y += 2)
        for (int x = 0; x < pieImage.width(); x += 2) {
            const QColor c = pieImage.pixelColor(x, y);
            greens += c == QColor(Qt::green);
            reds += c == QColor(Qt::red);
            blues += c == QColor(Qt::blue) && x > 0;
        }
    EXPECT_NEAR(double(greens) / std::max(reds, 1), 3.0, 0.4) << "slices in proportion to the values";
    EXPECT_LT(blues, 50) << "an empty zone has only its legend box";
}
