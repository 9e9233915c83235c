#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"
#include "tools/cli/Output.h"

#include "base/Encodings.h"

#include "records/MissionRecord.h"
#include "records/RecordFile.h"

#include <QDateTime>

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

    // The same rows for people, in the same order.
    const Labels l(inv.idioma);
    const QString unit = unitSymbol(inv.unit);
    const auto degrees = [&](int raw) { return TextGrid::Cell::numeric(degreesText(RawAGrados(raw, inv.unit))); };
    TextGrid table;
    table.row({l(AddedText::StartWait), c.EsperaInicio, "min"})
        .row({l(AddedText::StartDelay), c.DemoraInicio, "min"})
        .row({l(Text::LowLimit), degrees(c.LoThreshold), unit})
        .row({l(Text::HighLimit), degrees(c.HiThreshold), unit})
        .row({l(Text::TimeBetweenSamples), c.Rango, "min"})
        .row({l(Text::SampleCount), c.NumMuestras})
        .row({l(AddedText::FirstSampleHeld), c.PrimeraMuestra})
        .row({l(AddedText::LastSampleHeld), c.UltimaMuestra})
        .row({l(Text::CircularWriting), l.flag(c.Circular)})
        .row({l(AddedText::HighLimitExceeded), l.flag(c.AlarmaHi)})
        .row({l(AddedText::LowLimitExceeded), l.flag(c.AlarmaLo)})
        .row({l(AddedText::HeaderDecoded), l.flag(c.ArchivoOk)})
        .row({l(Text::ExporterName), c.Exportador})
        .row({l(Text::CarrierName), c.Transportador})
        .row({l(Text::LoggerSerial), c.NumSerie.trimmed()})
        .row({l(Text::StartTime), tableDate(c.InicioMision)})
        .row({l(Text::FinishTime), tableDate(c.FinMision)})
        .row({l(AddedText::FirstSampleTime), tableDate(c.InicioDatos)})
        .row({l(AddedText::LastSampleTime), tableDate(c.FinDatos)});
    for (int i = 0; i < messages.size(); ++i)
        table.row({i == 0 ? l(AddedText::Messages) : QString(), messages.at(i)});
    printResult(inv, json.text(), table.text());
    return 0;
}

} // namespace orvan::cli
