#include "views/GraphPoints.h"

#include "base/Encodings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "views/TimeFormat.h"
#include "views/ZoneCounts.h"

#include <algorithm>
#include <limits>

namespace orvan::views {

Puntos CargaPuntos(const records::MissionRecord& record, int gradosC)
{
    const records::Auditoria& c = record.campos;
    Puntos puntos;
    // One point past the last sample; never more points than the graph can hold.
    const qint64 cuantos = std::min<qint64>(qint64(c.UltimaMuestra) - c.PrimeraMuestra + 1, kMaxPuntos);
    if (cuantos <= 0)
        return puntos;
    puntos.p.reserve(size_t(cuantos) + 1);
    constexpr float kBorrado = 87.5f;   // the Celsius value of an erased byte (255)
    QDateTime ahora = c.InicioDatos;
    for (qint64 k = 0; k < cuantos; ++k) {
        Punto punto{ahora, float(RawAGrados(record.muestra(k), gradosC))};
        if (punto.Temp == kBorrado) {
            // An erased byte repeats the point before it; with nothing before it, it keeps its
            // own date and is left as a gap rather than take the empty point 0.
            if (puntos.NumPuntos() >= 1)
                punto = puntos.p.back();
            else
                punto.Temp = std::numeric_limits<float>::quiet_NaN();
        }
        puntos.p.push_back(punto);
        // A date past the calendar stops the clock instead of wrapping it.
        if (const auto siguiente = SumaMinutos(ahora, c.Rango))
            ahora = *siguiente;
    }
    return puntos;
}

ZonaPunto ClasificaPunto(float temp, float lo, float hi)
{
    if (std::isnan(temp))
        return ZonaHueco;
    switch (zonaGrados(temp, lo, hi)) {
    case Arriba: return ZonaAlta;
    case Dentro: return ZonaDentro;
    default: return ZonaBaja;
    }
}

int SerieDeZona(ZonaPunto zona)
{
    switch (zona) {
    case ZonaBaja: return 1;
    case ZonaDentro: return 2;
    case ZonaAlta: return 3;
    default: return 0;
    }
}

Limites LimitesGrados(const records::MissionRecord& record, int gradosC)
{
    return {float(RawAGrados(record.campos.LoThreshold, gradosC)), float(RawAGrados(record.campos.HiThreshold, gradosC))};
}

static qint64 minutoAbsoluto(const QDateTime& t)
{
    const qint64 s = QDateTime(t.date(), t.time(), Qt::UTC).toSecsSinceEpoch();
    return s >= 0 ? s / 60 : -((-s + 59) / 60);
}

qint64 MinutosDesde(const QDateTime& base, const QDateTime& t)
{
    if (!base.isValid() || !t.isValid())
        return 0;
    return minutoAbsoluto(t) - minutoAbsoluto(base);
}

QString TituloEje(const TextTable& textos, bool circular, int first, int last, int numPuntos, int numMuestras)
{
    QString t;
    if (circular) {
        if (last == numPuntos - 1)
            t = textos.at(59);
    } else if (first == 1) {
        t = textos.at(60);
    }
    return t + QString::number(last - first + 1) + textos.at(61) + textos.at(62) + QString::number(numMuestras);
}

RangoTemp RangoVentana(const Puntos& puntos, int first, int last)
{
    RangoTemp r;
    first = std::max(first, 1);
    last = std::min(last, puntos.NumPuntos());
    for (int i = first; i <= last; ++i) {
        const float t = puntos[i].Temp;
        if (std::isnan(t))
            continue;
        if (r.vacio) {
            r.min = r.max = t;
            r.vacio = false;
        } else {
            r.min = std::min(r.min, t);
            r.max = std::max(r.max, t);
        }
    }
    return r;
}

QString TituloFecha(const QDateTime& start, const QDateTime& end, const QDateTime& mid, const QLocale& locale)
{
    const qint64 dias = start.date().daysTo(end.date());
    const int meses = (end.date().year() * 12 + end.date().month()) - (start.date().year() * 12 + start.date().month());
    auto f = [&locale](const QDateTime& t, const char* patron) {
        return FormatoTiempo(t, QString::fromLatin1(patron), locale);
    };
    if (dias < 1)
        return f(mid, "%A %d %B");
    if (dias == 1)
        return f(start, "%a %d %b %y - ") + f(end, "%a %d %b %y");
    if (meses < 1)
        return f(mid, "%B %Y");
    if (meses == 1)
        return f(start, "%d %B %Y - ") + f(end, "%d %B %Y");
    if (meses <= 6)
        return f(start, "%B %Y - ") + f(end, "%B %Y");
    return f(mid, "%Y");
}

QString TextoHora(const QDateTime& t, const QLocale& locale)
{
    return FormatoTiempo(t, QStringLiteral("%d %b %y %H:%M"), locale);
}

// The value the readout shows: rounded to one decimal, as a 4-byte float like the limits.
static float mostrado(float temp)
{
    return float(std::nearbyint(double(temp) * 10.0) / 10.0);
}

QString TextoTemp(float temp, const QLocale& numeros, const QString& unidad)
{
    if (std::isnan(temp))
        return QString();
    QLocale l = numeros;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    // + 0.0 turns a negative zero into zero: -0.04 reads "0.0", not "-0.0".
    return l.toString(double(mostrado(temp)) + 0.0, 'f', 1) + unidad;
}

quint32 ColorLectura(float temp, const Limites& limites)
{
    const float v = mostrado(temp);
    if (v > limites.hi)
        return kColorAlta;
    if (v >= limites.lo)
        return kColorDentro;
    return kColorBaja;
}

// --- Zoom levels ---

void NivelesZoom::inicia(int numPuntos)
{
    ZoomDesde.fill(0);
    ZoomHasta.fill(0);
    ZoomDesde[0] = 1;
    // A record without samples has a single point; show it rather than the empty window 1..0.
    ZoomHasta[0] = std::max(1, numPuntos - 1);
    NivelZoom = 0;
    ZoomAlLimite = false;
}

int NivelesZoom::acercaMitad(int first, int last)
{
    const int span = last - first;
    if (span < 5)
        return -1;
    const int nivel = NivelZoom + 1;
    if (nivel >= kLimite) {
        ZoomAlLimite = true;
        return -1;
    }
    NivelZoom = nivel;
    ZoomDesde[nivel] = first;
    ZoomHasta[nivel] = first + int(std::nearbyint(span / 2.0));
    return nivel;
}

int NivelesZoom::aleja()
{
    ZoomAlLimite = false;
    NivelZoom = std::max(0, NivelZoom - 1);
    return NivelZoom;
}

void NivelesZoom::reinicia()
{
    NivelZoom = 0;
    ZoomAlLimite = false;
}

bool NivelesZoom::empiezaBanda(int desde)
{
    if (NivelZoom + 1 >= kLimite) {
        ZoomAlLimite = true;
        return false;
    }
    ++NivelZoom;
    ZoomDesde[NivelZoom] = desde;
    return true;
}

bool NivelesZoom::terminaBanda(int hasta)
{
    ZoomHasta[NivelZoom] = hasta;
    if (ZoomDesde[NivelZoom] > ZoomHasta[NivelZoom])
        std::swap(ZoomDesde[NivelZoom], ZoomHasta[NivelZoom]);
    if (ZoomHasta[NivelZoom] - ZoomDesde[NivelZoom] < 2) {
        --NivelZoom;
        return false;
    }
    return true;
}

Ventana VentanaScroll(int value, int span, int numPuntos)
{
    // span is the distance between the first and last point of the window that set it, so the
    // window keeps its number of points: value .. value + span.
    span = std::max(span, 0);
    Ventana v{value, value + span};
    if (v.last > numPuntos) {
        v.last = numPuntos;
        v.first = numPuntos - span;
    }
    v.first = std::max(v.first, 1);
    v.last = std::max(v.last, v.first);
    return v;
}

} // namespace orvan::views
