#include "records/MissionRecord.h"

#include "base/Encodings.h"
#include "base/Ansi.h"
#include "base/RuntimeError.h"

#include <limits>
#include <optional>

namespace orvan::records {

namespace {

// Addresses of the header fields in the image.
enum Direccion {
    DirEspera = 0, DirLimiteBajo = 11, DirLimiteAlto = 12, DirRango = 13, DirDemora = 18,
    DirSelloMinuto = 21, DirSelloHora = 22, DirSelloDia = 23, DirSelloMes = 24, DirSelloAnio = 25,
    DirMuestras = 26, DirExportador = 64, DirTransportador = 76, DirSerie = 90,
    DirModo = 256, DirEstado = 258,
};

constexpr int kLargoNombre = 12;

} // namespace

QString mensajeFechaInicio()
{
    return QStringLiteral("Error de fecha de inicio\r\nSe adopta 1/1/2011 00:00");
}

QDateTime fechaRespaldo()
{
    return QDateTime(QDate(2011, 1, 1), QTime(0, 0), Qt::UTC);
}

MissionRecord::MissionRecord()
    : m_memoria(kMemoriaSize, '\0')
{
}

void MissionRecord::clear()
{
    m_memoria.fill('\0');
}

void MissionRecord::setByte(qint64 index, quint8 value)
{
    if (inImage(index))
        m_memoria[int(index)] = char(value);
}

void MissionRecord::setBytes(qint64 start, const QByteArray& bytes)
{
    // Clip to the image: the part of `bytes` that falls inside 0..kMemoriaSize-1.
    const qint64 from = qMax<qint64>(start, 0);
    const qint64 to = qMin<qint64>(start + bytes.size(), kMemoriaSize);
    for (qint64 i = from; i < to; ++i)
        m_memoria[int(i)] = bytes.at(int(i - start));
}

QString MissionRecord::TextoMemoria(int start, int length) const
{
    if (start < 0 || length < 0 || qint64(start) + length > kMemoriaSize)
        throw RuntimeError(RuntimeError::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    return ansiDecode(m_memoria.mid(start, length));
}

QStringList MissionRecord::LeeAuditoria()
{
    QStringList mensajes;
    Auditoria& c = campos;
    const quint8 modo = byte(DirModo);
    const quint8 estado = byte(DirEstado);

    // The delays are unsigned: the preparation programs up to 64800 minutes and the live status
    // reads them unsigned, so a delay of 32768 minutes or more is a valid record, not an error.
    c.EsperaInicio = byte(DirEspera) + 256 * byte(DirEspera + 1);
    c.DemoraInicio = byte(DirDemora) + 256 * byte(DirDemora + 1);
    c.HiThreshold = byte(DirLimiteAlto);
    c.LoThreshold = byte(DirLimiteBajo);
    c.Rango = byte(DirRango);
    c.NumMuestras = byte(DirMuestras + 2) * 65536 + byte(DirMuestras + 1) * 256 + byte(DirMuestras);

    const BitsEstado bitsEstado = DecodeEstado(estado);
    c.AlarmaHi = bitsEstado.AlarmaHi;
    c.AlarmaLo = bitsEstado.AlarmaLo;
    c.Circular = DecodeModo(modo).Circular;

    // A circular mission keeps only the last kCapacity samples; exactly a full memory has not wrapped.
    if (c.Circular) {
        c.PrimeraMuestra = c.NumMuestras > kCapacity ? c.NumMuestras - kCapacity : 0;
        c.UltimaMuestra = c.NumMuestras;
    } else {
        c.PrimeraMuestra = 0;
        c.UltimaMuestra = qMin(c.NumMuestras, kCapacity);
    }

    c.Exportador = TextoMemoria(DirExportador, kLargoNombre);
    c.Transportador = TextoMemoria(DirTransportador, kLargoNombre);

    const int serie = byte(DirSerie) * 65536 + byte(DirSerie + 1) * 256 + byte(DirSerie + 2);
    c.NumSerie = QString::number(serie).leftJustified(8, QLatin1Char(' '));
    c.NumSerie5 = c.NumSerie.left(5);
    c.ArchivoOk = true;

    // From here on a failing step shows the start-date message, puts the start at the fall-back
    // date and lets the following steps run from it. The failing step's own field takes the
    // fall-back date too, so no value of an earlier record survives into this one.
    const auto falla = [&](QDateTime& campo) {
        mensajes.append(mensajeFechaInicio());
        campo = fechaRespaldo();
        c.InicioMision = fechaRespaldo();
    };

    std::optional<QDateTime> inicio;
    {
        const auto minuto = BcdEstricto(byte(DirSelloMinuto));
        const auto hora = BcdEstricto(byte(DirSelloHora));
        const auto dia = BcdEstricto(byte(DirSelloDia));
        const auto mes = BcdEstricto(byte(DirSelloMes));
        const auto anio = BcdEstricto(byte(DirSelloAnio));
        if (minuto && hora && dia && mes && anio)
            inicio = FechaSerial(2000 + *anio, *mes, *dia, *hora, *minuto);
    }
    if (inicio)
        c.InicioMision = *inicio;
    else
        falla(c.InicioMision);

    if (const auto t = SumaMinutos(c.InicioMision, qint64(c.DemoraInicio) + c.EsperaInicio))
        c.InicioMision = *t;
    else
        falla(c.InicioMision);

    // Sample count times interval is a 32-bit product on the logger's side: one that does not
    // fit is a failed step like a date past the calendar.
    const auto duracion = [](qint32 muestras, qint32 rango) -> qint64 {
        const qint64 minutos = qint64(muestras) * rango;
        return minutos > std::numeric_limits<qint32>::max() ? std::numeric_limits<qint64>::max() : minutos;
    };
    if (const auto t = SumaMinutos(c.InicioMision, duracion(c.NumMuestras, c.Rango)))
        c.FinMision = *t;
    else
        falla(c.FinMision);

    c.InicioDatos = c.InicioMision;

    if (const auto t = SumaMinutos(c.InicioMision, duracion(c.UltimaMuestra, c.Rango)))
        c.FinDatos = *t;
    else
        falla(c.FinDatos);

    return mensajes;
}

} // namespace orvan::records
