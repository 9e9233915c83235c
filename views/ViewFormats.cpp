#include "views/ViewFormats.h"

#include <QStringList>

namespace orvan::views {

namespace {

QChar firstSeparator(const QString& format, QChar byDefault)
{
    for (const QChar c : format) {
        if (!c.isLetter() && !c.isSpace())
            return c;
    }
    return byDefault;
}

// Numbers are formatted in the C locale and then given the locale's decimal separator, so that
// no group separator or locale digit ever slips into a temperature.
QString withSeparator(QString text, const QLocale& locale)
{
    const QString point = locale.decimalPoint();
    if (point != QLatin1String("."))
        text.replace(QLatin1Char('.'), point);
    return text;
}

QString twoDigits(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

QString hourMinute(const QDateTime& t, const QLocale& locale)
{
    return twoDigits(t.time().hour()) + timeSeparator(locale) + twoDigits(t.time().minute());
}

} // namespace

QChar dateSeparator(const QLocale& locale)
{
    return firstSeparator(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
}

QChar timeSeparator(const QLocale& locale)
{
    return firstSeparator(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
}

QString singleText(float value, const QLocale& locale)
{
    return withSeparator(QString::number(double(value), 'g', 7), locale);
}

QString format0_0Dot(float value)
{
    QString text = QString::number(double(value), 'f', 1);
    // A value that rounds to zero from below is not negative on screen.
    if (text == QLatin1String("-0.0"))
        text = QStringLiteral("0.0");
    return text;
}

QString format0_0(float value, const QLocale& locale)
{
    return withSeparator(format0_0Dot(value), locale);
}

QString shortDate(const QDateTime& t, const QLocale& locale)
{
    const QDate d = t.date();
    return locale.dayName(d.dayOfWeek(), QLocale::ShortFormat) + QLatin1Char(' ') + twoDigits(d.day())
        + locale.monthName(d.month(), QLocale::ShortFormat) + QLatin1Char(' ') + hourMinute(t, locale);
}

QString positionDate(const QDateTime& t, const QLocale& locale)
{
    const QDate d = t.date();
    return twoDigits(d.day()) + QLatin1Char('-') + locale.monthName(d.month(), QLocale::ShortFormat)
        + QLatin1Char(' ') + hourMinute(t, locale);
}

QString numericDate(const QDateTime& t, const QLocale& locale)
{
    const QDate d = t.date();
    const QChar sep = dateSeparator(locale);
    return twoDigits(d.day()) + sep + twoDigits(d.month()) + sep + QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString numericTime(const QDateTime& t, const QLocale& locale)
{
    return hourMinute(t, locale);
}

QString joinWords(std::initializer_list<QString> pieces)
{
    QStringList words;
    for (const QString& piece : pieces) {
        const QString word = piece.trimmed();
        if (!word.isEmpty())
            words.append(word);
    }
    return words.join(QLatin1Char(' '));
}

} // namespace orvan::views
