#include "views/GraphPoints.h"

#include "base/Encodings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "views/TimeFormat.h"
#include "views/ViewFormats.h"
#include "views/ZoneCounts.h"

#include <algorithm>
#include <limits>

namespace orvan::views {

Puntos CargaPuntos(const records::MissionRecord& record, Unit unit)
{
    Puntos puntos;
    // One point per sample held, never more than the graph can hold.
    const int howMany = std::min(record.heldSampleCount(), kMaxPuntos);
    puntos.p.reserve(size_t(howMany) + 1);
    constexpr float kErasedTemp = 87.5f;  // the Celsius value of an erased byte (255)
    for (int i = 0; i < howMany; ++i) {
        Point point{record.heldSampleTime(i), float(RawAGrados(record.heldSample(i), unit))};
        // A date past the calendar stops the clock at the last date it had, instead of wrapping.
        if (!point.Fecha.isValid() && i > 0)
            point.Fecha = puntos.p.back().Fecha;
        if (point.Temp == kErasedTemp) {
            // An erased byte repeats the point before it; with nothing before it, it keeps its
            // own date and is left as a gap rather than take the empty point 0.
            if (i > 0)
                point = puntos.p.back();
            else
                point.Temp = std::numeric_limits<float>::quiet_NaN();
        }
        puntos.p.push_back(point);
    }
    return puntos;
}

PointZone ClasificaPunto(float temp, float lo, float hi)
{
    if (std::isnan(temp))
        return ZoneGap;
    switch (zoneOfDegrees(temp, lo, hi)) {
    case Above: return ZoneAbove;
    case Within: return ZoneWithin;
    default: return ZoneBelow;
    }
}

int seriesOfZone(PointZone zone)
{
    switch (zone) {
    case ZoneBelow: return 1;
    case ZoneWithin: return 2;
    case ZoneAbove: return 3;
    default: return 0;
    }
}

Limits limitsInDegrees(const records::MissionRecord& record, Unit unit)
{
    return {float(RawAGrados(record.campos.LoThreshold, unit)), float(RawAGrados(record.campos.HiThreshold, unit))};
}

static qint64 absoluteMinute(const QDateTime& t)
{
    const qint64 s = QDateTime(t.date(), t.time(), Qt::UTC).toSecsSinceEpoch();
    return s >= 0 ? s / 60 : -((-s + 59) / 60);
}

qint64 minutesFrom(const QDateTime& base, const QDateTime& t)
{
    if (!base.isValid() || !t.isValid())
        return 0;
    return absoluteMinute(t) - absoluteMinute(base);
}

QString axisTitleText(const TextTable& textos, bool circular, int first, int last, int numPuntos, int numMuestras)
{
    // The points the window holds; a record without samples shows its empty window as 0.
    const int shown = std::max(0, std::min(last, numPuntos) - first + 1);
    QString t;
    if (shown > 0) {
        if (circular) {
            if (last == numPuntos)
                t = textos[Text::LastPiece];
        } else if (first == 1) {
            t = textos[Text::FirstPiece];
        }
    }
    return joinWords({t, QString::number(shown), textos[Text::SamplesOfPiece], textos[Text::TotalOfPiece],
                      QString::number(numMuestras)});
}

TempRange windowRange(const Puntos& puntos, int first, int last)
{
    TempRange r;
    first = std::max(first, 1);
    last = std::min(last, puntos.NumPuntos());
    const Point* p = puntos.p.data();   // first..last lie within the points
    for (int i = first; i <= last; ++i) {
        const float t = p[i].Temp;
        if (std::isnan(t))
            continue;
        if (r.empty) {
            r.min = r.max = t;
            r.empty = false;
        } else {
            r.min = std::min(r.min, t);
            r.max = std::max(r.max, t);
        }
    }
    return r;
}

QString dateTitle(const QDateTime& start, const QDateTime& end, const QDateTime& mid, const QLocale& locale)
{
    const qint64 days = start.date().daysTo(end.date());
    const int months = (end.date().year() * 12 + end.date().month()) - (start.date().year() * 12 + start.date().month());
    auto f = [&locale](const QDateTime& t, const char* pattern) {
        return formatTime(t, QString::fromLatin1(pattern), locale);
    };
    if (days < 1)
        return f(mid, "%A %d %B");
    if (days == 1)
        return f(start, "%a %d %b %y - ") + f(end, "%a %d %b %y");
    if (months < 1)
        return f(mid, "%B %Y");
    if (months == 1)
        return f(start, "%d %B %Y - ") + f(end, "%d %B %Y");
    if (months <= 6)
        return f(start, "%B %Y - ") + f(end, "%B %Y");
    return f(mid, "%Y");
}

QString pointTimeText(const QDateTime& t, const QLocale& locale)
{
    return formatTime(t, QStringLiteral("%d %b %y %H:%M"), locale);
}

// The value the readout shows: rounded to one decimal, as a 4-byte float like the limits.
static float shown(float temp)
{
    return float(std::nearbyint(double(temp) * 10.0) / 10.0);
}

QString pointTempText(float temp, const QLocale& numberLocale, const QString& unit)
{
    if (std::isnan(temp))
        return QString();
    QLocale l = numberLocale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    // + 0.0 turns a negative zero into zero: -0.04 reads "0.0", not "-0.0".
    return l.toString(double(shown(temp)) + 0.0, 'f', 1) + unit;
}

quint32 readingColor(float temp, const Limits& limits)
{
    const float v = shown(temp);
    if (v > limits.hi)
        return kColorAbove;
    if (v >= limits.lo)
        return kColorWithin;
    return kColorBelow;
}

// --- Zoom levels ---

void ZoomLevels::init(int numPuntos)
{
    ZoomDesde.fill(0);
    ZoomHasta.fill(0);
    ZoomDesde[0] = 1;
    // The whole record ends at its last sample; one without samples shows the empty window 1..1.
    ZoomHasta[0] = std::max(1, numPuntos);
    NivelZoom = 0;
    ZoomAlLimite = false;
}

int ZoomLevels::zoomInHalf(int first, int last)
{
    const int span = last - first;
    if (span < 5)
        return -1;
    const int level = NivelZoom + 1;
    if (level >= kLimit) {
        ZoomAlLimite = true;
        return -1;
    }
    NivelZoom = level;
    ZoomDesde[level] = first;
    ZoomHasta[level] = first + int(std::nearbyint(span / 2.0));
    return level;
}

int ZoomLevels::zoomOut()
{
    ZoomAlLimite = false;
    NivelZoom = std::max(0, NivelZoom - 1);
    return NivelZoom;
}

void ZoomLevels::reset()
{
    NivelZoom = 0;
    ZoomAlLimite = false;
}

bool ZoomLevels::beginBand(int startPoint)
{
    if (NivelZoom + 1 >= kLimit) {
        ZoomAlLimite = true;
        return false;
    }
    ++NivelZoom;
    ZoomDesde[NivelZoom] = startPoint;
    return true;
}

bool ZoomLevels::endBand(int endPoint)
{
    ZoomHasta[NivelZoom] = endPoint;
    if (ZoomDesde[NivelZoom] > ZoomHasta[NivelZoom])
        std::swap(ZoomDesde[NivelZoom], ZoomHasta[NivelZoom]);
    if (ZoomHasta[NivelZoom] - ZoomDesde[NivelZoom] < 2) {
        --NivelZoom;
        return false;
    }
    return true;
}

PointWindow scrollWindow(int value, int span, int numPuntos)
{
    // span is the distance between the first and last point of the window that set it, so the
    // window keeps its number of points: value .. value + span.
    span = std::max(span, 0);
    PointWindow v{value, value + span};
    if (v.last > numPuntos) {
        v.last = numPuntos;
        v.first = numPuntos - span;
    }
    v.first = std::max(v.first, 1);
    v.last = std::max(v.last, v.first);
    return v;
}

} // namespace orvan::views
