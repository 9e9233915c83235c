#pragma once
// How the views write dates, times and temperatures: in the system's language and with its
// decimal, date and time separators. The locale is a parameter so that the command-line tool
// and the tests can ask for any of them; the windows pass the system locale.

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>

namespace orvan::views {

// The first character of the locale's short date format that is neither a letter nor a blank;
// "/" when there is none.
QChar separadorFecha(const QLocale& locale);
// Likewise from the short time format; ":" when there is none.
QChar separadorHora(const QLocale& locale);

// A single-precision value as the shortest text that reads back as it: up to 7 significant
// digits, no trailing zeros, the locale's decimal separator (2, 35.6, -39.1).
QString TextoSingle(float value, const QLocale& locale);
// "##0.0": at least one integer digit and exactly one decimal, the locale's decimal separator.
QString Formato0_0(float value, const QLocale& locale);
// The same with a dot whatever the locale, as files carry it.
QString Formato0_0Punto(float value);

// "ddd ddmmm hh:mm": short day name, two-digit day directly followed by the short month name,
// hours and minutes of a 24-hour clock with the locale's time separator.
QString FechaCorta(const QDateTime& t, const QLocale& locale);
// "dd-mmm hh:mm": the position label's date.
QString FechaPosicion(const QDateTime& t, const QLocale& locale);
// "dd/mm/yyyy" and "hh:nn" with the locale's separators.
QString FechaNumerica(const QDateTime& t, const QLocale& locale);
QString HoraNumerica(const QDateTime& t, const QLocale& locale);

} // namespace orvan::views
