#include "records/RecordCaptions.h"

#include "base/DisplayText.h"
#include "base/Encodings.h"
#include "records/MissionRecord.h"

namespace orvan::records {

RecordCaptions recordCaptions(const MissionRecord& record, Unit unit, const QLocale& locale)
{
    const Auditoria& c = record.campos;
    const QString unitText = UnidadTexto(unit);
    const auto degreesText = [&](int raw) { return locale.toString(RawAGrados(raw, unit)); };
    RecordCaptions t;
    t.alarmaHi = QStringLiteral(" > ") + degreesText(c.HiThreshold) + unitText;
    t.alarmaLo = QStringLiteral(" < ") + degreesText(c.LoThreshold) + unitText;
    t.inicioMision = formatDate(c.InicioMision);
    t.finMision = formatDate(c.FinMision);
    t.numMuestras = QString::number(c.NumMuestras);
    t.rango = QString::number(c.Rango) + QStringLiteral("min.");
    // Names come from the logger's memory or the file system and may hold any byte.
    t.archivo = oneLineText(record.NombreArchivo);
    t.exportador = oneLineText(c.Exportador);
    t.transportador = oneLineText(c.Transportador);
    t.numSerie = c.NumSerie;
    t.hiExceeded = c.AlarmaHi;
    t.loExceeded = c.AlarmaLo;
    return t;
}

} // namespace orvan::records
