#pragma once
// How the views write dates, times and temperatures: in the system's language and with its
// decimal, date and time separators. The locale is a parameter so that the command-line tool
// and the tests can ask for any of them; the windows pass the system locale.

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <initializer_list>

namespace orvan::views {

// The first character of the locale's short date format that is neither a letter nor a blank;
// "/" when there is none.
QChar dateSeparator(const QLocale& locale);
// Likewise from the short time format; ":" when there is none.
QChar timeSeparator(const QLocale& locale);

// A single-precision value as the shortest text that reads back as it: up to 7 significant
// digits, no trailing zeros, the locale's decimal separator (2, 35.6, -39.1).
QString singleText(float value, const QLocale& locale);
// "##0.0": at least one integer digit and exactly one decimal, the locale's decimal separator.
QString format0_0(float value, const QLocale& locale);
// The same with a dot whatever the locale, as files carry it.
QString format0_0Dot(float value);

// "ddd ddmmm hh:mm": short day name, two-digit day directly followed by the short month name,
// hours and minutes of a 24-hour clock with the locale's time separator.
QString shortDate(const QDateTime& t, const QLocale& locale);
// "dd-mmm hh:mm": the position label's date.
QString positionDate(const QDateTime& t, const QLocale& locale);
// "dd/mm/yyyy" and "hh:nn" with the locale's separators.
QString numericDate(const QDateTime& t, const QLocale& locale);
QString numericTime(const QDateTime& t, const QLocale& locale);

// A caption from pieces of text and numbers: each piece trimmed, empty ones left out, one blank
// between them. The language table's pieces carry their own blanks unevenly (none in French, two
// meeting in English), so captions never rely on them.
QString joinWords(std::initializer_list<QString> pieces);

} // namespace orvan::views
