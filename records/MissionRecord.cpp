#include "records/MissionRecord.h"

#include "base/Encodings.h"
#include "base/Ansi.h"
#include "base/RuntimeError.h"

#include <cstring>
#include <limits>
#include <optional>

namespace orvan::records {

namespace {

constexpr int kNameLength = 12;

} // namespace

QString startDateMessage()
{
    return QStringLiteral("Error de fecha de inicio\r\nSe adopta 1/1/2011 00:00");
}

QDateTime fallbackDate()
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
    if (from < to)
        std::memcpy(m_memoria.data() + from, bytes.constData() + (from - start), size_t(to - from));
}

QString MissionRecord::TextoMemoria(int start, int length) const
{
    if (start < 0 || length < 0 || qint64(start) + length > kMemoriaSize)
        throw RuntimeError(RuntimeError::SubscriptOutOfRange, QStringLiteral("Subscript out of range"));
    return ansiDecode(m_memoria.mid(start, length));
}

QDateTime MissionRecord::heldSampleTime(int i) const
{
    // The data start is the mission start, from which mission sample n lies n intervals on.
    return addMinutes(campos.InicioDatos, (qint64(campos.PrimeraMuestra) + i) * campos.Rango).value_or(QDateTime());
}

std::optional<quint8> MissionRecord::missionSample(qint64 n) const
{
    if (wrapped() && (n < campos.PrimeraMuestra || n >= campos.UltimaMuestra))
        return std::nullopt;
    return muestra(slotOf(n));
}

QStringList MissionRecord::LeeAuditoria()
{
    QStringList messages;
    Auditoria& c = campos;
    const quint8 modeByte = byte(AddrMode);
    const quint8 statusByte = byte(AddrStatus);

    // The delays are unsigned: the preparation programs up to 64800 minutes and the live status
    // reads them unsigned, so a delay of 32768 minutes or more is a valid record, not an error.
    c.EsperaInicio = byte(AddrWait) + 256 * byte(AddrWait + 1);
    c.DemoraInicio = byte(AddrDelay) + 256 * byte(AddrDelay + 1);
    c.HiThreshold = byte(AddrHighLimit);
    c.LoThreshold = byte(AddrLowLimit);
    c.Rango = byte(AddrInterval);
    c.NumMuestras = byte(AddrSampleCount + 2) * 65536 + byte(AddrSampleCount + 1) * 256 + byte(AddrSampleCount);

    const BitsEstado statusBits = DecodeEstado(statusByte);
    c.AlarmaHi = statusBits.AlarmaHi;
    c.AlarmaLo = statusBits.AlarmaLo;
    c.Circular = DecodeModo(modeByte).Circular;

    // A circular mission keeps only the last kCapacity samples; exactly a full memory has not wrapped.
    if (c.Circular) {
        c.PrimeraMuestra = c.NumMuestras > kCapacity ? c.NumMuestras - kCapacity : 0;
        c.UltimaMuestra = c.NumMuestras;
    } else {
        c.PrimeraMuestra = 0;
        c.UltimaMuestra = qMin(c.NumMuestras, kCapacity);
    }

    c.Exportador = TextoMemoria(AddrExporter, kNameLength);
    c.Transportador = TextoMemoria(AddrCarrier, kNameLength);

    const int serial = byte(AddrSerial) * 65536 + byte(AddrSerial + 1) * 256 + byte(AddrSerial + 2);
    c.NumSerie = QString::number(serial).leftJustified(8, QLatin1Char(' '));
    c.NumSerie5 = c.NumSerie.left(5);
    c.ArchivoOk = true;

    // From here on a failing step shows the start-date message, puts the start at the fall-back
    // date and lets the following steps run from it. The failing step's own field takes the
    // fall-back date too, so no value of an earlier record survives into this one.
    const auto fail = [&](QDateTime& field) {
        messages.append(startDateMessage());
        field = fallbackDate();
        c.InicioMision = fallbackDate();
    };

    std::optional<QDateTime> missionStart;
    {
        const auto minute = strictBcd(byte(AddrStampMinute));
        const auto hour = strictBcd(byte(AddrStampHour));
        const auto day = strictBcd(byte(AddrStampDay));
        const auto month = strictBcd(byte(AddrStampMonth));
        const auto year = strictBcd(byte(AddrStampYear));
        if (minute && hour && day && month && year)
            missionStart = composeDate(2000 + *year, *month, *day, *hour, *minute);
    }
    if (missionStart)
        c.InicioMision = *missionStart;
    else
        fail(c.InicioMision);

    if (const auto t = addMinutes(c.InicioMision, qint64(c.DemoraInicio) + c.EsperaInicio))
        c.InicioMision = *t;
    else
        fail(c.InicioMision);

    // Sample count times interval is a 32-bit product on the logger's side: one that does not
    // fit is a failed step like a date past the calendar.
    const auto duration = [](qint32 samples, qint32 interval) -> qint64 {
        const qint64 minutes = qint64(samples) * interval;
        return minutes > std::numeric_limits<qint32>::max() ? std::numeric_limits<qint64>::max() : minutes;
    };
    if (const auto t = addMinutes(c.InicioMision, duration(c.NumMuestras, c.Rango)))
        c.FinMision = *t;
    else
        fail(c.FinMision);

    c.InicioDatos = c.InicioMision;

    if (const auto t = addMinutes(c.InicioMision, duration(c.UltimaMuestra, c.Rango)))
        c.FinDatos = *t;
    else
        fail(c.FinDatos);

    return messages;
}

} // namespace orvan::records
