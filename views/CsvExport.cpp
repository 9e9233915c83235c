#include "views/CsvExport.h"

#include "base/Ansi.h"
#include "base/Encodings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "views/SampleList.h"
#include "views/ViewFormats.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace orvan::views {

QByteArray lineaCsv(const QStringList& campos)
{
    QByteArray linea;
    for (int i = 0; i < campos.size(); ++i) {
        if (i > 0)
            linea += ',';
        QString campo = campos.at(i);
        // A quotation mark inside a field would otherwise end it early and shift every field after.
        campo.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        linea += '"' + ansiEncode(campo) + '"';
    }
    return linea + "\r\n";
}

QByteArray ExportaCsv(const records::MissionRecord& record, const ListaMuestras& lista, const TextTable& t,
                      int gradosC, const QString& nombreArchivo, const QLocale& locale)
{
    const auto& c = record.campos;
    const QString e;
    const auto limite = [gradosC](int raw) { return Formato0_0Punto(float(RawAGrados(raw, gradosC))); };

    QByteArray csv;
    csv += lineaCsv({t[48], c.NumSerie, e, e, e});
    csv += lineaCsv({t[50], nombreArchivo, e, e, e});
    csv += lineaCsv({t[34], c.Exportador, e, e, e});
    csv += lineaCsv({t[35], c.Transportador, e, e, e});
    csv += lineaCsv({t[0], e, FechaNumerica(c.InicioDatos, locale), HoraNumerica(c.InicioDatos, locale), e});
    csv += lineaCsv({t[1], e, FechaNumerica(c.FinDatos, locale), HoraNumerica(c.FinDatos, locale), e});
    csv += lineaCsv({t[32], QString::number(c.Rango), e, e, e});
    csv += lineaCsv({t[22], QString::number(lista.CantLista - 1), e, e, e});
    csv += lineaCsv({t[4], limite(c.LoThreshold), e, e, e});
    csv += lineaCsv({t[5], limite(c.HiThreshold), e, e, e});
    csv += lineaCsv({e, e, e, e, e});
    csv += lineaCsv({t[65], t[66], t[21], t[67], t[68]});
    csv.reserve(csv.size() + lista.CantLista * 48);
    for (int i = 1; i <= lista.CantLista; ++i) {
        const Muestra& m = lista.entrada(i);
        csv += lineaCsv({QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')), QString::number(qint64(c.Rango) * (i - 1)),
                         FechaNumerica(m.FechaMuestra, locale), HoraNumerica(m.FechaMuestra, locale),
                         Formato0_0Punto(m.TempMuestra)});
    }
    return csv;
}

QString RutaCsv(const QString& archivo)
{
    if (archivo.size() < 4)
        return {};
    return archivo.left(archivo.size() - 3) + QStringLiteral("csv");
}

CsvResult EscribeCsv(const QString& ruta, const QByteArray& contenido, const QString& archivoRegistro)
{
    const QString nativo = QDir::toNativeSeparators(ruta);
    if (!archivoRegistro.isEmpty() && QFileInfo(ruta).absoluteFilePath() == QFileInfo(archivoRegistro).absoluteFilePath())
        return {false, QStringLiteral("%1: would overwrite the record file itself").arg(nativo)};
    QSaveFile f(ruta);
    if (!f.open(QIODevice::WriteOnly))
        return {false, QStringLiteral("%1: %2").arg(nativo, f.errorString())};
    if (f.write(contenido) != contenido.size() || !f.commit())
        return {false, QStringLiteral("%1: %2").arg(nativo, f.errorString())};
    return {true, {}};
}

} // namespace orvan::views
