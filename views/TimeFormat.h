#pragma once
// Dates on the charts: strftime-style patterns in the user's language, and the time ticks of an
// axis whose values are minutes from a base date.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <vector>

namespace orvan::views {

// The locale of a language index of the settings (0 Spanish, 1 English, 2 German, 3 French,
// 4 Portuguese); any other index gives Spanish.
QLocale languageLocale(int idioma);

// Formats t with a strftime-style pattern: %A / %a full / short weekday name, %d day of month,
// %B / %b full / short month name, %y two-digit year, %Y year, %H hours (24 h), %M minutes,
// %% a percent sign. Names come from the locale; other characters are copied.
QString formatTime(const QDateTime& t, const QString& pattern, const QLocale& locale);

// The date X minutes after base (whole and fractional minutes; calendar values, no time zone).
QDateTime dateFromMinutes(const QDateTime& base, double minutes);

struct TimeMark {
    double x = 0;       // minutes from the base
    QString text;
};

// Ticks for an axis from min to max (minutes from base) at calendar-friendly steps (minutes,
// hours, days, weeks, months, years) with no more than maxMarks of them. Labels show the clock
// within a day and the date on day boundaries, so neighbouring labels have similar widths.
std::vector<TimeMark> timeMarks(const QDateTime& base, double min, double max, int maxMarks,
                                      const QLocale& locale);

} // namespace orvan::views
