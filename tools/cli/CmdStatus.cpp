#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"
#include "tools/cli/LoggerLink.h"
#include "tools/cli/Output.h"

#include "link/LoggerStatus.h"


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

// The snapshot for people: the JSON's rows in its order, with the start and end the status
// panel computes from them beside the preparation stamp.
TextGrid toTable(const link::EstadoKLV& e, const Invocation& inv)
{
    const Labels l(inv.idioma);
    const QString unit = unitSymbol(inv.unit);
    TextGrid table;
    table.row({l(Text::Linked), l.flag(e.Comunicado)})
        .row({l(AddedText::StartWait), e.EsperaInicio, "min"})
        .row({l(AddedText::PreparedAt), tableDate(e.HoraPrep)})
        .row({l(Text::StartTime), tableDate(e.inicioMision().value_or(QDateTime()))})
        .row({l(Text::FinishTime), tableDate(e.finMision().value_or(QDateTime()))})
        .row({l(Text::LowLimit), e.LimInf, unit})
        .row({l(Text::HighLimit), e.LimSup, unit})
        .row({l(Text::TimeBetweenSamples), e.Intervalo, "min"})
        .row({l(Text::Temperature), e.TempActual, unit})
        .row({l(AddedText::StartDelay), e.DemoraInicio, "min"})
        .row({l(Text::SampleCount), e.NumMuestras})
        .row({l(Text::ExporterName), e.Exportador})
        .row({l(Text::CarrierName), e.Transportador})
        .row({l(Text::LoggerSerial), e.SerieKLV.trimmed()})
        .row({l(AddedText::ModeByte), int(e.ModoKLV)})
        .row({l(AddedText::StatusByte), int(e.EstadoByte)})
        .row({l(Text::CircularWriting), l.flag(e.Circular)})
        .row({l(Text::StartWithButton), l.flag(e.ArranquePulsador)})
        .row({l(Text::DataSaved), l.flag(e.Guardado)})
        .row({l(Text::LoggerEmpty), l.flag(e.SinDatos)})
        .row({l(Text::LoggerRecording), l.flag(e.Registrando)})
        .row({l(AddedText::LowLimitExceeded), l.flag(e.AlarmaLo)})
        .row({l(AddedText::HighLimitExceeded), l.flag(e.AlarmaHi)})
        .row({l(AddedText::FirmwareVersion), QStringLiteral("%1.%2.%3").arg(e.VerFw1).arg(e.VerFw2).arg(e.VerFw3)});
    return table;
}

} // namespace

int runStatus(const Invocation& inv)
{
    // The device-data window's poll: blocks 0, 8, 15 and 2, then 8 again.
    LoggerLink logger(inv, link::LinkProfile::frmsave());
    const link::EstadoKLV estado = logger.estado(inv.unit);
    if (!logger.errors().isEmpty())
        logger.fail({});
    printResult(inv, toJson(estado), toTable(estado, inv).text());
    return 0;
}

} // namespace orvan::cli
