#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"

#include "records/MissionRecord.h"
#include "records/RecordFile.h"

#include <QDateTime>
#include <QTextStream>

namespace orvan::cli {

int runInfo(const Invocation& inv)
{
    const QString path = inv.positional.at(0);

    records::MissionRecord record;
    const records::FileResult readResult = records::LeerArchivo(record, path);
    if (!readResult.ok)
        throw Failure(records::failureLine(readResult, path, inv.idioma));
    const QStringList messages = record.LeeAuditoria();
    const records::Auditoria& c = record.campos;

    // Keys in the order a reader scans a record: timing, limits, counts, state, names, dates.
    JsonObject json;
    json.add("EsperaInicio", qint64(c.EsperaInicio))
        .add("DemoraInicio", qint64(c.DemoraInicio))
        .add("LoThreshold", qint64(c.LoThreshold))
        .add("HiThreshold", qint64(c.HiThreshold))
        .add("Rango", qint64(c.Rango))
        .add("NumMuestras", qint64(c.NumMuestras))
        .add("PrimeraMuestra", qint64(c.PrimeraMuestra))
        .add("UltimaMuestra", qint64(c.UltimaMuestra))
        .add("Circular", c.Circular)
        .add("AlarmaHi", c.AlarmaHi)
        .add("AlarmaLo", c.AlarmaLo)
        .add("ArchivoOk", c.ArchivoOk)
        .add("Exportador", c.Exportador)
        .add("Transportador", c.Transportador)
        .add("NumSerie", c.NumSerie)
        .addDate("InicioMision", c.InicioMision)
        .addDate("FinMision", c.FinMision)
        .addDate("InicioDatos", c.InicioDatos)
        .addDate("FinDatos", c.FinDatos)
        .add("mensajes", messages);

    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << json.text();
    return 0;
}

} // namespace orvan::cli
