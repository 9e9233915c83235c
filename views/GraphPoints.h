#pragma once
// What the temperature-time graph shows, without any widget: the points built from the mission
// record, their zones, the axis and date titles of a window of points, the Y range, the cursor
// readout texts and colours, and the stack of zoom levels.

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

struct Punto {
    QDateTime Fecha;
    float Temp = 0;   // degrees of the current unit; NaN where the point is drawn as a gap
    bool hueco() const { return std::isnan(Temp); }
};

// Points 1..NumPuntos of a record (index 0 is never filled): one per sample held and one past
// the last. An erased byte (255) in Celsius repeats the point before it; an erased first sample,
// with nothing before it, keeps its own date and becomes a gap.
struct Puntos {
    std::vector<Punto> p{1};
    int NumPuntos() const { return int(p.size()) - 1; }
    const Punto& operator[](int i) const { return p.at(size_t(i)); }
};
Puntos CargaPuntos(const records::MissionRecord& record, int gradosC);

// Zones of a point: 1 below the low limit, 2 within (limits included), 4 above the high limit;
// 0 for a gap, which no series carries. Compared as 4-byte floats.
enum ZonaPunto { ZonaHueco = 0, ZonaBaja = 1, ZonaDentro = 2, ZonaAlta = 4 };
ZonaPunto ClasificaPunto(float temp, float lo, float hi);
// The series of the chart that carries a zone: 1, 2, 3; 0 for none.
int SerieDeZona(ZonaPunto zona);

// Limits in degrees of the unit, as 4-byte floats.
struct Limites {
    float lo = 0, hi = 0;
};
Limites LimitesGrados(const records::MissionRecord& record, int gradosC);

// Whole minutes from base to t, counted at minute boundaries.
qint64 MinutosDesde(const QDateTime& base, const QDateTime& t);

// The X-axis title of the window first..last: "First 10 samples of a total of 10" and kin.
QString TituloEje(const TextTable& textos, bool circular, int first, int last, int numPuntos, int numMuestras);

// Windows shorter than this show a marker at every point.
inline bool ConMarcadores(int first, int last) { return last - first < 31; }

// Minimum and maximum temperature over points first..last (gaps skipped); both 0 when the
// window holds no temperature.
struct RangoTemp {
    float min = 0, max = 0;
    bool vacio = true;
};
RangoTemp RangoVentana(const Puntos& puntos, int first, int last);

// The date title over a window from start to end with its middle: the weekday within one day,
// the two days across one midnight, the month, the two dates across one month boundary, the
// months up to six boundaries, else the year.
QString TituloFecha(const QDateTime& start, const QDateTime& end, const QDateTime& mid, const QLocale& locale);

// Cursor readout: "dd mmm yy hh:mm" with the month name of the locale, and "##0.0" with the
// decimal separator of the number locale followed by the unit text.
QString TextoHora(const QDateTime& t, const QLocale& locale);
QString TextoTemp(float temp, const QLocale& numeros, const QString& unidad);
// Background of the readout by the value shown (rounded to one decimal): pink above the high
// limit, green within (limits included), cyan below. Colours as 0xRRGGBB.
constexpr quint32 kColorAlta = 0xFFC0C0, kColorDentro = 0x00FF00, kColorBaja = 0x00FFFF;
quint32 ColorLectura(float temp, const Limites& limites);

// The zoom levels: level 0 is the whole record, up to 23 more can be stacked; a step to level 24
// is refused and remembered in ZoomAlLimite.
class NivelesZoom {
public:
    static constexpr int kNiveles = 25;
    static constexpr int kLimite = 24;

    std::array<qint32, kNiveles> ZoomDesde{};
    std::array<qint32, kNiveles> ZoomHasta{};
    int NivelZoom = 0;
    bool ZoomAlLimite = false;

    void inicia(int numPuntos);   // level 0 = points 1 .. numPuntos - 1 (1 .. 1 at least)
    // Zoom in on the left half of the window first..last. Returns the new level, or -1 when the
    // window is too short or the level limit was reached.
    int acercaMitad(int first, int last);
    // The level below the current one (0 stays 0).
    int aleja();
    void reinicia();

    // A band: the level goes up when it starts and back down when it is cancelled.
    bool empiezaBanda(int desde);              // false at the level limit
    // Ends the band at point hasta; swaps a band dragged leftwards. Returns false (and restores
    // the level) when it spans fewer than 2 points.
    bool terminaBanda(int hasta);
};

// The scroll bar's window for a value: value .. value + span, kept inside 1..numPuntos, where
// span (the scroll bar's large change) is last - first of the window that set it.
struct Ventana {
    int first = 1, last = 1;
};
Ventana VentanaScroll(int value, int span, int numPuntos);

} // namespace orvan::views
