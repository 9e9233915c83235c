#include "views/CsvExport.h"

#include "base/Ansi.h"
#include "base/Encodings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "views/SampleList.h"
#include "views/ViewFormats.h"

#include <QDir>
#include <QFileInfo>

namespace orvan::views {

QByteArray csvLine(const QStringList& campos)
{
    QByteArray line;
    for (int i = 0; i < campos.size(); ++i) {
        if (i > 0)
            line += ',';
        QString field = campos.at(i);
        // A quotation mark inside a field would otherwise end it early and shift every field after.
        field.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        line += '"' + ansiEncode(field) + '"';
    }
    return line + "\r\n";
}

QByteArray ExportaCsv(const records::MissionRecord& record, const ListaMuestras& list, const TextTable& t,
                      Unit unit, const QString& nombreArchivo, const QLocale& locale)
{
    const auto& c = record.campos;
    const QString e;
    const auto limit = [unit](int raw) { return format0_0Dot(float(RawAGrados(raw, unit))); };

    QByteArray csv;
    csv += csvLine({t[Text::LoggerSerial], c.NumSerie, e, e, e});
    csv += csvLine({t[Text::FileName], nombreArchivo, e, e, e});
    csv += csvLine({t[Text::ExporterName], c.Exportador, e, e, e});
    csv += csvLine({t[Text::CarrierName], c.Transportador, e, e, e});
    // The data start is the first sample listed: the mission start, unless a circular memory has
    // overwritten the oldest samples since.
    const QDateTime start = record.wrapped() ? record.heldSampleTime(0) : c.InicioDatos;
    csv += csvLine({t[Text::StartTime], e, numericDate(start, locale), numericTime(start, locale), e});
    csv += csvLine({t[Text::FinishTime], e, numericDate(c.FinDatos, locale), numericTime(c.FinDatos, locale), e});
    csv += csvLine({t[Text::IntervalMinutes], QString::number(c.Rango), e, e, e});
    csv += csvLine({t[Text::SampleQuantity], QString::number(list.CantLista), e, e, e});
    csv += csvLine({t[Text::LowLimit], limit(c.LoThreshold), e, e, e});
    csv += csvLine({t[Text::HighLimit], limit(c.HiThreshold), e, e, e});
    csv += csvLine({e, e, e, e, e});
    csv += csvLine(
        {t[Text::SampleNumber], t[Text::Elapsed], t[Text::Date], t[Text::ClockTime], t[Text::Temperature]});
    csv.reserve(csv.size() + list.CantLista * 48);
    for (int i = 1; i <= list.CantLista; ++i) {
        const Sample& m = list.entry(i);
        csv += csvLine({QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')), QString::number(qint64(c.Rango) * (i - 1)),
                         numericDate(m.FechaMuestra, locale), numericTime(m.FechaMuestra, locale),
                         format0_0Dot(m.TempMuestra)});
    }
    return csv;
}

QString csvPath(const QString& archivo)
{
    if (archivo.size() < 4)
        return {};
    return archivo.left(archivo.size() - 3) + QStringLiteral("csv");
}

CsvResult writeCsv(const QString& path, const QByteArray& content, const QString& recordFile, const WriteBytes& write)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!recordFile.isEmpty() && QFileInfo(path).absoluteFilePath() == QFileInfo(recordFile).absoluteFilePath())
        return {false, QStringLiteral("%1: would overwrite the record file itself").arg(shownPath)};
    const AtomicWrite w = writeAtomically(path, content, write);
    if (!w.ok())
        return {false, QStringLiteral("%1: %2").arg(shownPath, w.errorString)};
    return {true, {}};
}

} // namespace orvan::views
