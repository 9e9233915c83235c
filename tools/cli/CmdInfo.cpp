#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"

#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "base/RuntimeError.h"

#include <QDateTime>
#include <QTextStream>

namespace orvan::cli {

int runInfo(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.size() != 1 || args.first().startsWith(QLatin1String("--"))) {
        err << "Usage: orvanlog-cli info FILE\n";
        return 2;
    }
    const QString path = args.first();

    records::MissionRecord record;
    const records::FileResult leido = records::LeerArchivo(record, path);
    if (!leido.ok) {
        const QString motivo = leido.number == RuntimeError::SubscriptOutOfRange
            ? QStringLiteral("longer than %1 bytes, not a record file").arg(records::kMemoriaSize)
            : leido.description;
        err << "orvanlog-cli: cannot read " << path << ": " << motivo << "\n";
        return 1;
    }
    const QStringList mensajes = record.LeeAuditoria();
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
        .add("mensajes", mensajes);

    out.setEncoding(QStringConverter::Utf8);
    out << json.text();
    return 0;
}

} // namespace orvan::cli
