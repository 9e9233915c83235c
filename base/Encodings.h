#pragma once
// The small value encodings shared by the logger link, the record file and the views:
// byte splitting for addresses and counts, BCD time stamps, the raw temperature scale,
// the 12-character name fields and the mode and status bits.

#include "base/Unit.h"

#include <QDateTime>
#include <QString>
#include <QtGlobal>
#include <optional>

namespace orvan {

// Byte splitting. A value out of range raises RuntimeError::Overflow, as the logger's
// 16- and 24-bit fields cannot hold it.
quint8 ByteAlto(qint64 x);   // bits 8-15 of 0..65535
quint8 ByteBajo(qint64 x);   // bits 0-7 of 0..65535
quint8 Byte2(qint64 x);      // bits 16-23 of 0..16777215
quint8 Byte1(qint64 x);      // bits 8-15 of 0..16777215
quint8 Byte0(qint64 x);      // bits 0-7 of 0..16777215
int Palabra(quint8 a, quint8 b);   // a * 256 + b

// BCD. ABcd(57) == 0x57; out-of-range values raise Overflow.
quint8 ABcd(int x);
QString BcdATexto(quint8 b);          // "05", "57", "1A"
int bcdLeadingValue(quint8 b);        // value of the leading decimal digits of BcdATexto: 0x1A -> 1, 0xA1 -> 0
std::optional<int> strictBcd(quint8 b); // both nibbles decimal, else nothing
QString Hex2(quint8 b);               // "0A"
QString Dec2(int x);                  // "07", "12", longer -> "00"

// Calendar arithmetic with carry, as the logger's time stamps need it: month 13 is January of
// the next year, day 0 the last day of the previous month, minute 60 the next hour.
// Dates are calendar values without time zone (Qt::UTC). Nothing outside years 100..9999.
std::optional<QDateTime> composeDate(int year, int month, int day, int hour, int minute);
std::optional<QDateTime> addMinutes(const QDateTime& t, qint64 minutes);
// "dd/MM/yyyy - HH:mm", the format of every date on screen.
QString formatDate(const QDateTime& t);
// A date caption of the status panel in "dd/MM/yyyy - HH:mm"; any caption that is not a date
// comes back unchanged.
QString reformatDateCaption(const QString& caption);

// Preparation time stamp of the status block: five BCD bytes minute, hour, day, month, year,
// each read by its leading decimal digits; years 00..29 are 2000..2029, 30..99 are 1930..1999.
std::optional<QDateTime> preparationStamp(const quint8 bcd[5]);

// Raw temperature scale: Celsius = raw x 0.5 - 40, Fahrenheit = raw x 0.9 - 40.
double RawAGrados(int raw, Unit unit);
int GradosARaw(double degrees, Unit unit);   // nearest, halves to even
int wholeDegrees(int raw, Unit unit);        // RawAGrados as a whole number, halves to even
QString UnidadTexto(Unit unit);              // " °C" or " °F"

// Names: trimmed of blanks, then cut to 12 or padded with blanks to 12.
QString Nombre12(const QString& s);

struct BitsModo {
    bool Circular = false;          // 8
    bool ArranquePulsador = false;  // 16
    bool Borrado = false;           // 64
};
BitsModo DecodeModo(quint8 mode);

struct BitsEstado {
    bool Guardado = false;     // 128
    bool SinDatos = false;     // 64
    bool Registrando = false;  // 32
    bool AlarmaLo = false;     // 4
    bool AlarmaHi = false;     // 2
};
BitsEstado DecodeEstado(quint8 status);

// Bit values of the flag block.
enum : quint8 {
    ModoCircular = 8, ModoPulsador = 16, ModoBorrar = 64,
    EstadoAlarmaHi = 2, EstadoAlarmaLo = 4, EstadoRegistrando = 32, EstadoSinDatos = 64, EstadoGuardado = 128,
};

} // namespace orvan
