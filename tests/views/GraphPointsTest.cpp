// The graph's points, zones, titles, readout texts, zoom levels and time ticks, without widgets.

#include "base/Encodings.h"
#include "base/TextTable.h"
#include "views/GraphPoints.h"
#include "views/TimeFormat.h"
#include "views/GraphRecords.h"

#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::views;

namespace {
QDateTime date(int y, int mo, int d, int h = 0, int minute = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, minute), Qt::UTC);
}
const QLocale kSpanish = languageLocale(0);
const QLocale kEnglish = languageLocale(1);
} // namespace

TEST(GraphPoints, PointsFromSamplesWithErasedBytesInBothUnits)
{
    // 10 samples: raw 100 = 10 °C; 255 is an erased byte.
    const auto r = graphdata::recordOf({100, 101, 255, 255, 104, 96, 84, 83, 97, 110});
    ASSERT_EQ(r.muestrasGuardadas(), 10);
    const Puntos c = CargaPuntos(r, Unit::Celsius);
    ASSERT_EQ(c.NumPuntos(), 10) << "one point per sample, none past the last";
    const QDateTime t0 = r.campos.InicioDatos;
    EXPECT_EQ(c[1].Fecha, t0);
    EXPECT_EQ(c[1].Temp, 10.0f);
    EXPECT_EQ(c[2].Fecha, t0.addSecs(15 * 60));
    // Erased bytes repeat the point before them, date included.
    EXPECT_EQ(c[3].Fecha, c[2].Fecha);
    EXPECT_EQ(c[3].Temp, 10.5f);
    EXPECT_EQ(c[4].Fecha, c[2].Fecha);
    EXPECT_EQ(c[5].Fecha, t0.addSecs(4 * 15 * 60)) << "the clock runs on under erased bytes";
    EXPECT_EQ(c[10].Fecha, t0.addSecs(9 * 15 * 60));

    const Puntos f = CargaPuntos(r, Unit::Fahrenheit);
    EXPECT_EQ(f[3].Temp, 189.5f) << "in Fahrenheit an erased byte is a plain value";
    EXPECT_EQ(f[1].Temp, 50.0f);

    // An erased first sample has nothing to repeat: its own date, and a gap.
    const auto erased = graphdata::recordOf({255, 255, 100});
    const Puntos b = CargaPuntos(erased, Unit::Celsius);
    ASSERT_EQ(b.NumPuntos(), 3);
    EXPECT_TRUE(b[1].isGap());
    EXPECT_EQ(b[1].Fecha, erased.campos.InicioDatos);
    EXPECT_TRUE(b[2].isGap());
    EXPECT_EQ(b[3].Temp, 10.0f);
    EXPECT_EQ(ClasificaPunto(b[1].Temp, 2, 8), ZoneGap);
    const TempRange range = windowRange(b, 1, 3);
    EXPECT_FALSE(range.empty);
    EXPECT_EQ(range.min, 10.0f) << "gaps take no part in the range";
    EXPECT_TRUE(windowRange(b, 1, 2).empty);

    // Near the end of the calendar the clock stops at its last date instead of wrapping.
    auto late = graphdata::recordOf({100, 100, 100, 100, 100, 100});
    late.campos.InicioDatos = QDateTime(QDate(9999, 12, 31), QTime(23, 0), Qt::UTC);
    const Puntos l = CargaPuntos(late, Unit::Celsius);
    ASSERT_EQ(l.NumPuntos(), 6);
    EXPECT_EQ(l[4].Fecha, QDateTime(QDate(9999, 12, 31), QTime(23, 45), Qt::UTC));
    for (int i = 5; i <= 6; ++i)
        EXPECT_EQ(l[i].Fecha, l[4].Fecha) << i;
    late.campos.InicioDatos = QDateTime();
    EXPECT_FALSE(CargaPuntos(late, Unit::Celsius)[6].Fecha.isValid()) << "no start, no clock";

    // A record without samples has no point.
    const auto empty = graphdata::generatedRecord(generator::Scenario::Empty, 0);
    EXPECT_EQ(CargaPuntos(empty, Unit::Celsius).NumPuntos(), 0);
}

TEST(GraphPoints, ZonesIncludeTheLimitsComparedAsFloats)
{
    const auto r = graphdata::recordOf({96});
    const Limits c = limitsInDegrees(r, Unit::Celsius);
    EXPECT_EQ(c.lo, 2.0f);
    EXPECT_EQ(c.hi, 8.0f);
    const Limits f = limitsInDegrees(r, Unit::Fahrenheit);  // raw 84 and 96: 35.6 and 46.4 °F
    struct Case { float temp; Limits lim; PointZone zone; int curve; };
    const Case cases[] = {
        {8.0f, c, ZoneWithin, 2}, {2.0f, c, ZoneWithin, 2}, {8.5f, c, ZoneAbove, 3}, {1.5f, c, ZoneBelow, 1},
        {float(RawAGrados(96, Unit::Fahrenheit)), f, ZoneWithin, 2},
        {float(RawAGrados(84, Unit::Fahrenheit)), f, ZoneWithin, 2},
        {float(RawAGrados(97, Unit::Fahrenheit)), f, ZoneAbove, 3},
        {float(RawAGrados(83, Unit::Fahrenheit)), f, ZoneBelow, 1},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(ClasificaPunto(k.temp, k.lim.lo, k.lim.hi), k.zone) << k.temp;
        EXPECT_EQ(seriesOfZone(ClasificaPunto(k.temp, k.lim.lo, k.lim.hi)), k.curve) << k.temp;
        // The readout colours a value at a limit as within.
        const quint32 expected = k.zone == ZoneAbove ? kColorAbove : k.zone == ZoneWithin ? kColorWithin : kColorBelow;
        EXPECT_EQ(readingColor(k.temp, k.lim), expected) << k.temp;
    }
    EXPECT_EQ(readingColor(8.04f, c), kColorWithin) << "the colour follows the value shown, 8.0";
    EXPECT_EQ(readingColor(8.06f, c), kColorAbove);
    EXPECT_EQ(minutesFrom(date(2024, 3, 1, 10, 0), date(2024, 3, 2, 10, 5)), 1445);
}

TEST(GraphPoints, AxisAndDateTitles)
{
    TextTable es, en;
    es.CargaTextos(0);
    en.CargaTextos(1);
    struct Title { const TextTable& t; bool circular; int first, last, numPuntos, numMuestras; const char* text; };
    const Title titles[] = {
        {es, false, 1, 10, 10, 10, "Primeras 10 muestras de un total de 10"},
        {en, false, 2, 10, 10, 10, "9 samples of a total of 10"},
        {en, true, 5, 10, 10, 30000, "Last 6 samples of a total of 30000"},
        {en, true, 1, 9, 10, 30000, "9 samples of a total of 30000"},
        // A record without samples: its empty window holds none.
        {en, false, 1, 1, 0, 0, "0 samples of a total of 0"},
    };
    for (const Title& k : titles) {
        EXPECT_EQ(axisTitleText(k.t, k.circular, k.first, k.last, k.numPuntos, k.numMuestras),
                  QString::fromUtf8(k.text));
    }
    EXPECT_TRUE(withMarkers(1, 31));
    EXPECT_FALSE(withMarkers(1, 32));

    struct Case { QDateTime a, b; QString es, en; };
    const auto mid = [](const QDateTime& a, const QDateTime& b) { return a.addSecs(a.secsTo(b) / 2); };
    const Case cases[] = {
        {date(2024, 3, 1, 1), date(2024, 3, 1, 23), QStringLiteral("viernes 01 marzo"), QStringLiteral("Friday 01 March")},
        {date(2024, 3, 1, 22), date(2024, 3, 2, 3), QStringLiteral("vie 01 mar 24 - sáb 02 mar 24"),
         QStringLiteral("Fri 01 Mar 24 - Sat 02 Mar 24")},
        {date(2024, 3, 5), date(2024, 3, 25), QStringLiteral("marzo 2024"), QStringLiteral("March 2024")},
        {date(2024, 3, 20), date(2024, 4, 10), QStringLiteral("20 marzo 2024 - 10 abril 2024"),
         QStringLiteral("20 March 2024 - 10 April 2024")},
        {date(2024, 1, 20), date(2024, 7, 10), QStringLiteral("enero 2024 - julio 2024"),
         QStringLiteral("January 2024 - July 2024")},
        {date(2023, 12, 20), date(2024, 7, 10), QStringLiteral("2024"), QStringLiteral("2024")},
    };
    for (const Case& k : cases) {
        EXPECT_EQ(dateTitle(k.a, k.b, mid(k.a, k.b), kSpanish).toLower(), k.es.toLower()) << k.a.toString().toStdString();
        EXPECT_EQ(dateTitle(k.a, k.b, mid(k.a, k.b), kEnglish), k.en) << k.a.toString().toStdString();
    }

    EXPECT_EQ(pointTimeText(date(2024, 3, 1, 9, 5), kEnglish), QStringLiteral("01 Mar 24 09:05"));
    EXPECT_EQ(pointTempText(8.0f, QLocale::c(), QStringLiteral(" °C")), QStringLiteral("8.0 °C"));
    EXPECT_EQ(pointTempText(-0.04f, kSpanish, QStringLiteral(" °F")), QStringLiteral("0,0 °F")) << "no negative zero";
    EXPECT_EQ(pointTempText(189.5f, kSpanish, QStringLiteral(" °F")), QStringLiteral("189,5 °F"));
}

TEST(GraphPoints, ZoomLevelsAndScrollWindows)
{
    ZoomLevels z;
    z.init(100);
    EXPECT_EQ(z.ZoomDesde[0], 1);
    EXPECT_EQ(z.ZoomHasta[0], 100) << "the whole record ends at its last sample";
    EXPECT_EQ(z.zoomInHalf(1, 100), 1);
    EXPECT_EQ(z.ZoomDesde[1], 1);
    EXPECT_EQ(z.ZoomHasta[1], 51) << "1 + 99/2 rounded half to even";
    EXPECT_EQ(z.zoomInHalf(1, 5), -1) << "a window of 5 points does not zoom";
    EXPECT_EQ(z.NivelZoom, 1);
    EXPECT_EQ(z.zoomInHalf(10, 13 + 10), 2);
    EXPECT_EQ(z.ZoomHasta[2], 16) << "10 + 6.5 rounds to even";

    // A band dragged leftwards is swapped; a band of fewer than 2 points is cancelled.
    ASSERT_TRUE(z.beginBand(40));
    EXPECT_EQ(z.NivelZoom, 3);
    EXPECT_TRUE(z.endBand(30));
    EXPECT_EQ(z.ZoomDesde[3], 30);
    EXPECT_EQ(z.ZoomHasta[3], 40);
    ASSERT_TRUE(z.beginBand(50));
    EXPECT_FALSE(z.endBand(51));
    EXPECT_EQ(z.NivelZoom, 3);

    // Level 23 is the deepest; the step to 24 is refused and remembered.
    while (z.NivelZoom < 23)
        ASSERT_GT(z.zoomInHalf(1, 1000), 0);
    EXPECT_EQ(z.zoomInHalf(1, 1000), -1);
    EXPECT_TRUE(z.ZoomAlLimite);
    EXPECT_FALSE(z.beginBand(5));
    EXPECT_EQ(z.NivelZoom, 23);
    EXPECT_EQ(z.zoomOut(), 22);
    EXPECT_FALSE(z.ZoomAlLimite);
    z.reset();
    EXPECT_EQ(z.NivelZoom, 0);

    z.init(0);
    EXPECT_EQ(z.ZoomHasta[0], 1) << "a record without samples shows the empty window 1..1";

    struct Case { int value, span, n, first, last; };
    // A window keeps its number of points when scrolled: a band over 4..6 scrolls as 3 points.
    const Case cases[] = {{4, 2, 100, 4, 6}, {1, 10, 100, 1, 11}, {95, 10, 100, 90, 100}, {100, 10, 100, 90, 100},
                          {3, 0, 100, 3, 3}, {1, 50, 20, 1, 20}};
    for (const Case& k : cases) {
        const PointWindow v = scrollWindow(k.value, k.span, k.n);
        EXPECT_EQ(v.first, k.first) << k.value << " " << k.span;
        EXPECT_EQ(v.last, k.last) << k.value << " " << k.span;
    }
}

TEST(TimeFormat, PatternsAndTicksAtEveryWidth)
{
    EXPECT_EQ(formatTime(date(2024, 3, 1, 7, 4), QStringLiteral("%A %a %d %B %b %y %Y %H:%M %% %q"), kEnglish),
              QStringLiteral("Friday Fri 01 March Mar 24 2024 07:04 % %q"));
    EXPECT_EQ(formatTime(date(2024, 3, 1), QStringLiteral("%A %B"), languageLocale(2)), QStringLiteral("Freitag März"));
    EXPECT_EQ(dateFromMinutes(date(2024, 3, 1), 90.5), date(2024, 3, 1, 1, 30).addSecs(30));

    // From a few minutes to years, the ticks stay few, inside the range, ascending and labelled.
    const QDateTime base = date(2024, 3, 1, 10, 7);
    for (double width : {3.0, 40.0, 300.0, 1500.0, 9000.0, 40000.0, 200000.0, 700000.0, 4000000.0}) {
        for (int maxMarks : {3, 8, 15}) {
            const auto marks = timeMarks(base, 17, 17 + width, maxMarks, kEnglish);
            EXPECT_LE(int(marks.size()), maxMarks) << width;
            EXPECT_GE(int(marks.size()), 1) << width;
            for (size_t i = 0; i < marks.size(); ++i) {
                EXPECT_GE(marks[i].x, 17);
                EXPECT_LE(marks[i].x, 17 + width);
                EXPECT_FALSE(marks[i].text.isEmpty());
                if (i > 0) {
                    EXPECT_GT(marks[i].x, marks[i - 1].x);
                }
            }
        }
    }
    // Hour ticks fall on the clock's round hours; midnight shows the date.
    const auto seven = timeMarks(base, 0, 7 * 60, 8, kEnglish);
    ASSERT_FALSE(seven.empty());
    EXPECT_EQ(seven.front().x, 53) << "11:00 is 53 minutes after 10:07";
    EXPECT_EQ(seven.front().text, QStringLiteral("11:00"));
    const auto hours = timeMarks(base, 0, 24 * 60, 8, kEnglish);
    bool midnight = false;
    for (const auto& m : hours)
        midnight |= m.text == QStringLiteral("02 Mar");
    EXPECT_TRUE(midnight);
    EXPECT_TRUE(timeMarks(QDateTime(), 0, 10, 5, kEnglish).empty());
    // A span of exactly twelve hours holds thirteen hour ticks: one more than twelve allowed.
    EXPECT_LE(timeMarks(date(2024, 3, 1), 0, 12 * 60, 12, kEnglish).size(), 12u);
}
