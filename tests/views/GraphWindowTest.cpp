// The graph window: the whole-record window, zoom by buttons and by dragging a band with the
// mouse, scrolling to the end, the cursor readout, and records with nothing much to show.

#include "views/GraphWindowFixture.h"

#include <random>

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
