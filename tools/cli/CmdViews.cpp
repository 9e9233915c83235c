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

void leeRegistro(records::MissionRecord& record, const QString& path)
{
    const records::FileResult leido = records::LeerArchivo(record, path);
    if (!leido.ok)
        throw Failure(QStringLiteral("cannot read %1: %2").arg(path, leido.description));
    record.LeeAuditoria();
    record.Archivo = path;
    record.NombreArchivo = QFileInfo(path).fileName();
}

template <typename Fila>
QString lista(const Fila& fila)
{
    QStringList items;
    for (const auto v : fila)
        items << QString::number(v);
    return QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']');
}

template <typename Filas>
QString tabla(const Filas& filas)
{
    return QLatin1Char('[') + lista(filas[0]) + QStringLiteral(", ") + lista(filas[1]) + QLatin1Char(']');
}

void escribe(const QString& texto)
{
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << texto;
}

} // namespace

int runStats(const Invocation& inv)
{
    records::MissionRecord record;
    leeRegistro(record, inv.positional.first());
    const views::ZoneCounts h = views::CuentaMuestras(record, inv.gradosC, views::Vista::Histograma);
    const views::ZoneCounts p = views::CuentaMuestras(record, inv.gradosC, views::Vista::Proporciones);
    escribe(QStringLiteral("{\n  \"histograma\": {\n    \"Cuentas\": %1,\n    \"Porcentajes\": %2,\n"
                           "    \"HistoMuestras\": %3,\n    \"HistoEquipo\": %4\n  },\n"
                           "  \"proporciones\": {\n    \"Cuentas\": %5,\n    \"Porcentajes\": %6\n  }\n}\n")
                .arg(tabla(h.Cuentas), tabla(h.Porcentajes), lista(h.HistoMuestras), lista(h.HistoEquipo),
                     tabla(p.Cuentas), tabla(p.Porcentajes)));
    return 0;
}

int runAlarms(const Invocation& inv)
{
    records::MissionRecord record;
    leeRegistro(record, inv.positional.first());
    const auto filas = views::MuestraAlarmas(views::CargaAlarmas(record, inv.gradosC), QLocale());
    QStringList items;
    for (int r = 1; r <= views::kFilasAlarma; ++r) {
        const views::FilaAlarma& f = filas[size_t(r)];
        const QString fecha = f.llena ? JsonObject::quoted(f.fecha.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm")))
                                      : QStringLiteral("null");
        const QString temp = f.llena ? views::TextoSingle(f.temp, QLocale::c()) : QStringLiteral("null");
        items << QStringLiteral("  {\"fila\": %1, \"fecha\": %2, \"temp\": %3}").arg(r).arg(fecha, temp);
    }
    escribe(QStringLiteral("[\n") + items.join(QStringLiteral(",\n")) + QStringLiteral("\n]\n"));
    return 0;
}

int runCsv(const Invocation& inv)
{
    const QString path = inv.positional.first();
    records::MissionRecord record;
    leeRegistro(record, path);
    // Without -o the file goes where the export button puts it: next to the record.
    const QString destino = inv.has(QStringLiteral("-o")) ? inv.value(QStringLiteral("-o")) : views::RutaCsv(path);
    if (destino.isEmpty())
        throw UsageError(QStringLiteral("no output file: %1 is too short a name to take a \"csv\" ending; give -o OUT").arg(path));
    TextTable textos;
    textos.CargaTextos(inv.idioma);
    const views::ListaMuestras lista = views::CargaMuestras(record, inv.gradosC);
    const QByteArray csv = views::ExportaCsv(record, lista, textos, inv.gradosC, record.NombreArchivo, QLocale());
    const views::CsvResult r = views::EscribeCsv(destino, csv, path);
    if (!r.ok)
        throw Failure(QStringLiteral("cannot write ") + r.error);
    return 0;
}

} // namespace orvan::cli
