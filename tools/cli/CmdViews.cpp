// stats, alarms and csv: what the histogram, proportions, alarm list and export show of a
// record file, computed by the same code as the windows, in the system's locale.

#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"
#include "tools/cli/Output.h"

#include "base/Encodings.h"

#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "views/AlarmList.h"
#include "views/CsvExport.h"
#include "views/SampleList.h"
#include "views/ViewFormats.h"
#include "views/ZoneCounts.h"

#include <QFileInfo>
#include <QTextStream>

namespace orvan::cli {

namespace {

void readRecord(records::MissionRecord& record, const QString& path, int idioma)
{
    const records::FileResult loaded = records::LeerArchivo(record, path);
    if (!loaded.ok)
        throw Failure(records::failureLine(loaded, path, idioma));
    record.LeeAuditoria();
    record.Archivo = path;
    record.NombreArchivo = QFileInfo(path).fileName();
}

template <typename Row>
QString list(const Row& row)
{
    QStringList items;
    for (const auto v : row)
        items << QString::number(v);
    return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
}

template <typename Rows>
QString table(const Rows& rows)
{
    return QLatin1Char('[') + list(rows[0]) + QStringLiteral(", ") + list(rows[1]) + QLatin1Char(']');
}

// The limits of a record in the unit, as the zone and alarm tables name them.
struct Limits {
    QString low, high, unit;
};
Limits limitsOf(const records::MissionRecord& record, Unit unit)
{
    return {degreesText(RawAGrados(record.campos.LoThreshold, unit)),
            degreesText(RawAGrados(record.campos.HiThreshold, unit)), unitSymbol(unit)};
}

// One view's zone rows, below to above as a reader scans a scale, then the totals: the samples
// the record holds, then the logger's own count over the whole mission.
void addZones(TextGrid& table, const views::ZoneCounts& z, const Limits& limits, const Labels& l)
{
    struct ZoneRow {
        AddedText name;
        views::Zone zone;
        QString limits;
    };
    const ZoneRow rows[] = {
        {AddedText::ZoneBelow, views::Below, QStringLiteral("< %1 %2").arg(limits.low, limits.unit)},
        {AddedText::ZoneWithin, views::Within, QStringLiteral("%1 .. %2 %3").arg(limits.low, limits.high, limits.unit)},
        {AddedText::ZoneAbove, views::Above, QStringLiteral("> %1 %2").arg(limits.high, limits.unit)},
    };
    for (const ZoneRow& r : rows) {
        table.row({l(r.name), r.limits, z.Cuentas[0][r.zone], z.Porcentajes[0][r.zone], z.Cuentas[1][r.zone],
                   z.Porcentajes[1][r.zone]});
    }
    table.row({l(AddedText::AllZones), QString(), z.Cuentas[0][3], QString(), z.Cuentas[1][3]});
}

// The non-empty bins of the histogram's two charts, by increasing temperature; a bin only one
// chart has shows 0 in the other.
void addBins(TextGrid& table, const views::ZoneCounts& z, const records::MissionRecord& record, Unit unit)
{
    QMap<double, std::array<qint64, 2>> bins;
    for (int chart = 0; chart < 2; ++chart) {
        for (const views::Bar& bar : views::Bars(z, chart, record, unit))
            bins[bar.x][size_t(chart)] += bar.count;
    }
    for (auto it = bins.cbegin(); it != bins.cend(); ++it)
        table.row({TextGrid::Cell::numeric(degreesText(it.key())), it.value()[0], it.value()[1]});
}

} // namespace

int runStats(const Invocation& inv)
{
    records::MissionRecord record;
    readRecord(record, inv.positional.first(), inv.idioma);
    const views::ZoneCounts h = views::CuentaMuestras(record, inv.unit, views::CountView::Histogram);
    const views::ZoneCounts p = views::CuentaMuestras(record, inv.unit, views::CountView::Proportions);

    const Labels l(inv.idioma);
    const Limits limits = limitsOf(record, inv.unit);
    TextGrid zones;
    const TextGrid::Cell zoneHeader[] = {l(AddedText::Zone), l(AddedText::Limits), l(AddedText::RecordSamples), "%",
                                          l(AddedText::LoggerCount), "%"};
    zones.heading(l(Text::Histogram)).row({std::begin(zoneHeader), std::end(zoneHeader)});
    addZones(zones, h, limits, l);
    zones.heading(QString()).heading(l(Text::Proportions)).row({std::begin(zoneHeader), std::end(zoneHeader)});
    addZones(zones, p, limits, l);
    TextGrid bins;
    bins.row({QStringLiteral("%1 (%2)").arg(l(Text::Temperature), limits.unit), l(AddedText::RecordSamples),
              l(AddedText::LoggerCount)});
    addBins(bins, h, record, inv.unit);

    printResult(inv, QStringLiteral("{\n  \"histograma\": {\n    \"Cuentas\": %1,\n    \"Porcentajes\": %2,\n"
                           "    \"HistoMuestras\": %3,\n    \"HistoEquipo\": %4\n  },\n"
                           "  \"proporciones\": {\n    \"Cuentas\": %5,\n    \"Porcentajes\": %6\n  }\n}\n")
                .arg(table(h.Cuentas), table(h.Porcentajes), list(h.HistoMuestras), list(h.HistoEquipo),
                     table(p.Cuentas), table(p.Porcentajes)),
                zones.text() + QLatin1Char('\n') + bins.text());
    return 0;
}

int runAlarms(const Invocation& inv)
{
    records::MissionRecord record;
    readRecord(record, inv.positional.first(), inv.idioma);
    const auto rows = views::MuestraAlarmas(views::CargaAlarmas(record, inv.unit), QLocale());
    QStringList items;
    for (int r = 1; r <= views::kAlarmRows; ++r) {
        const views::AlarmRow& f = rows[size_t(r)];
        const QString date = f.filled ? JsonObject::quoted(f.date.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm")))
                                      : QStringLiteral("null");
        const QString temp = f.hasTemp ? views::singleText(f.temp, QLocale::c()) : QStringLiteral("null");
        items << QStringLiteral("  {\"fila\": %1, \"fecha\": %2, \"temp\": %3}").arg(r).arg(date, temp);
    }

    // For people: the low block under its limit, then the high block, empty rows left out.
    const Labels l(inv.idioma);
    const Limits limits = limitsOf(record, inv.unit);
    TextGrid table;
    table.row({l(AddedText::Row), l(Text::Date), QStringLiteral("%1 (%2)").arg(l(Text::Temperature), limits.unit)});
    const struct {
        Text limitName;
        QString limit;
        int first;
    } blocks[] = {{Text::LowLimit, limits.low, 1}, {Text::HighLimit, limits.high, views::kAlarmRows / 2 + 1}};
    for (const auto& block : blocks) {
        table.heading(QStringLiteral("%1: %2 %3").arg(l(block.limitName), block.limit, limits.unit));
        bool any = false;
        for (int r = block.first; r < block.first + views::kAlarmRows / 2; ++r) {
            const views::AlarmRow& f = rows[size_t(r)];
            if (!f.filled)
                continue;
            // A sample a circular memory has overwritten keeps its date and has no temperature.
            table.row({r, tableDate(f.date), TextGrid::Cell::numeric(f.hasTemp ? degreesText(f.temp) : QString())});
            any = true;
        }
        if (!any)
            table.row({QString(), l(AddedText::NoAlarmRows)});
    }
    printResult(inv, QStringLiteral("[\n") + items.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n"), table.text());
    return 0;
}

int runCsv(const Invocation& inv)
{
    const QString path = inv.positional.first();
    records::MissionRecord record;
    readRecord(record, path, inv.idioma);
    // Without -o the file goes where the export button puts it: next to the record.
    const QString target = inv.has(QStringLiteral("-o")) ? inv.value(QStringLiteral("-o")) : views::csvPath(path);
    if (target.isEmpty())
        throw UsageError(QStringLiteral("no output file: %1 is too short a name to take a \"csv\" ending; give -o OUT").arg(path));
    inv.refuseOutput(target);
    inv.makeDefaultFolderFor(target);
    TextTable textos;
    textos.CargaTextos(inv.idioma);
    const views::ListaMuestras list = views::CargaMuestras(record, inv.unit);
    const QByteArray csv = views::ExportaCsv(record, list, textos, inv.unit, record.NombreArchivo, QLocale());
    const views::CsvResult r = views::writeCsv(target, csv, path);
    if (!r.ok)
        throw Failure(QStringLiteral("cannot write ") + r.error);
    tellWritten(inv, target, csv.size());
    return 0;
}

} // namespace orvan::cli
