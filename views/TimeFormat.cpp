#include "views/TimeFormat.h"

#include <QDate>
#include <cmath>

namespace orvan::views {

QLocale languageLocale(int idioma)
{
    switch (idioma) {
    case 1: return QLocale(QLocale::English, QLocale::UnitedKingdom);
    case 2: return QLocale(QLocale::German, QLocale::Germany);
    case 3: return QLocale(QLocale::French, QLocale::France);
    case 4: return QLocale(QLocale::Portuguese, QLocale::Brazil);
    default: return QLocale(QLocale::Spanish, QLocale::Spain);
    }
}

QString formatTime(const QDateTime& t, const QString& pattern, const QLocale& locale)
{
    const QDate d = t.date();
    const QTime h = t.time();
    QString out;
    out.reserve(pattern.size() * 3);
    for (int i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c != QLatin1Char('%') || i + 1 >= pattern.size()) {
            out += c;
            continue;
        }
        const QChar f = pattern.at(++i);
        switch (f.unicode()) {
        case 'A': out += locale.dayName(d.dayOfWeek(), QLocale::LongFormat); break;
        case 'a': out += locale.dayName(d.dayOfWeek(), QLocale::ShortFormat); break;
        case 'd': out += QStringLiteral("%1").arg(d.day(), 2, 10, QLatin1Char('0')); break;
        // Stand-alone month names: "enero", not the genitive form some languages use in dates.
        case 'B': out += locale.standaloneMonthName(d.month(), QLocale::LongFormat); break;
        case 'b': out += locale.standaloneMonthName(d.month(), QLocale::ShortFormat); break;
        case 'y': out += QStringLiteral("%1").arg(d.year() % 100, 2, 10, QLatin1Char('0')); break;
        case 'Y': out += QString::number(d.year()); break;
        case 'H': out += QStringLiteral("%1").arg(h.hour(), 2, 10, QLatin1Char('0')); break;
        case 'M': out += QStringLiteral("%1").arg(h.minute(), 2, 10, QLatin1Char('0')); break;
        case '%': out += QLatin1Char('%'); break;
        default: out += c; out += f; break;
        }
    }
    return out;
}

QDateTime dateFromMinutes(const QDateTime& base, double minutes)
{
    if (!std::isfinite(minutes))
        return base;
    return base.addSecs(qint64(std::llround(minutes * 60.0)));
}

namespace {

constexpr qint64 kDay = 1440;

// Minutes from the epoch of a calendar date, counted without time zone.
qint64 absoluteMinute(const QDateTime& t)
{
    return QDateTime(t.date(), t.time(), Qt::UTC).toSecsSinceEpoch() / 60;
}

QString clockLabel(const QDateTime& t, const QLocale& locale)
{
    if (t.time().hour() == 0 && t.time().minute() == 0)
        return formatTime(t, QStringLiteral("%d %b"), locale);
    return formatTime(t, QStringLiteral("%H:%M"), locale);
}

} // namespace

std::vector<TimeMark> timeMarks(const QDateTime& base, double min, double max, int maxMarks,
                                      const QLocale& locale)
{
    std::vector<TimeMark> marks;
    if (!base.isValid() || !std::isfinite(min) || !std::isfinite(max) || max < min)
        return marks;
    maxMarks = std::max(maxMarks, 2);
    const double width = std::max(max - min, 1.0);
    const qint64 base0 = absoluteMinute(base);

    // Steps that fall on round clock times, then whole days and weeks.
    static const qint64 steps[] = {1, 2, 5, 10, 15, 30, 60, 120, 180, 360, 720,
                                   kDay, 2 * kDay, 7 * kDay, 14 * kDay};
    for (qint64 step : steps) {
        if (width / double(step) > maxMarks)
            continue;
        // Weeks start on Mondays (the epoch day was a Thursday).
        const qint64 offset = step >= 7 * kDay ? 4 * kDay : 0;
        const qint64 from = base0 + qint64(std::floor(min));
        qint64 t = ((from - offset) / step) * step + offset;
        if (t < from)
            t += step;
        for (; double(t - base0) <= max; t += step) {
            const QDateTime date = QDateTime::fromSecsSinceEpoch(t * 60, Qt::UTC);
            marks.push_back({double(t - base0), step >= kDay
                                                     ? formatTime(date, QStringLiteral("%d %b"), locale)
                                                     : clockLabel(date, locale)});
        }
        // A span of exactly n steps holds n + 1 ticks: the one past the limit goes.
        if (int(marks.size()) > maxMarks)
            marks.resize(size_t(maxMarks));
        return marks;
    }

    // Months and years: calendar steps from the first of a month.
    const QDateTime begin = dateFromMinutes(base, min);
    for (int months : {1, 2, 3, 6, 12, 24, 60, 120}) {
        if (width / (30.44 * kDay * months) > maxMarks)
            continue;
        QDate d(begin.date().year(), begin.date().month(), 1);
        if (months >= 12)
            d = QDate(d.year() - d.year() % (months / 12), 1, 1);
        else
            d = d.addMonths(-((d.month() - 1) % months));
        for (; d.isValid(); d = d.addMonths(months)) {
            const QDateTime date(d, QTime(0, 0), Qt::UTC);
            const double x = double(absoluteMinute(date) - base0);
            if (x > max)
                break;
            if (x < min)
                continue;
            marks.push_back({x, formatTime(date, months >= 12 ? QStringLiteral("%Y")
                                                                  : QStringLiteral("%b %y"), locale)});
        }
        // Months are shorter than their average at times: no more ticks than allowed all the same.
        if (int(marks.size()) > maxMarks)
            marks.resize(size_t(maxMarks));
        return marks;
    }
    return marks;
}

} // namespace orvan::views
