// stats, alarms and csv: what the histogram, proportions, alarm list and export show of a
// record file, computed by the same code as the windows, in the system's locale.

#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"

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

void writeOut(const QString& text)
{
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << text;
}

} // namespace

int runStats(const Invocation& inv)
{
    records::MissionRecord record;
    readRecord(record, inv.positional.first(), inv.idioma);
    const views::ZoneCounts h = views::CuentaMuestras(record, inv.gradosC, views::CountView::Histogram);
    const views::ZoneCounts p = views::CuentaMuestras(record, inv.gradosC, views::CountView::Proportions);
    writeOut(QStringLiteral("{\n  \"histograma\": {\n    \"Cuentas\": %1,\n    \"Porcentajes\": %2,\n"
                           "    \"HistoMuestras\": %3,\n    \"HistoEquipo\": %4\n  },\n"
                           "  \"proporciones\": {\n    \"Cuentas\": %5,\n    \"Porcentajes\": %6\n  }\n}\n")
                .arg(table(h.Cuentas), table(h.Porcentajes), list(h.HistoMuestras), list(h.HistoEquipo),
                     table(p.Cuentas), table(p.Porcentajes)));
    return 0;
}

int runAlarms(const Invocation& inv)
{
    records::MissionRecord record;
    readRecord(record, inv.positional.first(), inv.idioma);
    const auto rows = views::MuestraAlarmas(views::CargaAlarmas(record, inv.gradosC), QLocale());
    QStringList items;
    for (int r = 1; r <= views::kAlarmRows; ++r) {
        const views::AlarmRow& f = rows[size_t(r)];
        const QString date = f.filled ? JsonObject::quoted(f.date.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm")))
                                      : QStringLiteral("null");
        const QString temp = f.filled ? views::singleText(f.temp, QLocale::c()) : QStringLiteral("null");
        items << QStringLiteral("  {\"fila\": %1, \"fecha\": %2, \"temp\": %3}").arg(r).arg(date, temp);
    }
    writeOut(QStringLiteral("[\n") + items.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n"));
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
    const views::ListaMuestras list = views::CargaMuestras(record, inv.gradosC);
    const QByteArray csv = views::ExportaCsv(record, list, textos, inv.gradosC, record.NombreArchivo, QLocale());
    const views::CsvResult r = views::writeCsv(target, csv, path);
    if (!r.ok)
        throw Failure(QStringLiteral("cannot write ") + r.error);
    return 0;
}

} // namespace orvan::cli
