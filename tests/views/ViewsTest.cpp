// The views without widgets, the shipment summary, and orvanlog-cli stats, alarms and csv giving
// the same results as the views.

#include "views/TestRecords.h"

#include "base/Encodings.h"
#include "base/TextTable.h"
#include "views/AlarmList.h"
#include "views/CsvExport.h"
#include "views/GraphPoints.h"
#include "views/SampleList.h"
#include "views/ShipmentSummary.h"
#include "views/ViewFormats.h"
#include "views/TimeFormat.h"
#include "views/ZoneCounts.h"
#include "records/RecordFile.h"
#include "support/RunCli.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <algorithm>
#include <optional>
#include <tuple>

using namespace orvan;
using namespace orvan::views;
using namespace orvan::views::testdata;
using orvan::test::runCli;

namespace {

const QLocale kC(QLocale::C);
const QLocale kGerman(QLocale::German, QLocale::Germany);

TextTable textos(int idioma)
{
    TextTable t;
    t.CargaTextos(idioma);
    return t;
}

QDateTime takenAt(const records::MissionRecord& r, qint64 k)
{
    return r.campos.InicioMision.addSecs(k * r.campos.Rango * 60);
}

QDateTime date(int y, int mo, int d, int h = 0, int minute = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, minute), Qt::UTC);
}
const QLocale kSpanish = languageLocale(0);
const QLocale kEnglish = languageLocale(1);

template <typename Row>
QJsonArray json(const Row& row)
{
    QJsonArray a;
    for (const auto v : row)
        a.append(qint64(v));
    return a;
}

template <typename Row>
QJsonArray table(const std::array<Row, 2>& rows)
{
    return QJsonArray{json(rows[0]), json(rows[1])};
}

records::MissionRecord readRecordFile(const QString& path)
{
    records::MissionRecord r;
    EXPECT_TRUE(records::LeerArchivo(r, path).ok);
    r.LeeAuditoria();
    return r;
}

} // namespace

TEST(ViewFormats, SeparatorsComeFromTheLocaleShortFormats)
{
    struct Case { QLocale locale; QChar date, time; };
    for (const Case& c : {Case{QLocale(QLocale::English, QLocale::UnitedStates), '/', ':'}, {kGerman, '.', ':'},
                          {QLocale(QLocale::Finnish, QLocale::Finland), '.', '.'},
                          {QLocale(QLocale::Dutch, QLocale::Netherlands), '-', ':'}})
        EXPECT_EQ(std::make_pair(dateSeparator(c.locale), timeSeparator(c.locale)), std::make_pair(c.date, c.time))
            << c.locale.name().toStdString();
    const QDateTime t(QDate(2026, 3, 7), QTime(9, 5), Qt::UTC);
    EXPECT_EQ(numericDate(t, kGerman) + numericTime(t, kGerman), QStringLiteral("07.03.202609:05"));
    EXPECT_EQ(std::make_tuple(singleText(float(35.6), kGerman), singleText(2.0f, kC), format0_0(-0.5f, kGerman)),
              std::make_tuple(QStringLiteral("35,6"), QStringLiteral("2"), QStringLiteral("-0,5")));
}

TEST(SampleList, ThreeSamplesGiveThreeEntriesAndThreeExportLines)
{
    // The byte after the last sample (100, 10 °C) is no sample and shows nowhere.
    const auto r = makeRecord({3, 84, 96, 15}, {85, 84, 60, 100});
    const ListaMuestras l = CargaMuestras(r, Unit::Celsius);
    ASSERT_EQ(std::make_pair(l.CantLista, l.scrollMax), std::make_pair(3, 1));
    EXPECT_EQ(l.entry(3).FechaMuestra, QDateTime(QDate(2026, 12, 6), QTime(15, 0), Qt::UTC));
    EXPECT_EQ(std::make_pair(l.zone(2), l.zone(3)), std::make_pair(Within, Below)) << "equal to the low limit is within";

    // A comma locale shows 2,5 on screen while the file says 2.5.
    EXPECT_EQ(std::make_pair(rowText(l.entry(1), kGerman).temp, rowText(l.entry(1), kC).date),
              std::make_pair(QStringLiteral("2,5"), QStringLiteral("Sun 06Dec 14:30")));
    EXPECT_EQ(positionText(l.entry(3), QStringLiteral(" \u00b0C"), kGerman), QStringLiteral("06-Dez. 15:00  -10,0 \u00b0C"));
    const QList<QByteArray> csv =
        ExportaCsv(r, l, textos(TextTable::English), Unit::Celsius, QStringLiteral("X.klv"), kGerman).split('\n');
    ASSERT_EQ(csv.size(), 16) << "15 lines, each ended by CR LF";
    for (int i = 0; i < 15; ++i)
        EXPECT_TRUE(csv[i].endsWith('\r')) << i;
    EXPECT_EQ(csv[0], QByteArray("\"KLV-100's Serial #\",\"0       \",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[1], QByteArray("\"File's name\",\"X.klv\",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[8].mid(csv[8].indexOf(",")), QByteArray(",\"2.0\",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[11], QByteArray("\"Sample #\",\"Elapsed\",\"Date / Time\",\"Time\",\"Temperature\"\r"));
    EXPECT_EQ(csv[12], QByteArray("\"0001\",\"0\",\"06.12.2026\",\"14:30\",\"2.5\"\r"));
    EXPECT_EQ(csv[14], QByteArray("\"0003\",\"30\",\"06.12.2026\",\"15:00\",\"-10.0\"\r"));

    // A long list scrolls to five before its end.
    const ListaMuestras longer = CargaMuestras(makeRecord({100}), Unit::Fahrenheit);
    EXPECT_EQ(std::make_pair(longer.CantLista, longer.scrollMax), std::make_pair(100, 95));
    EXPECT_FLOAT_EQ(longer.entry(1).TempMuestra, -40.0f);
}

// Quotes are doubled and names encoded as Windows-1252; the file goes next to the record, and a
// failure leaves the old file as it was.
TEST(CsvExport, FileGoesNextToTheRecordAndFailuresLeaveTheOldFile)
{
    EXPECT_EQ(csvLine({QStringLiteral("a\"b"), QStringLiteral("\u00d1and\u00fa"), QString()}),
              QByteArray("\"a\"\"b\",\"\xd1" "and\xfa\",\"\"\r\n"));
    EXPECT_EQ(csvPath(QStringLiteral("/d/FRUTAS_1.klv")), QStringLiteral("/d/FRUTAS_1.csv"));
    EXPECT_TRUE(csvPath(QStringLiteral("a.k")).isEmpty());
    EXPECT_TRUE(csvPath(QString()).isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.csv"));
    ASSERT_TRUE(writeCsv(path, "first").ok);
    ASSERT_TRUE(writeCsv(path, "second").ok);     // exporting twice overwrites
    EXPECT_EQ(records::testdata::readFile(path), QByteArray("second"));

    const CsvResult noFolder = writeCsv(dir.filePath(QStringLiteral("none/r.csv")), "x");
    EXPECT_FALSE(noFolder.ok);
    EXPECT_TRUE(noFolder.error.contains(QStringLiteral("r.csv")));

    // A record file whose name already ends in "csv" is never replaced by its export.
    const CsvResult overRecord = writeCsv(path, "x", path);
    EXPECT_FALSE(overRecord.ok);
    EXPECT_EQ(records::testdata::readFile(path), QByteArray("second"));
}

// Low events at samples 2 and 5 (a raw 0), a 0 field; high ones at 1 and 4, one beyond the image.
static records::MissionRecord withAlarms(int status)
{
    auto r = makeRecord({6, 84, 96, 10, false, status}, {90, 120, 70, 90, 130, 0});
    for (const auto& [at, n] : {std::pair{kLowAlarms, 2}, {kLowAlarms + 3, 5}, {kHighAlarms, 1}, {kHighAlarms + 3, 4},
                                {kHighAlarms + 6, 0xFFFFFF}})
        for (int b = 0; b < 3; ++b)
            r.setByte(at + b, quint8(n >> (8 * b)));
    r.LeeAuditoria();
    return r;
}

static QStringList rows(const records::MissionRecord& r, Unit unit)
{
    QStringList out;
    const auto f = MuestraAlarmas(CargaAlarmas(r, unit), kC);
    for (int i = 1; i <= kAlarmRows; ++i)
        out << (f[size_t(i)].filled ? f[size_t(i)].dateText + QLatin1Char('|') + f[size_t(i)].tempText : QString());
    return out;
}

// Status bit 2 fills the high table, bit 4 the low one; each row has its event's own date.
TEST(AlarmList, TablesFollowTheStatusBits)
{
    const auto expected = [](bool low, bool high, const char* lowRow, const char* high1, const char* high2) {
        QStringList out(kAlarmRows);
        if (low)
            out[0] = QString::fromUtf8(lowRow);   // sample 2 at 10-minute steps
        if (high)
            out[10] = QString::fromUtf8(high1), out[11] = QString::fromUtf8(high2);
        return out;
    };
    const char* c[] = {"Sun 06Dec 14:50|-5", "Sun 06Dec 14:40|20", "Sun 06Dec 15:10|25"};
    for (const auto& [status, low, high] : {std::tuple{0, false, false}, {6, true, true}, {2, false, true}, {4, true, false}})
        EXPECT_EQ(rows(withAlarms(status), Unit::Celsius), expected(low, high, c[0], c[1], c[2])) << status;
    EXPECT_EQ(rows(withAlarms(6), Unit::Fahrenheit),
              expected(true, true, "Sun 06Dec 14:50|23", "Sun 06Dec 14:40|68", "Sun 06Dec 15:10|77"));

    const auto r = withAlarms(6);
    EXPECT_EQ(alarmTitle(false, r, Unit::Celsius, kC), QStringLiteral("Temp. < 2 \u00b0C"));
    EXPECT_EQ(alarmTitle(true, r, Unit::Fahrenheit, kGerman), QStringLiteral("Temp. > 46,4 \u00b0F"));
}

TEST(ZoneCounts, PercentagesRoundHalvesToEven)
{
    struct Case { qint64 count, total; qint32 expected; };
    // A logger table can sum past what a 32-bit product of 100 holds.
    for (const Case& c : {Case{10, 100, 10}, {3, 7, 43}, {1, 8, 12}, {3, 8, 38}, {5, 8, 62}, {0, 5, 0}, {4, 0, 0},
                          {30000000, 33000000, 91}})
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
        EXPECT_EQ(std::make_pair(z.Cuentas[0], z.Porcentajes[0]),
                  std::make_pair(std::array<qint32, 4>{90, 10, 0, 100}, std::array<qint32, 3>{90, 10, 0}));
        const Captions l = PoneResultados(z, r, textos(TextTable::English), Unit::Celsius, v, kC);
        EXPECT_EQ(l.MueMay[0], QStringLiteral("Temp.>8 \u00b0C: 10 samples ( 10 % )"));
        EXPECT_EQ(l.MueOk[0], QStringLiteral("Temp. OK : 90 samples ( 90 % )"));
        EXPECT_EQ(l.CantMuestras[0], QStringLiteral("100 samples of a total of 100"));
        // No sample below: hidden in the histogram, shown as 0 in the pies.
        EXPECT_EQ(l.visibleMen[0], v == CountView::Proportions);
        EXPECT_EQ(l.MueMen[0], QStringLiteral("Temp.<2 \u00b0C: 0 samples ( 0 % )"));
    }
    EXPECT_FALSE(showsSecondPanel(r));
    const ZoneCounts z = CuentaMuestras(r, Unit::Celsius, CountView::Histogram);   // bars at 5 and 20 °C
    EXPECT_EQ(std::make_tuple(z.HistoMuestras[90], z.HistoMuestras[120]), std::make_tuple(90, 10));
    const QVector<Bar> b = Bars(z, 0, r, Unit::Celsius);
    ASSERT_EQ(b.size(), 2);
    EXPECT_EQ(std::make_tuple(b[0].x, b[0].zone, b[1].count, b[1].zone), std::make_tuple(5.0, Within, 10, Above));

    const auto empty = makeRecord({0});
    const ZoneCounts none = CuentaMuestras(empty, Unit::Celsius, CountView::Histogram);
    EXPECT_TRUE(none.Cuentas[0][3] == 0 && Bars(none, 0, empty, Unit::Celsius).isEmpty());
}

// The histogram gives a byte above 216 the value before it (at the start, the byte before the area).
TEST(ZoneCounts, BytesAbove216TakeTheValueBeforeThemOnlyInTheHistogram)
{
    auto r = makeRecord({6}, {250, 255, 217, 50, 230, 216});
    r.setByte(records::kSampleBase - 1, 100);
    const ZoneCounts h = CuentaMuestras(r, Unit::Celsius, CountView::Histogram);
    EXPECT_EQ(std::make_tuple(h.HistoMuestras[100], h.HistoMuestras[50], h.HistoMuestras[216]), std::make_tuple(3, 2, 1));
    EXPECT_EQ(h.HistoMuestras[250] + h.HistoMuestras[255] + h.HistoMuestras[217] + h.HistoMuestras[230], 0);
    EXPECT_EQ(h.Cuentas[0], (std::array<qint32, 4>{0, 4, 2, 6}));   // 10 °C above, -15 °C below
    EXPECT_EQ(CuentaMuestras(r, Unit::Celsius, CountView::Proportions).Cuentas[0], (std::array<qint32, 4>{0, 5, 1, 6}));
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
    EXPECT_EQ(std::make_pair(z.Cuentas[1], z.Porcentajes[1]),
              std::make_pair(std::array<qint32, 4>{25500, 3500, 1000, 30000}, std::array<qint32, 3>{85, 12, 3}));
    EXPECT_EQ(std::make_pair(z.HistoEquipo[90], int(Bars(z, 1, r, Unit::Celsius).size())), std::make_pair(20000, 3));
    const TextTable t = textos(TextTable::English);
    const auto captions = [&](const records::MissionRecord& rec, CountView v) {
        return PoneResultados(CuentaMuestras(rec, Unit::Celsius, v), rec, t, Unit::Celsius, v, kC);
    };
    EXPECT_EQ(captions(r, CountView::Histogram).CantMuestras[0], QStringLiteral("Last 24576 samples of 30000"));
    for (CountView v : {CountView::Histogram, CountView::Proportions})
        EXPECT_EQ(captions(r, v).CantMuestras[1], QStringLiteral("30000 samples of a total of 30000")) << "the total it describes";
    EXPECT_EQ(captions(makeRecord({records::kCapacity}), CountView::Histogram).CantMuestras[0],
              QStringLiteral("First 24576 samples of 24576")) << "a straight mission that filled the memory";

    // A damaged table past the mission's count: its own total, so no share passes 100 %.
    putCount(r, 90, 60000);
    const ZoneCounts d = CuentaMuestras(r, Unit::Celsius, CountView::Histogram);
    EXPECT_EQ(std::make_pair(d.Cuentas[1], d.Porcentajes[1]),
              std::make_pair(std::array<qint32, 4>{60000, 3500, 1000, 64500}, std::array<qint32, 3>{93, 5, 2}));
}

TEST(ZoneCounts, CaptionsHaveOneBlankBetweenWordsInEveryLanguage)
{
    // A circular mission past the memory's captions, and the graph's title over a straight record.
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
        const TextTable t = textos(c.idioma);
        const Captions l = PoneResultados(z, r, t, Unit::Celsius, CountView::Proportions, kC);
        EXPECT_EQ(QStringList({l.CantMuestras[0], l.CantMuestras[1], l.MueOk[1], axisTitleText(t, false, 1, 2400, 2400, 2400)}),
                  QStringList({QString::fromUtf8(c.held), c.logger, c.within, c.axis}));
    }
}

TEST(ZoneCounts, FahrenheitLimitsAndCommaLocale)
{
    const auto r = makeRecord({4, 84, 97}, {84, 97, 98, 83});
    const ZoneCounts z = CuentaMuestras(r, Unit::Fahrenheit, CountView::Proportions);
    // A value equal to a limit is within, in either unit.
    EXPECT_EQ(z.Cuentas[0], (std::array<qint32, 4>{2, 1, 1, 4}));
    const Captions l = PoneResultados(z, r, textos(TextTable::English), Unit::Fahrenheit, CountView::Proportions, kGerman);
    EXPECT_EQ(QStringList({l.MueMay[0], l.MueMen[0]}), QStringList({QStringLiteral("Temp.>47,3 \u00b0F: 1 samples ( 25 % )"),
                                                                   QStringLiteral("Temp.<35,6 \u00b0F: 1 samples ( 25 % )")}));
}

TEST(HeldSamples, GraphListAndExportShowTheHeldSamplesInTimeOrder)
{
    using generator::Scenario;
    const int full = records::kCapacity;
    struct Case { const char* name; Scenario scenario; int samples, firstHeld, held; };
    const TextTable english = textos(TextTable::English);
    for (const Case& c : {Case{"empty", Scenario::Empty, 0, 0, 0}, {"three samples", Scenario::Finished, 3, 0, 3},
                          {"straight, memory full", Scenario::Finished, 30000, 0, full},
                          {"circular, not wrapped", Scenario::Circular, 2400, 0, 2400},
                          {"circular, exactly full", Scenario::Circular, full, 0, full},
                          {"circular, wrapped by one", Scenario::Circular, full + 1, 1, full},
                          {"circular, wrapped", Scenario::Circular, 30000, 30000 - full, full}}) {
        SCOPED_TRACE(c.name);
        generator::GeneratorOptions o;
        o.scenario = c.scenario;
        o.samples = c.samples;
        const QByteArray taken = generator::generateSamples(o);   // every sample of the mission, in order
        records::MissionRecord r;
        r.setBytes(0, generator::buildImage(o, taken));
        r.LeeAuditoria();
        const Puntos puntos = CargaPuntos(r, Unit::Celsius);
        const ListaMuestras list = CargaMuestras(r, Unit::Celsius);
        ASSERT_EQ(puntos.NumPuntos(), c.held);
        ASSERT_EQ(list.CantLista, c.held);
        EXPECT_EQ(CuentaMuestras(r, Unit::Celsius, CountView::Proportions).Cuentas[0][3], c.held);

        const QList<QByteArray> csv =
            ExportaCsv(r, list, english, Unit::Celsius, QStringLiteral("r.klv"), kC).split('\n');
        ASSERT_EQ(csv.size(), 12 + c.held + 1) << "12 header lines, a line per sample, nothing after";
        EXPECT_EQ(csv[7], csvLine({english[Text::SampleQuantity], QString::number(c.held), {}, {}, {}}).chopped(1));
        const QDateTime start = takenAt(r, c.firstHeld);
        EXPECT_EQ(csv[4], csvLine({english[Text::StartTime], {}, numericDate(start, kC), numericTime(start, kC), {}}).chopped(1));

        for (int i = 0; i < c.held; ++i) {
            const qint64 k = c.firstHeld + i;
            const QDateTime when = takenAt(r, k);
            const float temp = float(RawAGrados(quint8(taken[int(k)]), Unit::Celsius));
            ASSERT_EQ(std::make_tuple(puntos[i + 1].Fecha, puntos[i + 1].Temp, list.entry(i + 1).FechaMuestra,
                                      list.entry(i + 1).TempMuestra), std::make_tuple(when, temp, when, temp)) << i + 1;
            const QByteArray line = csvLine({QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')),
                                             QString::number(qint64(r.campos.Rango) * i), numericDate(when, kC),
                                             numericTime(when, kC), format0_0Dot(temp)});
            ASSERT_EQ(csv[12 + i], line.chopped(1)) << "line " << 13 + i;
        }
    }
}

// Erased bytes repeat the point before, date included, as the clock runs on; a first one is a gap.
TEST(GraphPoints, PointsFromSamplesWithErasedBytesInBothUnits)
{
    const auto r = graphdata::recordOf({100, 101, 255, 255, 104, 96, 84, 83, 97, 110});
    const Puntos c = CargaPuntos(r, Unit::Celsius);
    ASSERT_EQ(c.NumPuntos(), 10) << "one point per sample, none past the last";
    const QDateTime t0 = r.campos.InicioDatos;
    EXPECT_EQ(std::make_tuple(c[1].Fecha, c[1].Temp), std::make_tuple(t0, 10.0f));
    EXPECT_EQ(c[2].Fecha, t0.addSecs(15 * 60));
    EXPECT_EQ(std::make_tuple(c[3].Fecha, c[3].Temp, c[4].Fecha), std::make_tuple(c[2].Fecha, 10.5f, c[2].Fecha));
    EXPECT_EQ(c[5].Fecha, t0.addSecs(4 * 15 * 60));
    EXPECT_EQ(c[10].Fecha, t0.addSecs(9 * 15 * 60));
    const Puntos f = CargaPuntos(r, Unit::Fahrenheit);
    EXPECT_EQ(std::make_tuple(f[1].Temp, f[3].Temp), std::make_tuple(50.0f, 189.5f));

    const auto erased = graphdata::recordOf({255, 255, 100});
    const Puntos b = CargaPuntos(erased, Unit::Celsius);
    ASSERT_EQ(b.NumPuntos(), 3);
    EXPECT_TRUE(b[1].isGap() && b[2].isGap());
    EXPECT_EQ(b[1].Fecha, erased.campos.InicioDatos);
    EXPECT_EQ(ClasificaPunto(b[1].Temp, 2, 8), ZoneGap);
    EXPECT_EQ(windowRange(b, 1, 3).min, 10.0f);
    EXPECT_TRUE(windowRange(b, 1, 2).empty);

    // Near the end of the calendar the clock stops at its last date instead of wrapping.
    auto late = graphdata::recordOf({100, 100, 100, 100, 100, 100});
    late.campos.InicioDatos = QDateTime(QDate(9999, 12, 31), QTime(23, 0), Qt::UTC);
    const Puntos l = CargaPuntos(late, Unit::Celsius);
    EXPECT_EQ(l[4].Fecha, QDateTime(QDate(9999, 12, 31), QTime(23, 45), Qt::UTC));
    EXPECT_EQ(std::make_tuple(l[5].Fecha, l[6].Fecha), std::make_tuple(l[4].Fecha, l[4].Fecha));
    late.campos.InicioDatos = QDateTime();
    EXPECT_FALSE(CargaPuntos(late, Unit::Celsius)[6].Fecha.isValid()) << "no start, no clock";
    EXPECT_EQ(CargaPuntos(graphdata::generatedRecord(generator::Scenario::Empty, 0), Unit::Celsius).NumPuntos(), 0);
}

TEST(GraphPoints, ZonesIncludeTheLimitsComparedAsFloats)
{
    const auto r = graphdata::recordOf({96});
    const Limits c = limitsInDegrees(r, Unit::Celsius);
    EXPECT_EQ(std::make_pair(c.lo, c.hi), std::make_pair(2.0f, 8.0f));
    const Limits f = limitsInDegrees(r, Unit::Fahrenheit);  // raw 84 and 96: 35.6 and 46.4 °F
    struct Case { float temp; Limits lim; PointZone zone; int curve; };
    const auto F = [](int raw) { return float(RawAGrados(raw, Unit::Fahrenheit)); };
    for (const Case& k : {Case{8.0f, c, ZoneWithin, 2}, {2.0f, c, ZoneWithin, 2}, {8.5f, c, ZoneAbove, 3},
                          {1.5f, c, ZoneBelow, 1}, {F(96), f, ZoneWithin, 2}, {F(84), f, ZoneWithin, 2},
                          {F(97), f, ZoneAbove, 3}, {F(83), f, ZoneBelow, 1}}) {
        EXPECT_EQ(ClasificaPunto(k.temp, k.lim.lo, k.lim.hi), k.zone) << k.temp;
        EXPECT_EQ(seriesOfZone(ClasificaPunto(k.temp, k.lim.lo, k.lim.hi)), k.curve) << k.temp;
        // The readout colours a value at a limit as within.
        const quint32 expected = k.zone == ZoneAbove ? kColorAbove : k.zone == ZoneWithin ? kColorWithin : kColorBelow;
        EXPECT_EQ(readingColor(k.temp, k.lim), expected) << k.temp;
    }
    EXPECT_EQ(std::make_pair(readingColor(8.04f, c), readingColor(8.06f, c)), std::make_pair(kColorWithin, kColorAbove))
        << "the colour follows the value shown, 8.0 or 8.1";
    EXPECT_EQ(minutesFrom(date(2024, 3, 1, 10, 0), date(2024, 3, 2, 10, 5)), 1445);
}

TEST(GraphPoints, AxisAndDateTitles)
{
    const TextTable es = textos(0), en = textos(1);
    struct Title { const TextTable& t; bool circular; int first, last, numPuntos, numMuestras; const char* text; };
    const Title titles[] = {
        {es, false, 1, 10, 10, 10, "Primeras 10 muestras de un total de 10"},
        {en, false, 2, 10, 10, 10, "9 samples of a total of 10"},
        {en, true, 5, 10, 10, 30000, "Last 6 samples of a total of 30000"},
        {en, true, 1, 9, 10, 30000, "9 samples of a total of 30000"},
        // A record without samples: its empty window holds none.
        {en, false, 1, 1, 0, 0, "0 samples of a total of 0"},
    };
    for (const Title& k : titles)
        EXPECT_EQ(axisTitleText(k.t, k.circular, k.first, k.last, k.numPuntos, k.numMuestras), QString::fromUtf8(k.text));
    EXPECT_TRUE(withMarkers(1, 31) && !withMarkers(1, 32));

    const auto mid = [](const QDateTime& a, const QDateTime& b) { return a.addSecs(a.secsTo(b) / 2); };
    struct Case { QDateTime a, b; const char* en; };
    for (const Case& k : {Case{date(2024, 3, 1, 1), date(2024, 3, 1, 23), "Friday 01 March"},
                          {date(2024, 3, 1, 22), date(2024, 3, 2, 3), "Fri 01 Mar 24 - Sat 02 Mar 24"},
                          {date(2024, 3, 5), date(2024, 3, 25), "March 2024"},
                          {date(2024, 3, 20), date(2024, 4, 10), "20 March 2024 - 10 April 2024"},
                          {date(2024, 1, 20), date(2024, 7, 10), "January 2024 - July 2024"},
                          {date(2023, 12, 20), date(2024, 7, 10), "2024"}})
        EXPECT_EQ(dateTitle(k.a, k.b, mid(k.a, k.b), kEnglish), QLatin1String(k.en));
    EXPECT_EQ(dateTitle(date(2024, 3, 1, 22), date(2024, 3, 2, 3), date(2024, 3, 2, 0, 30), kSpanish).toLower(),
              QStringLiteral("vie 01 mar 24 - sáb 02 mar 24")) << "the language's own names";

    EXPECT_EQ(pointTimeText(date(2024, 3, 1, 9, 5), kEnglish), QStringLiteral("01 Mar 24 09:05"));
    EXPECT_EQ(pointTempText(8.0f, QLocale::c(), QStringLiteral(" °C")), QStringLiteral("8.0 °C"));
    EXPECT_EQ(pointTempText(-0.04f, kSpanish, QStringLiteral(" °F")), QStringLiteral("0,0 °F")) << "no negative zero";
    EXPECT_EQ(pointTempText(189.5f, kSpanish, QStringLiteral(" °F")), QStringLiteral("189,5 °F"));
}

// Halving rounds half to even; band, limit and zoom-out through the window: GraphWindowTest.
TEST(GraphPoints, ZoomLevelsAndScrollWindows)
{
    ZoomLevels z;
    z.init(100);
    EXPECT_EQ(std::make_tuple(z.ZoomDesde[0], z.ZoomHasta[0]), std::make_tuple(1, 100));
    EXPECT_EQ(z.zoomInHalf(1, 100), 1);
    EXPECT_EQ(std::make_tuple(z.ZoomDesde[1], z.ZoomHasta[1]), std::make_tuple(1, 51));
    EXPECT_EQ(z.zoomInHalf(1, 5), -1) << "a window of 5 points does not zoom";
    EXPECT_EQ(z.zoomInHalf(10, 13 + 10), 2);
    EXPECT_EQ(z.ZoomHasta[2], 16) << "10 + 6.5 rounds to even";

    // A window keeps its number of points when scrolled: a band over 4..6 scrolls as 3 points.
    struct Case { int value, span, n, first, last; };
    for (const Case& k : {Case{4, 2, 100, 4, 6}, {1, 10, 100, 1, 11}, {95, 10, 100, 90, 100}, {100, 10, 100, 90, 100},
                          {3, 0, 100, 3, 3}, {1, 50, 20, 1, 20}}) {
        const PointWindow v = scrollWindow(k.value, k.span, k.n);
        EXPECT_EQ(std::make_tuple(v.first, v.last), std::make_tuple(k.first, k.last)) << k.value << " " << k.span;
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
            EXPECT_TRUE(!marks.empty() && int(marks.size()) <= maxMarks) << width;
            for (size_t i = 0; i < marks.size(); ++i) {
                EXPECT_TRUE(marks[i].x >= 17 && marks[i].x <= 17 + width && !marks[i].text.isEmpty()) << width;
                EXPECT_TRUE(i == 0 || marks[i].x > marks[i - 1].x) << width;
            }
        }
    }
    // Hour ticks fall on the clock's round hours (11:00 is 53 minutes after 10:07); midnight shows the date.
    const auto seven = timeMarks(base, 0, 7 * 60, 8, kEnglish);
    ASSERT_FALSE(seven.empty());
    EXPECT_EQ(std::make_pair(seven.front().x, seven.front().text), std::make_pair(53.0, QStringLiteral("11:00")));
    const auto hours = timeMarks(base, 0, 24 * 60, 8, kEnglish);
    EXPECT_TRUE(std::any_of(hours.begin(), hours.end(), [](const auto& m) { return m.text == QStringLiteral("02 Mar"); }));
    EXPECT_TRUE(timeMarks(QDateTime(), 0, 10, 5, kEnglish).empty());
    // A span of exactly twelve hours holds thirteen hour ticks: one more than twelve allowed.
    EXPECT_LE(timeMarks(date(2024, 3, 1), 0, 12 * 60, 12, kEnglish).size(), 12u);
}

TEST(CliViews, StatsAndAlarmsPrintWhatTheViewsShow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.klv"));
    ASSERT_EQ(runCli({"generate", "alarms", path}).code, 0);
    const records::MissionRecord r = readRecordFile(path);

    for (const auto& [unit, shown] : {std::pair{"C", Unit::Celsius}, {"F", Unit::Fahrenheit}}) {
        SCOPED_TRACE(unit);
        const auto stats = runCli({"stats", path, "--unit", unit});
        ASSERT_EQ(stats.code, 0) << stats.err.constData();
        const QJsonObject j = QJsonDocument::fromJson(stats.out).object();
        for (const auto& [key, view] : {std::pair{"histograma", CountView::Histogram}, {"proporciones", CountView::Proportions}}) {
            const ZoneCounts z = CuentaMuestras(r, shown, view);
            const QJsonObject o = j.value(QLatin1String(key)).toObject();
            EXPECT_EQ(o.value("Cuentas").toArray(), table(z.Cuentas)) << key;
            EXPECT_EQ(o.value("Porcentajes").toArray(), table(z.Porcentajes)) << key;
            if (view == CountView::Proportions) {
                EXPECT_EQ(o.keys().size(), 2);
            } else {
                EXPECT_EQ(o.value("HistoMuestras").toArray(), json(z.HistoMuestras));
                EXPECT_EQ(o.value("HistoEquipo").toArray(), json(z.HistoEquipo));
            }
        }

        const auto alarms = runCli({"alarms", path, "--unit", unit});
        ASSERT_EQ(alarms.code, 0) << alarms.err.constData();
        const QJsonArray rows = QJsonDocument::fromJson(alarms.out).array();
        const auto expected = MuestraAlarmas(CargaAlarmas(r, shown), QLocale::c());
        ASSERT_EQ(rows.size(), kAlarmRows);
        int filled = 0;
        for (int i = 1; i <= kAlarmRows; ++i) {
            const QJsonObject f = rows.at(i - 1).toObject();
            const AlarmRow& e = expected[size_t(i)];
            filled += e.filled;
            EXPECT_EQ(f.value("fila").toInt(), i);
            EXPECT_EQ(f.value("fecha").toString(), e.filled ? e.date.toString("yyyy-MM-dd'T'HH:mm") : QString()) << i;
            EXPECT_FLOAT_EQ(float(f.value("temp").toDouble(-1000)), e.filled ? e.temp : -1000.0f) << i;
        }
        EXPECT_GT(filled, 10);   // the generated record has events of both kinds
    }
}

TEST(CliViews, CsvWritesTheExportFileNextToTheRecordOrToOut)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ENVIO_1.klv"));
    ASSERT_EQ(runCli({"generate", "finished", path, "--samples", "300", "--exporter", "A \"B\""}).code, 0);
    const records::MissionRecord r = readRecordFile(path);
    TextTable t;
    t.CargaTextos(TextTable::French);
    const QByteArray expected = ExportaCsv(r, CargaMuestras(r, Unit::Fahrenheit), t, Unit::Fahrenheit,
                                           QStringLiteral("ENVIO_1.klv"), QLocale::system());
    const auto together = runCli({"csv", path, "--lang", "3", "--unit", "F"});
    ASSERT_EQ(together.code, 0) << together.err.constData();
    EXPECT_EQ(records::testdata::readFile(dir.filePath(QStringLiteral("ENVIO_1.csv"))), expected);
    const QString other = dir.filePath(QStringLiteral("out.txt"));
    ASSERT_EQ(runCli({"csv", path, "-o", other, "--lang", "3", "--unit", "F"}).code, 0);
    EXPECT_EQ(records::testdata::readFile(other), expected);

    // Failures: exit 1 and no file; a wrong call: exit 2.
    EXPECT_EQ(runCli({"csv", dir.filePath(QStringLiteral("none.klv"))}).code, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("none.csv"))));
    const auto noFolder = runCli({"csv", path, "-o", dir.filePath(QStringLiteral("no/x.csv"))});
    EXPECT_EQ(noFolder.code, 1);
    EXPECT_TRUE(noFolder.err.contains("x.csv"));
    EXPECT_EQ(runCli({"csv"}).code, 2);
}

// The shipment summary of records worked out by hand: raw r is r / 2 - 40 °C, r x 0.9 - 40 °F.
namespace {

QDateTime at(qint64 k)
{
    return QDateTime(QDate(2026, 12, 6), QTime(14, 30), Qt::UTC).addSecs(k * 15 * 60);
}

struct Expected { int index; double value; };   // the held sample whose time it has, its value
struct ExpectedExcursion { Zone zone; int first, samples; double peak; };

struct SummaryCase {
    const char* name;
    std::vector<int> samples;
    Unit unit;
    Allowances allowed;
    int missing;
    std::optional<Expected> min, max;
    std::optional<double> mean;
    qint64 within, above, below;   // minutes
    std::vector<ExpectedExcursion> excursions;
    Verdict verdict;
};

const SummaryCase kCases[] = {
    {"flat at 5 C", {90, 90, 90, 90}, Unit::Celsius, {}, 0, Expected{0, 5}, Expected{0, 5}, 5.0, 60, 0, 0, {},
     Verdict::Pass},
    {"single high spike", {90, 100, 90}, Unit::Celsius, {}, 0, Expected{0, 5}, Expected{1, 10}, 20.0 / 3, 30, 15, 0,
     {{Above, 1, 1, 10}}, Verdict::Fail},
    {"high spike within an allowance equal to it", {90, 100, 90}, Unit::Celsius, {15, 0}, 0, Expected{0, 5},
     Expected{1, 10}, 20.0 / 3, 30, 15, 0, {{Above, 1, 1, 10}}, Verdict::Pass},
    {"the above allowance does not cover time below", {90, 80, 90}, Unit::Celsius, {1000, 0}, 0, Expected{1, 0},
     Expected{0, 5}, 10.0 / 3, 30, 0, 15, {{Below, 1, 1, 0}}, Verdict::Fail},
    {"two low spikes: the first of equal minima counts", {90, 80, 90, 80}, Unit::Celsius, {0, 30}, 0,
     Expected{1, 0}, Expected{0, 5}, 2.5, 30, 0, 30, {{Below, 1, 1, 0}, {Below, 3, 1, 0}}, Verdict::Pass},
    {"a run's peak is its highest sample above, its lowest below, not its first", {90, 97, 100, 98, 90, 82, 78, 80},
     Unit::Celsius, {}, 0, Expected{6, -1}, Expected{2, 10}, 37.5 / 8, 30, 45, 45,
     {{Above, 1, 3, 10}, {Below, 5, 3, -1}}, Verdict::Fail},
    {"a missing byte splits a run and fails any allowance", {100, 101, 255, 102, 90}, Unit::Celsius, {1000, 1000},
     1, Expected{4, 5}, Expected{3, 11}, 36.5 / 4, 15, 45, 0, {{Above, 0, 2, 10.5}, {Above, 3, 1, 11}},
     Verdict::Fail},
    {"a sample equal to each limit is within", {84, 96, 84}, Unit::Celsius, {}, 0, Expected{0, 2}, Expected{1, 8},
     4.0, 45, 0, 0, {}, Verdict::Pass},
    {"one step past each limit, zone changing without a within sample", {83, 97}, Unit::Celsius, {}, 0,
     Expected{0, 1.5}, Expected{1, 8.5}, 5.0, 0, 15, 15, {{Below, 0, 1, 1.5}, {Above, 1, 1, 8.5}}, Verdict::Fail},
    {"hot bytes are temperatures", {90, 254}, Unit::Celsius, {}, 0, Expected{0, 5}, Expected{1, 87}, 46.0, 15, 15, 0,
     {{Above, 1, 1, 87}}, Verdict::Fail},
    {"empty record", {}, Unit::Celsius, {}, 0, std::nullopt, std::nullopt, std::nullopt, 0, 0, 0, {}, Verdict::NoData},
    {"only erased bytes", {255, 255}, Unit::Celsius, {}, 2, std::nullopt, std::nullopt, std::nullopt, 0, 0, 0, {},
     Verdict::NoData},
    // 41, 50, 41 °F; the limits are 35.6 and 46.4 °F.
    {"Fahrenheit high spike", {90, 100, 90}, Unit::Fahrenheit, {}, 0, Expected{0, 41}, Expected{1, 50}, 44.0, 30, 15,
     0, {{Above, 1, 1, 50}}, Verdict::Fail},
};

TEST(ShipmentSummary, FiguresOfHandComputedRecords)
{
    for (const SummaryCase& c : kCases) {
        SCOPED_TRACE(c.name);
        const ShipmentSummary s = summarize(makeRecord({int(c.samples.size())}, c.samples), c.unit, c.allowed);
        EXPECT_EQ(std::make_tuple(s.samples, s.missing), std::make_tuple(int(c.samples.size()), c.missing));
        EXPECT_DOUBLE_EQ(s.lowLimit, c.unit == Unit::Celsius ? 2.0 : 35.6);
        EXPECT_DOUBLE_EQ(s.highLimit, c.unit == Unit::Celsius ? 8.0 : 46.4);
        ASSERT_EQ(std::make_tuple(s.min.has_value(), s.max.has_value(), s.mean.has_value(), s.mkt.has_value()),
                  std::make_tuple(c.min.has_value(), c.max.has_value(), c.mean.has_value(), c.mean.has_value()));
        if (c.min) {
            EXPECT_DOUBLE_EQ(s.min->value, c.min->value);
            EXPECT_DOUBLE_EQ(s.max->value, c.max->value);
            EXPECT_EQ(std::make_pair(s.min->time, s.max->time), std::make_pair(at(c.min->index), at(c.max->index)));
            EXPECT_NEAR(*s.mean, *c.mean, 1e-12);
        }
        EXPECT_EQ(std::make_tuple(s.minutesWithin, s.minutesAbove, s.minutesBelow), std::make_tuple(c.within, c.above, c.below));
        ASSERT_EQ(s.excursions.size(), qsizetype(c.excursions.size()));
        for (size_t i = 0; i < c.excursions.size(); ++i) {
            const Excursion& e = s.excursions[qsizetype(i)];
            const ExpectedExcursion& x = c.excursions[i];
            EXPECT_EQ(std::make_tuple(e.zone, e.start, e.samples, e.minutes),
                      std::make_tuple(x.zone, at(x.first), x.samples, qint64(x.samples) * 15)) << i;
            EXPECT_DOUBLE_EQ(e.peak, x.peak) << i;
        }
        EXPECT_EQ(s.verdict, c.verdict);
        // The window's allowance fields recompute the same verdict without the samples.
        EXPECT_EQ(judge(s, c.allowed), c.verdict);
    }
}

// Half the samples at 2 °C and half at 8 °C: 10000 / 35.88261 - 273.15 = 5.53642 °C, above the
// arithmetic mean as the exponential weighs the warm half more (worked out in double precision).
TEST(ShipmentSummary, MeanKineticTemperature)
{
    struct Case { std::vector<int> samples; Unit unit; double mkt; };
    for (const Case& c : {Case{{84, 96, 96, 84}, Unit::Celsius, 5.536424508866332},
                          Case{{84, 96}, Unit::Fahrenheit, 41.965564115959396},
                          Case{{90, 90, 90}, Unit::Celsius, 5.0},                 // a constant is its own MKT
                          Case{{84, 255, 96}, Unit::Celsius, 5.536424508866332}}) {   // erased bytes take no part
        const ShipmentSummary s = summarize(testdata::makeRecord({int(c.samples.size())}, c.samples), c.unit);
        ASSERT_TRUE(s.mkt.has_value());
        EXPECT_NEAR(*s.mkt, c.mkt, 1e-9) << c.samples.size() << " samples";
    }
}

// A mission of 30000 samples keeps 24576: a circular one its last (slot (5424 + i) mod 24576
// for held sample i, mission sample 5424 + i), a straight one its first.
TEST(ShipmentSummary, OverfullMissionSummarisesTheHeldSamplesOnly)
{
    const int first = 30000 - records::kCapacity;   // 5424
    struct Case { bool circular; qint64 oldestSlot, oldestMissionSample; const char* note; };
    for (const Case& c : {Case{true, first, first, "the last 24576 of 30000 samples"},
                          Case{false, 0, 0, "the first 24576 of 30000 samples"}}) {
        SCOPED_TRACE(c.note);
        std::vector<int> slots(records::kCapacity, 90);
        const qint64 newestSlot = (c.oldestSlot + records::kCapacity - 1) % records::kCapacity;
        slots[size_t(c.oldestSlot)] = 100;   // the oldest held sample is above
        slots[size_t(newestSlot)] = 80;      // the newest is below
        slots[size_t((c.oldestSlot + 100) % records::kCapacity)] = 255;
        const records::MissionRecord r = testdata::makeRecord({30000, 84, 96, 15, c.circular}, slots);
        const ShipmentSummary s = summarize(r, Unit::Celsius);
        EXPECT_EQ(std::make_tuple(s.samples, s.of, s.missing), std::make_tuple(records::kCapacity, 30000, 1));
        EXPECT_TRUE(s.partial());
        ASSERT_EQ(s.excursions.size(), 2);
        EXPECT_EQ(std::make_tuple(s.excursions[0].zone, s.excursions[0].start, s.excursions[1].zone, s.excursions[1].start),
                  std::make_tuple(Above, at(c.oldestMissionSample), Below,
                                  at(c.oldestMissionSample + records::kCapacity - 1)));
        ASSERT_TRUE(s.max.has_value());
        EXPECT_EQ(s.max->time, at(c.oldestMissionSample));
        EXPECT_EQ(std::make_pair(s.minutesWithin, s.verdict), std::make_pair(qint64(records::kCapacity - 3) * 15, Verdict::Fail));
        EXPECT_EQ(heldNote(s, 1), QString::fromLatin1(c.note));
    }
    EXPECT_TRUE(heldNote(summarize(testdata::makeRecord({3}, {90, 90, 90}), Unit::Celsius), 1).isEmpty());
}

} // namespace
