#include "views/TimeFormat.h"

#include <QDate>
#include <cmath>

namespace orvan::views {

QLocale LocaleIdioma(int idioma)
{
    switch (idioma) {
    case 1: return QLocale(QLocale::English, QLocale::UnitedKingdom);
    case 2: return QLocale(QLocale::German, QLocale::Germany);
    case 3: return QLocale(QLocale::French, QLocale::France);
    case 4: return QLocale(QLocale::Portuguese, QLocale::Brazil);
    default: return QLocale(QLocale::Spanish, QLocale::Spain);
    }
}

QString FormatoTiempo(const QDateTime& t, const QString& patron, const QLocale& locale)
{
    const QDate d = t.date();
    const QTime h = t.time();
    QString out;
    out.reserve(patron.size() * 3);
    for (int i = 0; i < patron.size(); ++i) {
        const QChar c = patron.at(i);
        if (c != QLatin1Char('%') || i + 1 >= patron.size()) {
            out += c;
            continue;
        }
        const QChar f = patron.at(++i);
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

QDateTime FechaDeMinutos(const QDateTime& base, double minutos)
{
    if (!std::isfinite(minutos))
        return base;
    return base.addSecs(qint64(std::llround(minutos * 60.0)));
}

namespace {

constexpr qint64 kDia = 1440;

// Minutes from the epoch of a calendar date, counted without time zone.
qint64 minutoAbsoluto(const QDateTime& t)
{
    return QDateTime(t.date(), t.time(), Qt::UTC).toSecsSinceEpoch() / 60;
}

QString etiquetaReloj(const QDateTime& t, const QLocale& locale)
{
    if (t.time().hour() == 0 && t.time().minute() == 0)
        return FormatoTiempo(t, QStringLiteral("%d %b"), locale);
    return FormatoTiempo(t, QStringLiteral("%H:%M"), locale);
}

} // namespace

std::vector<MarcaTiempo> MarcasTiempo(const QDateTime& base, double min, double max, int maxMarcas,
                                      const QLocale& locale)
{
    std::vector<MarcaTiempo> marcas;
    if (!base.isValid() || !std::isfinite(min) || !std::isfinite(max) || max < min)
        return marcas;
    maxMarcas = std::max(maxMarcas, 2);
    const double ancho = std::max(max - min, 1.0);
    const qint64 base0 = minutoAbsoluto(base);

    // Steps that fall on round clock times, then whole days and weeks.
    static const qint64 pasos[] = {1, 2, 5, 10, 15, 30, 60, 120, 180, 360, 720,
                                   kDia, 2 * kDia, 7 * kDia, 14 * kDia};
    for (qint64 paso : pasos) {
        if (ancho / double(paso) > maxMarcas)
            continue;
        // Weeks start on Mondays (the epoch day was a Thursday).
        const qint64 desfase = paso >= 7 * kDia ? 4 * kDia : 0;
        const qint64 desde = base0 + qint64(std::floor(min));
        qint64 t = ((desde - desfase) / paso) * paso + desfase;
        if (t < desde)
            t += paso;
        for (; double(t - base0) <= max; t += paso) {
            const QDateTime fecha = QDateTime::fromSecsSinceEpoch(t * 60, Qt::UTC);
            marcas.push_back({double(t - base0), paso >= kDia
                                                     ? FormatoTiempo(fecha, QStringLiteral("%d %b"), locale)
                                                     : etiquetaReloj(fecha, locale)});
        }
        // A span of exactly n steps holds n + 1 ticks: the one past the limit goes.
        if (int(marcas.size()) > maxMarcas)
            marcas.resize(size_t(maxMarcas));
        return marcas;
    }

    // Months and years: calendar steps from the first of a month.
    const QDateTime inicio = FechaDeMinutos(base, min);
    for (int meses : {1, 2, 3, 6, 12, 24, 60, 120}) {
        if (ancho / (30.44 * kDia * meses) > maxMarcas)
            continue;
        QDate d(inicio.date().year(), inicio.date().month(), 1);
        if (meses >= 12)
            d = QDate(d.year() - d.year() % (meses / 12), 1, 1);
        else
            d = d.addMonths(-((d.month() - 1) % meses));
        for (; d.isValid(); d = d.addMonths(meses)) {
            const QDateTime fecha(d, QTime(0, 0), Qt::UTC);
            const double x = double(minutoAbsoluto(fecha) - base0);
            if (x > max)
                break;
            if (x < min)
                continue;
            marcas.push_back({x, FormatoTiempo(fecha, meses >= 12 ? QStringLiteral("%Y")
                                                                  : QStringLiteral("%b %y"), locale)});
        }
        // Months are shorter than their average at times: no more ticks than allowed all the same.
        if (int(marcas.size()) > maxMarcas)
            marcas.resize(size_t(maxMarcas));
        return marcas;
    }
    return marcas;
}

} // namespace orvan::views
