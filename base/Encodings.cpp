#include "base/Encodings.h"

#include "base/RuntimeError.h"

#include <cmath>

namespace orvan {

static void overflowUnless(bool ok)
{
    if (!ok)
        throw RuntimeError(RuntimeError::Overflow, QStringLiteral("Overflow"));
}

quint8 ByteAlto(qint64 x)
{
    overflowUnless(x >= 0 && x <= 65535);
    return quint8(x / 256);
}

quint8 ByteBajo(qint64 x)
{
    return quint8(x - 256 * ByteAlto(x));
}

quint8 Byte2(qint64 x)
{
    overflowUnless(x >= 0 && x < 16777216);
    return quint8(x / 65536);
}

quint8 Byte1(qint64 x)
{
    return ByteAlto(x - 65536 * Byte2(x));
}

quint8 Byte0(qint64 x)
{
    return ByteBajo(x - 65536 * Byte2(x));
}

int Palabra(quint8 a, quint8 b)
{
    return a * 256 + b;
}

quint8 ABcd(int x)
{
    overflowUnless(x >= 0 && x <= 99);
    return quint8((x / 10) * 16 + x % 10);
}

QString Hex2(quint8 b)
{
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

QString BcdATexto(quint8 b)
{
    return Hex2(b);
}

int bcdLeadingValue(quint8 b)
{
    const int hi = b >> 4, lo = b & 0x0F;
    if (hi > 9)
        return 0;
    if (lo > 9)
        return hi;
    return hi * 10 + lo;
}

std::optional<int> strictBcd(quint8 b)
{
    const int hi = b >> 4, lo = b & 0x0F;
    if (hi > 9 || lo > 9)
        return std::nullopt;
    return hi * 10 + lo;
}

QString Dec2(int x)
{
    const QString s = QString::number(x);
    if (s.size() == 1)
        return QLatin1Char('0') + s;
    if (s.size() == 2)
        return s;
    return QStringLiteral("00");
}

static bool inCalendar(const QDateTime& t)
{
    return t.isValid() && t.date().year() >= 100 && t.date().year() <= 9999;
}

std::optional<QDateTime> composeDate(int year, int month, int day, int hour, int minute)
{
    // Months carry into years first, then days count from the first of that month.
    const int monthIndex = year * 12 + (month - 1);
    const int y = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    const int m = monthIndex - y * 12 + 1;
    const QDate first(y, m, 1);
    if (!first.isValid())
        return std::nullopt;
    QDateTime t(first.addDays(day - 1), QTime(0, 0), Qt::UTC);
    t = t.addSecs((qint64(hour) * 60 + minute) * 60);
    if (!inCalendar(t))
        return std::nullopt;
    return t;
}

std::optional<QDateTime> addMinutes(const QDateTime& t, qint64 minutes)
{
    // Stay far from QDateTime's own limits: anything past year 9999 is out of the calendar anyway.
    if (!t.isValid() || minutes > qint64(6000000000LL) || minutes < -qint64(6000000000LL))
        return std::nullopt;
    const QDateTime r = t.addSecs(minutes * 60);
    if (!inCalendar(r))
        return std::nullopt;
    return r;
}

QString formatDate(const QDateTime& t)
{
    return t.toString(QStringLiteral("dd/MM/yyyy - HH:mm"));
}

QString reformatDateCaption(const QString& text)
{
    static const char* const kFormats[] = {"dd/MM/yyyy - HH:mm", "dd/MM/yyyy HH:mm", "d/M/yyyy - H:mm",
                                           "d/M/yyyy H:mm",      "dd/MM/yyyy",       "d/M/yyyy"};
    const QString trimmed = text.trimmed();
    for (const char* format : kFormats) {
        const QDateTime t = QDateTime::fromString(trimmed, QString::fromLatin1(format));
        if (t.isValid())
            return t.toString(QStringLiteral("dd/MM/yyyy - HH:mm"));
    }
    return text;
}

std::optional<QDateTime> preparationStamp(const quint8 bcd[5])
{
    const int minute = bcdLeadingValue(bcd[0]);
    const int hour = bcdLeadingValue(bcd[1]);
    const int day = bcdLeadingValue(bcd[2]);
    const int month = bcdLeadingValue(bcd[3]);
    const int yy = bcdLeadingValue(bcd[4]);
    const int year = yy < 30 ? 2000 + yy : 1900 + yy;
    return composeDate(year, month, day, hour, minute);
}

double RawAGrados(int raw, Unit unit)
{
    // Integer arithmetic first keeps the halves exact, so rounding to even behaves.
    if (unit == Unit::Celsius)
        return raw / 2.0 - 40.0;
    return (raw * 9) / 10.0 - 40.0;
}

int GradosARaw(double degrees, Unit unit)
{
    const double raw = unit == Unit::Celsius ? (degrees + 40.0) * 2.0 : (degrees + 40.0) * 10.0 / 9.0;
    return int(std::nearbyint(raw));
}

int wholeDegrees(int raw, Unit unit)
{
    return int(std::nearbyint(RawAGrados(raw, unit)));
}

QString UnidadTexto(Unit unit)
{
    return unit == Unit::Celsius ? QStringLiteral(" °C") : QStringLiteral(" °F");
}

QString Nombre12(const QString& s)
{
    QString t = s;
    while (t.startsWith(QLatin1Char(' ')))
        t.remove(0, 1);
    while (t.endsWith(QLatin1Char(' ')))
        t.chop(1);
    return t.left(12).leftJustified(12, QLatin1Char(' '));
}

BitsModo DecodeModo(quint8 mode)
{
    BitsModo b;
    b.Circular = mode & ModoCircular;
    b.ArranquePulsador = mode & ModoPulsador;
    b.Borrado = mode & ModoBorrar;
    return b;
}

BitsEstado DecodeEstado(quint8 status)
{
    BitsEstado b;
    b.Guardado = status & EstadoGuardado;
    b.SinDatos = status & EstadoSinDatos;
    b.Registrando = status & EstadoRegistrando;
    b.AlarmaLo = status & EstadoAlarmaLo;
    b.AlarmaHi = status & EstadoAlarmaHi;
    return b;
}

} // namespace orvan
