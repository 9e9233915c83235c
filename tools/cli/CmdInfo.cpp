#include "tools/cli/Commands.h"

#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "shell/RuntimeError.h"

#include <QDateTime>
#include <QTextStream>

namespace orvan::cli {

namespace {

QString jsonText(const QString& s)
{
    QString out = QStringLiteral("\"");
    for (QChar ch : s) {
        switch (ch.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (ch.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += ch;
        }
    }
    return out + QLatin1Char('"');
}

QString jsonDate(const QDateTime& t)
{
    return jsonText(t.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm")));
}

QString jsonBool(bool b)
{
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

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
    QStringList campos;
    const auto entero = [&](const char* clave, qint64 v) { campos << QStringLiteral("\"%1\": %2").arg(QLatin1String(clave)).arg(v); };
    const auto valor = [&](const char* clave, const QString& v) { campos << QStringLiteral("\"%1\": %2").arg(QLatin1String(clave), v); };
    entero("EsperaInicio", c.EsperaInicio);
    entero("DemoraInicio", c.DemoraInicio);
    entero("LoThreshold", c.LoThreshold);
    entero("HiThreshold", c.HiThreshold);
    entero("Rango", c.Rango);
    entero("NumMuestras", c.NumMuestras);
    entero("PrimeraMuestra", c.PrimeraMuestra);
    entero("UltimaMuestra", c.UltimaMuestra);
    valor("Circular", jsonBool(c.Circular));
    valor("AlarmaHi", jsonBool(c.AlarmaHi));
    valor("AlarmaLo", jsonBool(c.AlarmaLo));
    valor("ArchivoOk", jsonBool(c.ArchivoOk));
    valor("Exportador", jsonText(c.Exportador));
    valor("Transportador", jsonText(c.Transportador));
    valor("NumSerie", jsonText(c.NumSerie));
    valor("InicioMision", jsonDate(c.InicioMision));
    valor("FinMision", jsonDate(c.FinMision));
    valor("InicioDatos", jsonDate(c.InicioDatos));
    valor("FinDatos", jsonDate(c.FinDatos));
    QStringList textos;
    for (const QString& m : mensajes)
        textos << jsonText(m);
    valor("mensajes", QLatin1Char('[') + textos.join(QStringLiteral(", ")) + QLatin1Char(']'));

    out.setEncoding(QStringConverter::Utf8);
    out << "{\n  " << campos.join(QStringLiteral(",\n  ")) << "\n}\n";
    return 0;
}

} // namespace orvan::cli
