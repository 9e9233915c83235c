#include "views/ShipmentSummary.h"

#include "base/AddedTexts.h"
#include "records/MissionRecord.h"

#include <array>
#include <cmath>

namespace orvan::views {

namespace {

constexpr double kZeroCelsius = 273.15;

// The raw scale with one rounding: raw x 0.9 - 40 computed as (9 raw - 400) / 10 gives the double
// nearest the true value (35.6, not 35.599999999999994), so the shortest form in a file is the
// tenth the scale has.
double degreesOf(int raw, Unit unit)
{
    return unit == Unit::Celsius ? raw / 2.0 - 40.0 : (raw * 9 - 400) / 10.0;
}

double celsiusToUnit(double celsius, Unit unit)
{
    return unit == Unit::Celsius ? celsius : celsius * 9.0 / 5.0 + 32.0;
}

// An excursion being followed through the samples, by held-sample index.
struct Run {
    Zone zone = Within;
    int first = 0;
    int samples = 0;
    int peakRaw = 0;
};

} // namespace

Verdict judge(const ShipmentSummary& s, Allowances allowed)
{
    if (!s.min)
        return Verdict::NoData;
    // A gap in the record can hide an excursion, so a record with one never passes.
    const bool pass = s.missing == 0 && s.minutesAbove <= allowed.above && s.minutesBelow <= allowed.below;
    return pass ? Verdict::Pass : Verdict::Fail;
}

ShipmentSummary summarize(const records::MissionRecord& record, Unit unit, Allowances allowed)
{
    const auto& c = record.campos;
    ShipmentSummary s;
    s.unit = unit;
    s.samples = record.heldSampleCount();
    s.of = c.NumMuestras;
    s.circular = c.Circular;
    s.interval = c.Rango;
    s.lowLimit = degreesOf(c.LoThreshold, unit);
    s.highLimit = degreesOf(c.HiThreshold, unit);
    s.allowed = allowed;

    // The raw scale is monotonic in both units, so the extremes and the peaks are found on raw
    // bytes and converted once; the mean and the MKT sum over the 255 possible values by count.
    std::array<qint64, 256> counts{};
    std::array<qint64, 3> zoneCounts{};
    int minIndex = -1, maxIndex = -1;
    int minRaw = 0, maxRaw = 0;
    QVector<Run> runs;
    Run run;
    const auto closeRun = [&] {
        if (run.samples > 0)
            runs.append(run);
        run = Run{};
    };
    for (int i = 0; i < s.samples; ++i) {
        const int raw = record.heldSample(i);
        if (raw == kMissingRaw) {
            ++s.missing;
            closeRun();
            continue;
        }
        ++counts[size_t(raw)];
        if (minIndex < 0 || raw < minRaw) {
            minRaw = raw;
            minIndex = i;
        }
        if (maxIndex < 0 || raw > maxRaw) {
            maxRaw = raw;
            maxIndex = i;
        }
        const Zone zone = zoneOfRaw(raw, c.LoThreshold, c.HiThreshold);
        ++zoneCounts[zone];
        if (zone != run.zone)
            closeRun();
        if (zone == Within)
            continue;
        if (run.samples == 0)
            run = Run{zone, i, 0, raw};
        ++run.samples;
        if (zone == Above ? raw > run.peakRaw : raw < run.peakRaw)
            run.peakRaw = raw;
    }
    closeRun();

    const qint64 interval = c.Rango;
    s.minutesWithin = zoneCounts[Within] * interval;
    s.minutesAbove = zoneCounts[Above] * interval;
    s.minutesBelow = zoneCounts[Below] * interval;
    for (const Run& r : runs) {
        s.excursions.append({r.zone, record.heldSampleTime(r.first), r.samples, r.samples * interval,
                             degreesOf(r.peakRaw, unit)});
    }

    if (minIndex >= 0) {
        s.min = TimedValue{degreesOf(minRaw, unit), record.heldSampleTime(minIndex)};
        s.max = TimedValue{degreesOf(maxRaw, unit), record.heldSampleTime(maxIndex)};
        double sum = 0, kinetic = 0;
        qint64 n = 0;
        for (int raw = 0; raw < kMissingRaw; ++raw) {
            const qint64 k = counts[size_t(raw)];
            if (k == 0)
                continue;
            n += k;
            sum += double(k) * degreesOf(raw, unit);
            kinetic += double(k) * std::exp(-kMktDeltaHOverR / (degreesOf(raw, Unit::Celsius) + kZeroCelsius));
        }
        s.mean = sum / double(n);
        const double mktCelsius = kMktDeltaHOverR / -std::log(kinetic / double(n)) - kZeroCelsius;
        s.mkt = celsiusToUnit(mktCelsius, unit);
    }
    s.verdict = judge(s, allowed);
    return s;
}

QString verdictKey(Verdict v)
{
    switch (v) {
    case Verdict::Pass:
        return QStringLiteral("pass");
    case Verdict::Fail:
        return QStringLiteral("fail");
    case Verdict::NoData:
        break;
    }
    return QStringLiteral("no data");
}

QString zoneKey(Zone z)
{
    return z == Below ? QStringLiteral("below") : z == Above ? QStringLiteral("above") : QStringLiteral("within");
}

QString heldNote(const ShipmentSummary& s, int idioma)
{
    if (!s.partial())
        return {};
    return addedText(s.circular ? AddedText::SummaryLastOf : AddedText::SummaryFirstOf, idioma)
        .arg(s.samples)
        .arg(s.of);
}

} // namespace orvan::views
