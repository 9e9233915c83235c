// Emulator scenarios read as the program reads them: the export and the alarm list of the memory
// image against what the emulated logger itself measured, sample by sample.

#include "tools/emulator/Logger.h"
#include "tools/emulator/Scenarios.h"

#include "base/Encodings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "views/CsvExport.h"
#include "views/SampleList.h"
#include "views/ViewFormats.h"

#include "support/AlarmRowsCheck.h"

#include <gtest/gtest.h>

#include <set>

using namespace orvan;
using namespace orvan::emulator;

TEST(ScenarioViews, ExportAndAlarmsShowWhatTheLoggerMeasured)
{
    // 5 °C with excursions at chosen samples (15-minute steps): above at `above`, below at `below`.
    const auto options = [](int samples, std::set<qint64> above, std::set<qint64> below, QDateTime prepared) {
        ScenarioOptions o;
        o.samples = samples;
        o.interval = 15;
        o.prepared = prepared;
        o.profile = [=](qint64 minute) { return above.count(minute / 15) ? 12.0 : below.count(minute / 15) ? -3.0 : 5.0; };
        return o;
    };
    // The PC stamps a preparation with its wall clock's calendar values.
    const QDateTime now = QDateTime::currentDateTime();
    const QDateTime lastMinute(now.date(), QTime(now.time().hour(), now.time().minute()), Qt::UTC);
    const QDateTime stamp(QDate(2024, 3, 1), QTime(10, 0), Qt::UTC);
    // Crossings at the first sample (no table entry), more than a table holds, and in a circular
    // mission some the memory overwrote and some it still holds.
    std::set<qint64> many;
    for (qint64 k = 5; k < 100; k += 6)
        many.insert(k);
    const std::tuple<ScenarioKind, ScenarioOptions, int> cases[] = {
        {ScenarioKind::Recording, options(40, {0, 7}, {3}, lastMinute.addSecs(-600 * 60)), 0},
        {ScenarioKind::Finished, options(120, {0, 1, 2}, many, stamp), 0},
        {ScenarioKind::Circular, options(30000, {0, 100, 200, 29000}, {300, 5600, 29500}, stamp), 3},
    };
    TextTable textos;
    textos.CargaTextos(TextTable::English);
    const QLocale c = QLocale::c();
    for (const auto& [kind, o, overwrittenRows] : cases) {
        SCOPED_TRACE(int(kind));
        const std::unique_ptr<Logger> logger = Scenarios::make(kind, o);
        const quint32 count = logger->sampleCount();
        QByteArray taken;
        std::vector<QDateTime> when;
        for (quint32 n = 0; n < count; ++n) {
            const auto m = logger->measuredSample(n);
            ASSERT_TRUE(m.has_value()) << "sample " << n;
            taken.append(char(m->raw));
            when.push_back(o.prepared.addSecs(m->minute * 60));
        }

        records::MissionRecord r;
        r.setBytes(0, logger->memory());
        r.LeeAuditoria();
        const QList<QByteArray> csv =
            views::ExportaCsv(r, views::CargaMuestras(r, Unit::Celsius), textos, Unit::Celsius, {}, c).split('\n');
        // A circular memory holds the newest samples; a straight mission stops when it is full.
        const int held = std::min<int>(int(count), records::kCapacity);
        const int firstHeld = int(count) - held;
        ASSERT_EQ(csv.size(), 12 + held + 1) << "a line per sample held and nothing after";
        for (int i = 0; i < held; ++i) {
            const QDateTime t = when[size_t(firstHeld + i)];
            const float temp = float(RawAGrados(quint8(taken[firstHeld + i]), Unit::Celsius));
            ASSERT_EQ(csv[12 + i].chopped(1).split(',').mid(2),
                      (QList<QByteArray>{'"' + views::numericDate(t, c).toLatin1() + '"', '"' + views::numericTime(t, c).toLatin1() + '"',
                                         '"' + views::format0_0Dot(temp).toLatin1() + '"'}))
                << "line " << 13 + i << ", sample " << firstHeld + i;
        }
        EXPECT_EQ(test::expectAlarmRowsAreCrossings(r, taken, [&when](qint64 n) { return when[size_t(n)]; }),
                  overwrittenRows);
    }
}
