#pragma once
// The zone counts behind the histogram and the proportions views: how many samples lay within
// the limits, above the high limit and below the low limit, first among the samples the record
// holds (row 0), then in the logger's own count table for the whole mission (row 1).

#include "base/Unit.h"

#include <QLocale>
#include <QString>
#include <QVector>
#include <array>

namespace orvan { class TextTable; }
namespace orvan::records { class MissionRecord; }

namespace orvan::views {

// Column of a zone in the counts; also the series of a bar or a slice.
enum Zone { Within = 0, Above = 1, Below = 2 };

// Raw rule, for count-table entries and bars: a value equal to a limit is within.
Zone zoneOfRaw(int raw, int loRaw, int hiRaw);
// Converted rule, on single-precision degrees.
Zone zoneOfDegrees(float degrees, float lo, float hi);

// The two views count row 0 differently: the histogram replaces a byte above 216 by the value
// before it, the proportions count it as it is.
enum class CountView { Histogram, Proportions };

constexpr int kTablaConteos = 4096;   // 512 entries of two bytes, high byte first
constexpr int kTableEntries = 512;
constexpr int kHighestValid = 216;    // bytes above it are not temperatures the logger writes

struct ZoneCounts {
    // [row][within, above, below, total]
    std::array<std::array<qint32, 4>, 2> Cuentas{};
    // [row][within, above, below], whole percentages
    std::array<std::array<qint32, 3>, 2> Porcentajes{};
    std::array<qint32, 256> HistoMuestras{};   // row 0 by raw value (histogram only)
    std::array<qint32, 256> HistoEquipo{};     // row 1 by count-table entry
};

// Counts both rows and computes the percentages. The record must be decoded.
ZoneCounts CuentaMuestras(const records::MissionRecord& record, Unit unit, CountView view);

// count x 100 / total rounded to the nearest whole number, halves to even; 0 for a total below 1.
qint32 percentage(qint64 count, qint64 total);

// The result captions of one row. A hidden zone label is one the view does not show.
struct Captions {
    QString CantMuestras[2];
    QString MueOk[2], MueMay[2], MueMen[2];
    bool visibleOk[2] = {true, true}, visibleMay[2] = {true, true}, visibleMen[2] = {true, true};
};
Captions PoneResultados(const ZoneCounts& z, const records::MissionRecord& record, const TextTable& textos,
                        Unit unit, CountView view, const QLocale& locale);

// The second panel is shown only when the mission took more samples than the memory holds.
bool showsSecondPanel(const records::MissionRecord& record);

// One bar of a histogram chart: a non-empty bin, its temperature, count and zone.
struct Bar {
    double x = 0;
    qint32 count = 0;
    Zone zone = Within;
};
// The bars of chart 0 (the record's samples) or 1 (the logger's table), in increasing temperature.
QVector<Bar> Bars(const ZoneCounts& z, int chart, const records::MissionRecord& record, Unit unit);

} // namespace orvan::views
