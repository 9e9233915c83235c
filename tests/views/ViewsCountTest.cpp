// Zone counts, percentages and captions of the histogram and the proportions views.

#include "views/TestRecords.h"

#include "base/TextTable.h"
#include "views/GraphPoints.h"
#include "views/ZoneCounts.h"

#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::views;
using namespace orvan::views::testdata;

namespace {

const QLocale kC(QLocale::C);

TextTable english()
{
    TextTable t;
    t.CargaTextos(TextTable::English);
    return t;
}

} // namespace

TEST(ZoneCounts, PercentagesRoundHalvesToEven)
{
    struct Case { qint64 count, total; qint32 expected; };
    const Case cases[] = {
        {10, 100, 10}, {3, 7, 43}, {1, 8, 12}, {3, 8, 38}, {5, 8, 62}, {0, 5, 0}, {4, 0, 0},
        // A logger table can sum past what a 32-bit product of 100 holds.
        {30000000, 33000000, 91},
    };
    for (const Case& c : cases)
        EXPECT_EQ(percentage(c.count, c.total), c.expected) << c.count << "/" << c.total;
}

TEST(ZoneCounts, HundredSamplesTenAboveOnePanel)
{
    std::vector<int> m(100, 90);   // 5 °C
    for (int k = 0; k < 10; ++k)
        m[size_t(k * 10)] = 120;   // 20 °C
    const auto r = makeRecord({100}, m);
    for (CountView v : {CountView::Histogram, CountView::Proportions}) {
        const ZoneCounts z = CuentaMuestras(r, Unit::Celsius, v);
        EXPECT_EQ(z.Cuentas[0], (std::array<qint32, 4>{90, 10, 0, 100}));
        EXPECT_EQ(z.Porcentajes[0], (std::array<qint32, 3>{90, 10, 0}));
        const Captions l = PoneResultados(z, r, english(), Unit::Celsius, v, kC);
        EXPECT_EQ(l.MueMay[0], QStringLiteral("Temp.>8 \u00b0C: 10 samples ( 10 % )"));
        EXPECT_EQ(l.MueOk[0], QStringLiteral("Temp. OK : 90 samples ( 90 % )"));
        EXPECT_EQ(l.CantMuestras[0], QStringLiteral("100 samples of a total of 100"));
        // No sample below: hidden in the histogram, shown as 0 in the pies.
        EXPECT_EQ(l.visibleMen[0], v == CountView::Proportions);
        EXPECT_EQ(l.MueMen[0], QStringLiteral("Temp.<2 \u00b0C: 0 samples ( 0 % )"));
    }
    EXPECT_FALSE(showsSecondPanel(r));
    const ZoneCounts z = CuentaMuestras(r, Unit::Celsius, CountView::Histogram);
    EXPECT_EQ(z.HistoMuestras[90], 90);
    EXPECT_EQ(z.HistoMuestras[120], 10);
    const QVector<Bar> b = Bars(z, 0, r, Unit::Celsius);
    ASSERT_EQ(b.size(), 2);
    EXPECT_DOUBLE_EQ(b[0].x, 5.0);
    EXPECT_EQ(b[0].zone, Within);
    EXPECT_EQ(b[1].count, 10);
    EXPECT_EQ(b[1].zone, Above);
}

TEST(ZoneCounts, BytesAbove216TakeTheValueBeforeThemOnlyInTheHistogram)
{
    // A run at the very start of the sample area takes the byte just before the area.
    auto r = makeRecord({6}, {250, 255, 217, 50, 230, 216});
    r.setByte(records::kSampleBase - 1, 100);
    const ZoneCounts h = CuentaMuestras(r, Unit::Celsius, CountView::Histogram);
    EXPECT_EQ(h.HistoMuestras[100], 3);
    EXPECT_EQ(h.HistoMuestras[50], 2);
    EXPECT_EQ(h.HistoMuestras[216], 1);
    EXPECT_EQ(h.HistoMuestras[250] + h.HistoMuestras[255] + h.HistoMuestras[217] + h.HistoMuestras[230], 0);
    EXPECT_EQ(h.Cuentas[0], (std::array<qint32, 4>{0, 4, 2, 6}));   // 10 °C above, -15 °C below
    // The pies count each byte as it is: all four are above.
    const ZoneCounts p = CuentaMuestras(r, Unit::Celsius, CountView::Proportions);
    EXPECT_EQ(p.Cuentas[0], (std::array<qint32, 4>{0, 5, 1, 6}));
    EXPECT_EQ(r.muestra(0), 250);   // the record itself is untouched
}

TEST(ZoneCounts, CircularMissionPastTheMemoryShowsTheLoggerTable)
{
    auto r = makeRecord({30000, 84, 96, 15, true});
    putCount(r, 90, 20000);    // within
    putCount(r, 120, 3000);    // above
    putCount(r, 40, 1000);     // below
    putCount(r, 300, 500);     // no bin, still counted: above
    ASSERT_TRUE(showsSecondPanel(r));
    const ZoneCounts z = CuentaMuestras(r, Unit::Celsius, CountView::Histogram);
    EXPECT_EQ(z.Cuentas[0][3], records::kCapacity);
    // The 5500 samples the table misses count as within; the total is the mission's.
    EXPECT_EQ(z.Cuentas[1], (std::array<qint32, 4>{25500, 3500, 1000, 30000}));
    EXPECT_EQ(z.Porcentajes[1], (std::array<qint32, 3>{85, 12, 3}));
    EXPECT_EQ(z.HistoEquipo[90], 20000);
    EXPECT_EQ(Bars(z, 1, r, Unit::Celsius).size(), 3);

    const TextTable t = english();
    const Captions h = PoneResultados(z, r, t, Unit::Celsius, CountView::Histogram, kC);
    EXPECT_EQ(h.CantMuestras[0], QStringLiteral("Last 24576 samples of 30000"));
    EXPECT_EQ(h.CantMuestras[1], QStringLiteral("30000 samples of a total of 30000"));
    const Captions p = PoneResultados(CuentaMuestras(r, Unit::Celsius, CountView::Proportions), r, t, Unit::Celsius,
                                      CountView::Proportions, kC);
    EXPECT_EQ(p.CantMuestras[1], QStringLiteral("30000 samples of a total of 30000")) << "the total it describes";

    // A damaged table that holds more than the mission's count: the total becomes the table's,
    // so the zones still add up and no share passes 100 %.
    putCount(r, 90, 60000);
    const ZoneCounts d = CuentaMuestras(r, Unit::Celsius, CountView::Histogram);
    EXPECT_EQ(d.Cuentas[1], (std::array<qint32, 4>{60000, 3500, 1000, 64500}));
    EXPECT_EQ(d.Porcentajes[1], (std::array<qint32, 3>{93, 5, 2}));

    // A straight mission that filled the memory says "First".
    const auto full = makeRecord({records::kCapacity});
    EXPECT_EQ(PoneResultados(CuentaMuestras(full, Unit::Celsius, CountView::Histogram), full, t, Unit::Celsius,
                             CountView::Histogram, kC)
                  .CantMuestras[0],
              QStringLiteral("First 24576 samples of 24576"));
}

TEST(ZoneCounts, CaptionsHaveOneBlankBetweenWordsInEveryLanguage)
{
    // A circular mission past the memory: the held samples' caption, the logger's total and a
    // zone line of both panels, beside the graph's title over a straight record's whole window.
    auto r = makeRecord({30000, 84, 96, 15, true});
    putCount(r, 90, 25500);
    putCount(r, 120, 4500);
    const ZoneCounts z = CuentaMuestras(r, Unit::Celsius, CountView::Proportions);
    struct Case { TextTable::Idioma idioma; const char *held, *logger, *within, *axis; };
    const Case cases[] = {
        {TextTable::Spanish, "Ultimas 24576 muestras de 30000", "30000 muestras de un total de 30000",
         "Temp. OK : 25500 muestras ( 85 % )", "Primeras 2400 muestras de un total de 2400"},
        {TextTable::English, "Last 24576 samples of 30000", "30000 samples of a total of 30000",
         "Temp. OK : 25500 samples ( 85 % )", "First 2400 samples of a total of 2400"},
        {TextTable::German, "Letzte 24576 Messungen von 30000", "30000 Messungen von insgesamt 30000",
         "Temp. OK : 25500 Messungen ( 85 % )", "Erste 2400 Messungen von insgesamt 2400"},
        {TextTable::French, "Derni\u00e8res 24576 mesures de 30000", "30000 mesures de un total de 30000",
         "Temp. OK : 25500 Mesures ( 85 % )", "Premi\u00e8res 2400 mesures de un total de 2400"},
        {TextTable::Portuguese, "Ultimas 24576 amostras de 30000", "30000 amostras de um total de 30000",
         "Temp. OK : 25500 mostras ( 85 % )", "Primeiras 2400 amostras de um total de 2400"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.idioma);
        TextTable t;
        t.CargaTextos(c.idioma);
        const Captions l = PoneResultados(z, r, t, Unit::Celsius, CountView::Proportions, kC);
        EXPECT_EQ(l.CantMuestras[0], QString::fromUtf8(c.held));
        EXPECT_EQ(l.CantMuestras[1], QString::fromUtf8(c.logger));
        EXPECT_EQ(l.MueOk[1], QString::fromUtf8(c.within));
        EXPECT_EQ(axisTitleText(t, false, 1, 2400, 2400, 2400), QString::fromUtf8(c.axis));
    }
}

TEST(ZoneCounts, FahrenheitLimitsAndCommaLocale)
{
    const auto r = makeRecord({4, 84, 97}, {84, 97, 98, 83});
    const ZoneCounts z = CuentaMuestras(r, Unit::Fahrenheit, CountView::Proportions);
    // A value equal to a limit is within, in either unit.
    EXPECT_EQ(z.Cuentas[0], (std::array<qint32, 4>{2, 1, 1, 4}));
    const Captions l = PoneResultados(z, r, english(), Unit::Fahrenheit, CountView::Proportions,
                                      QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(l.MueMay[0], QStringLiteral("Temp.>47,3 \u00b0F: 1 samples ( 25 % )"));
    EXPECT_EQ(l.MueMen[0], QStringLiteral("Temp.<35,6 \u00b0F: 1 samples ( 25 % )"));
}

TEST(ZoneCounts, EmptyRecordCountsNothing)
{
    const auto r = makeRecord({0});
    const ZoneCounts z = CuentaMuestras(r, Unit::Celsius, CountView::Histogram);
    EXPECT_EQ(z.Cuentas[0], (std::array<qint32, 4>{0, 0, 0, 0}));
    EXPECT_EQ(z.Porcentajes[0], (std::array<qint32, 3>{0, 0, 0}));
    EXPECT_TRUE(Bars(z, 0, r, Unit::Celsius).isEmpty());
}
