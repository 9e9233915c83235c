#include "views/ViewFormats.h"

namespace orvan::views {

namespace {

QChar primerSeparador(const QString& formato, QChar porDefecto)
{
    for (const QChar c : formato) {
        if (!c.isLetter() && !c.isSpace())
            return c;
    }
    return porDefecto;
}

// Numbers are formatted in the C locale and then given the locale's decimal separator, so that
// no group separator or locale digit ever slips into a temperature.
QString conSeparador(QString texto, const QLocale& locale)
{
    const QString punto = locale.decimalPoint();
    if (punto != QLatin1String("."))
        texto.replace(QLatin1Char('.'), punto);
    return texto;
}

QString dosDigitos(int v)
{
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

QString horaMinuto(const QDateTime& t, const QLocale& locale)
{
    return dosDigitos(t.time().hour()) + separadorHora(locale) + dosDigitos(t.time().minute());
}

} // namespace

QChar separadorFecha(const QLocale& locale)
{
    return primerSeparador(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
}

QChar separadorHora(const QLocale& locale)
{
    return primerSeparador(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
}

QString TextoSingle(float value, const QLocale& locale)
{
    return conSeparador(QString::number(double(value), 'g', 7), locale);
}

QString Formato0_0Punto(float value)
{
    QString texto = QString::number(double(value), 'f', 1);
    // A value that rounds to zero from below is not negative on screen.
    if (texto == QLatin1String("-0.0"))
        texto = QStringLiteral("0.0");
    return texto;
}

QString Formato0_0(float value, const QLocale& locale)
{
    return conSeparador(Formato0_0Punto(value), locale);
}

QString FechaCorta(const QDateTime& t, const QLocale& locale)
{
    const QDate d = t.date();
    return locale.dayName(d.dayOfWeek(), QLocale::ShortFormat) + QLatin1Char(' ') + dosDigitos(d.day())
        + locale.monthName(d.month(), QLocale::ShortFormat) + QLatin1Char(' ') + horaMinuto(t, locale);
}

QString FechaPosicion(const QDateTime& t, const QLocale& locale)
{
    const QDate d = t.date();
    return dosDigitos(d.day()) + QLatin1Char('-') + locale.monthName(d.month(), QLocale::ShortFormat)
        + QLatin1Char(' ') + horaMinuto(t, locale);
}

QString FechaNumerica(const QDateTime& t, const QLocale& locale)
{
    const QDate d = t.date();
    const QChar sep = separadorFecha(locale);
    return dosDigitos(d.day()) + sep + dosDigitos(d.month()) + sep + QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString HoraNumerica(const QDateTime& t, const QLocale& locale)
{
    return horaMinuto(t, locale);
}

} // namespace orvan::views
