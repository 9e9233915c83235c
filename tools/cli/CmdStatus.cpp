#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"
#include "tools/cli/LoggerLink.h"

#include "link/LoggerStatus.h"

#include <QTextStream>

namespace orvan::cli {

namespace {

// The snapshot as one JSON object, keys in the snapshot's own order.
QString toJson(const link::EstadoKLV& e)
{
    JsonObject json;
    json.add("Comunicado", e.Comunicado)
        .add("EsperaInicio", qint64(e.EsperaInicio))
        .addDate("HoraPrep", e.HoraPrep)
        .add("LimInf", qint64(e.LimInf))
        .add("LimSup", qint64(e.LimSup))
        .add("Intervalo", qint64(e.Intervalo))
        .add("TempActual", qint64(e.TempActual))
        .add("DemoraInicio", qint64(e.DemoraInicio))
        .add("NumMuestras", qint64(e.NumMuestras))
        .add("Exportador", e.Exportador)
        .add("Transportador", e.Transportador)
        .add("SerieKLV", e.SerieKLV)
        .add("ModoKLV", qint64(e.ModoKLV))
        .add("EstadoByte", qint64(e.EstadoByte))
        .add("Circular", e.Circular)
        .add("ArranquePulsador", e.ArranquePulsador)
        .add("Guardado", e.Guardado)
        .add("SinDatos", e.SinDatos)
        .add("Registrando", e.Registrando)
        .add("AlarmaLo", e.AlarmaLo)
        .add("AlarmaHi", e.AlarmaHi)
        .add("VerFw", QList<int>{e.VerFw1, e.VerFw2, e.VerFw3});
    return json.text();
}

} // namespace

int runStatus(const Invocation& inv)
{
    // The device-data window's poll: blocks 0, 8, 15 and 2, then 8 again.
    LoggerLink logger(inv, link::LinkProfile::frmsave());
    const link::EstadoKLV estado = logger.estado(inv.gradosC);
    if (!logger.errors().isEmpty())
        logger.fail({});
    QTextStream out(stdout);
    out << toJson(estado);
    return 0;
}

} // namespace orvan::cli
