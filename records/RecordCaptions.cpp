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
    t.highLimit = QStringLiteral(" > ") + degreesText(c.HiThreshold) + unitText;
    t.lowLimit = QStringLiteral(" < ") + degreesText(c.LoThreshold) + unitText;
    t.start = formatDate(c.InicioMision);
    t.end = formatDate(c.FinMision);
    t.samples = QString::number(c.NumMuestras);
    t.interval = QString::number(c.Rango) + QStringLiteral("min.");
    // Names come from the logger's memory or the file system and may hold any byte.
    t.file = oneLineText(record.NombreArchivo);
    t.exporter = oneLineText(c.Exportador);
    t.carrier = oneLineText(c.Transportador);
    t.serial = c.NumSerie;
    t.highExceeded = c.AlarmaHi;
    t.lowExceeded = c.AlarmaLo;
    return t;
}

} // namespace orvan::records
