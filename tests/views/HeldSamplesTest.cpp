// Every view shows exactly the samples a record holds, oldest first, each with its own date:
// checked against the generator's list of every sample it took, also those a circular memory
// has overwritten.

#include "base/Encodings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "tools/generator/RecordGenerator.h"
#include "views/AlarmList.h"
#include "views/CsvExport.h"
#include "views/GraphPoints.h"
#include "views/SampleList.h"
#include "views/ViewFormats.h"
#include "views/ZoneCounts.h"

#include "support/AlarmRowsCheck.h"

#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::views;

namespace {

const QLocale kC(QLocale::C);

struct Generated {
    records::MissionRecord record;
    QByteArray taken;   // every sample of the mission, in the order taken
};

Generated generate(generator::Scenario scenario, int samples)
{
    generator::GeneratorOptions o;
    o.scenario = scenario;
    o.samples = samples;
    Generated g;
    g.taken = generator::generateSamples(o);
    g.record.setBytes(0, generator::buildImage(o, g.taken));
    g.record.LeeAuditoria();
    return g;
}

QDateTime takenAt(const records::MissionRecord& r, qint64 k)
{
    return r.campos.InicioMision.addSecs(k * r.campos.Rango * 60);
}

} // namespace

TEST(HeldSamples, GraphListAndExportShowTheHeldSamplesInTimeOrder)
{
    struct Case { const char* name; generator::Scenario scenario; int samples, firstHeld, held; };
    const Case cases[] = {
        {"empty", generator::Scenario::Empty, 0, 0, 0},
        {"three samples", generator::Scenario::Finished, 3, 0, 3},
        {"straight, memory full", generator::Scenario::Finished, 30000, 0, records::kCapacity},
        {"circular, not wrapped", generator::Scenario::Circular, 2400, 0, 2400},
        {"circular, exactly full", generator::Scenario::Circular, records::kCapacity, 0, records::kCapacity},
        {"circular, wrapped by one", generator::Scenario::Circular, records::kCapacity + 1, 1, records::kCapacity},
        {"circular, wrapped", generator::Scenario::Circular, 30000, 30000 - records::kCapacity, records::kCapacity},
    };
    TextTable textos;
    textos.CargaTextos(TextTable::English);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Generated g = generate(c.scenario, c.samples);
        const records::MissionRecord& r = g.record;
        const Puntos puntos = CargaPuntos(r, Unit::Celsius);
        const ListaMuestras list = CargaMuestras(r, Unit::Celsius);
        ASSERT_EQ(puntos.NumPuntos(), c.held);
        ASSERT_EQ(list.CantLista, c.held);
        ZoomLevels zoom;
        zoom.init(puntos.NumPuntos());
        EXPECT_EQ(zoom.ZoomHasta[0], std::max(c.held, 1)) << "the whole record ends at its last sample";
        EXPECT_EQ(CuentaMuestras(r, Unit::Celsius, CountView::Proportions).Cuentas[0][3], c.held);

        const QList<QByteArray> csv =
            ExportaCsv(r, list, textos, Unit::Celsius, QStringLiteral("r.klv"), kC).split('\n');
        ASSERT_EQ(csv.size(), 12 + c.held + 1) << "12 header lines, a line per sample, nothing after";
        EXPECT_EQ(csv[7], csvLine({textos[Text::SampleQuantity], QString::number(c.held), {}, {}, {}}).chopped(1));
        const QDateTime start = takenAt(r, c.firstHeld);
        EXPECT_EQ(csv[4],
                  csvLine({textos[Text::StartTime], {}, numericDate(start, kC), numericTime(start, kC), {}}).chopped(1));

        for (int i = 0; i < c.held; ++i) {
            const qint64 k = c.firstHeld + i;
            const QDateTime when = takenAt(r, k);
            const float temp = float(RawAGrados(quint8(g.taken[int(k)]), Unit::Celsius));
            ASSERT_EQ(puntos[i + 1].Fecha, when) << "point " << i + 1;
            ASSERT_EQ(puntos[i + 1].Temp, temp) << "point " << i + 1;
            ASSERT_EQ(list.entry(i + 1).FechaMuestra, when) << "entry " << i + 1;
            ASSERT_EQ(list.entry(i + 1).TempMuestra, temp) << "entry " << i + 1;
            const QByteArray line = csvLine({QStringLiteral("%1").arg(i + 1, 4, 10, QLatin1Char('0')),
                                             QString::number(qint64(r.campos.Rango) * i), numericDate(when, kC),
                                             numericTime(when, kC), format0_0Dot(temp)});
            ASSERT_EQ(csv[12 + i], line.chopped(1)) << "line " << 13 + i;
        }
    }
}

TEST(HeldSamples, AlarmRowsAreCrossingsWithTheirOwnDateAndTemperature)
{
    // The alarms scenario has more excursions than the tables hold; the circular one has wrapped
    // over its first excursion, whose row keeps its date with no temperature.
    struct Case { generator::Scenario scenario; int samples; bool showsOverwritten; };
    for (const Case& c : {Case{generator::Scenario::Alarms, 2400, false}, Case{generator::Scenario::Circular, 50000, true}}) {
        SCOPED_TRACE(c.samples);
        const Generated g = generate(c.scenario, c.samples);
        const int overwritten = test::expectAlarmRowsAreCrossings(
            g.record, g.taken, [&g](qint64 k) { return takenAt(g.record, k); });
        EXPECT_EQ(overwritten > 0, c.showsOverwritten);
    }
}
