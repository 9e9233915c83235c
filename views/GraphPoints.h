#pragma once
// What the temperature-time graph shows, without any widget: the points built from the mission
// record, their zones, the axis and date titles of a window of points, the Y range, the cursor
// readout texts and colours, and the stack of zoom levels.

#include "base/Unit.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>
#include <cmath>
#include <vector>

namespace orvan { class TextTable; }
namespace orvan::records { class MissionRecord; }

namespace orvan::views {

constexpr int kMaxPuntos = 70000;

struct Point {
    QDateTime Fecha;
    float Temp = 0;   // degrees of the current unit; NaN where the point is drawn as a gap
    bool isGap() const { return std::isnan(Temp); }
};

// Points 1..NumPuntos of a record (index 0 is never filled): point i is held sample i - 1, in
// time order, and a record without samples has none. An erased byte (255) in Celsius repeats the
// point before it; an erased first sample, with nothing before it, keeps its own date and
// becomes a gap.
struct Puntos {
    std::vector<Point> p{1};
    int NumPuntos() const { return int(p.size()) - 1; }
    const Point& operator[](int i) const { return p.at(size_t(i)); }
};
Puntos CargaPuntos(const records::MissionRecord& record, Unit unit);

// Zones of a point: 1 below the low limit, 2 within (limits included), 4 above the high limit;
// 0 for a gap, which no series carries. Compared as 4-byte floats.
enum PointZone { ZoneGap = 0, ZoneBelow = 1, ZoneWithin = 2, ZoneAbove = 4 };
PointZone ClasificaPunto(float temp, float lo, float hi);
// The series of the chart that carries a zone: 1, 2, 3; 0 for none.
int seriesOfZone(PointZone zone);

// Limits in degrees of the unit, as 4-byte floats.
struct Limits {
    float lo = 0, hi = 0;
};
Limits limitsInDegrees(const records::MissionRecord& record, Unit unit);

// Whole minutes from base to t, counted at minute boundaries.
qint64 minutesFrom(const QDateTime& base, const QDateTime& t);

// The X-axis title of the window first..last of numPuntos points: "First 10 samples of a total
// of 10" and kin, one blank between words in every language. "Last" marks a circular record's
// window that ends at its last sample.
QString axisTitleText(const TextTable& textos, bool circular, int first, int last, int numPuntos, int numMuestras);

// Windows shorter than this show a marker at every point.
inline bool withMarkers(int first, int last) { return last - first < 31; }

// Minimum and maximum temperature over points first..last (gaps skipped); both 0 when the
// window holds no temperature.
struct TempRange {
    float min = 0, max = 0;
    bool empty = true;
};
TempRange windowRange(const Puntos& puntos, int first, int last);

// The date title over a window from start to end with its middle: the weekday within one day,
// the two days across one midnight, the month, the two dates across one month boundary, the
// months up to six boundaries, else the year.
QString dateTitle(const QDateTime& start, const QDateTime& end, const QDateTime& mid, const QLocale& locale);

// Cursor readout: "dd mmm yy hh:mm" with the month name of the locale, and "##0.0" with the
// decimal separator of the number locale followed by the unit text.
QString pointTimeText(const QDateTime& t, const QLocale& locale);
QString pointTempText(float temp, const QLocale& numberLocale, const QString& unit);
// Background of the readout by the value shown (rounded to one decimal): pink above the high
// limit, green within (limits included), cyan below. Colours as 0xRRGGBB.
constexpr quint32 kColorAbove = 0xFFC0C0, kColorWithin = 0x00FF00, kColorBelow = 0x00FFFF;
quint32 readingColor(float temp, const Limits& limits);

// The zoom levels: level 0 is the whole record, up to 23 more can be stacked; a step to level 24
// is refused and remembered in ZoomAlLimite.
class ZoomLevels {
public:
    static constexpr int kLevels = 25;
    static constexpr int kLimit = 24;

    std::array<qint32, kLevels> ZoomDesde{};
    std::array<qint32, kLevels> ZoomHasta{};
    int NivelZoom = 0;
    bool ZoomAlLimite = false;

    void init(int numPuntos);     // level 0 = points 1 .. numPuntos (1 .. 1 at least)
    // Zoom in on the left half of the window first..last. Returns the new level, or -1 when the
    // window is too short or the level limit was reached.
    int zoomInHalf(int first, int last);
    // The level below the current one (0 stays 0).
    int zoomOut();
    void reset();

    // A band: the level goes up when it starts and back down when it is cancelled.
    bool beginBand(int startPoint);            // false at the level limit
    // Ends the band at point endPoint; swaps a band dragged leftwards. Returns false (and restores
    // the level) when it spans fewer than 2 points.
    bool endBand(int endPoint);
};

// The scroll bar's window for a value: value .. value + span, kept inside 1..numPuntos, where
// span (the scroll bar's large change) is last - first of the window that set it.
struct PointWindow {
    int first = 1, last = 1;
};
PointWindow scrollWindow(int value, int span, int numPuntos);

} // namespace orvan::views
