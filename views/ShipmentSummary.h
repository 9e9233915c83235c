#pragma once
// The shipment summary: the figures a quality manager needs before releasing goods (lowest,
// highest and mean temperature, mean kinetic temperature, time in each zone, the excursions and
// a pass / fail verdict), computed from the samples the record holds. Widget-free, so that the
// window, the command line and the printed page show the same figures.

#include "base/Unit.h"
#include "views/ZoneCounts.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <optional>

namespace orvan::records { class MissionRecord; }

namespace orvan::views {

// A raw byte the erased memory holds: not a temperature.
constexpr int kMissingRaw = 255;
// Activation energy over the gas constant for the mean kinetic temperature, in kelvin
// (83.144 kJ/mol), the value pharmaceutical cold-chain guidance uses.
constexpr double kMktDeltaHOverR = 10000.0;

// A temperature and the time of the first held sample that has it.
struct TimedValue {
    double value = 0;
    QDateTime time;
};

// A maximal run of consecutive held samples in one out-of-range zone.
struct Excursion {
    Zone zone = Above;   // Above or Below
    QDateTime start;     // time of its first sample
    int samples = 0;
    qint64 minutes = 0;  // samples x interval
    double peak = 0;     // highest value of an Above run, lowest of a Below run
};

// Minutes out of range a shipment may spend and still pass.
struct Allowances {
    qint64 above = 0;
    qint64 below = 0;
};

enum class Verdict { NoData, Pass, Fail };

struct ShipmentSummary {
    Unit unit = Unit::Celsius;
    int samples = 0;        // held samples, missing ones included
    int missing = 0;        // held samples whose byte is kMissingRaw
    int of = 0;             // samples the mission took (NumMuestras)
    bool circular = false;  // the held samples are the mission's last, not its first
    int interval = 0;       // minutes between samples (Rango)
    double lowLimit = 0, highLimit = 0;
    // Empty when no held sample is a temperature.
    std::optional<TimedValue> min, max;
    std::optional<double> mean, mkt;
    qint64 minutesWithin = 0, minutesAbove = 0, minutesBelow = 0;
    QVector<Excursion> excursions;
    Allowances allowed;
    Verdict verdict = Verdict::NoData;

    // The mission took more samples than the record holds: only the held ones are summarised.
    bool partial() const { return of > samples; }
};

// The summary of a decoded record in the unit, judged against the allowances.
ShipmentSummary summarize(const records::MissionRecord& record, Unit unit, Allowances allowed = {});

// The verdict of a summary under other allowances: the window's fields recompute it at once,
// without going through the samples again.
Verdict judge(const ShipmentSummary& s, Allowances allowed);

// "no data", "pass", "fail": the verdict's name in files.
QString verdictKey(Verdict v);
// "above", "below": a zone's name in files.
QString zoneKey(Zone z);

// "the last 24576 of 30000 samples" (or the first, for a mission that stopped writing) in the
// language; empty when the record holds every sample of its mission.
QString heldNote(const ShipmentSummary& s, int idioma);

} // namespace orvan::views
