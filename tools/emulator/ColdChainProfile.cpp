#include "tools/emulator/ColdChainProfile.h"

#include <cmath>

namespace orvan::emulator {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Sensor noise of +-0.3 °C that looks random but is the same on every run.
double noise(qint64 minute)
{
    quint64 x = quint64(minute) * 0x9E3779B97F4A7C15ULL;
    x ^= x >> 29;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 32;
    return (double(x % 1000) / 999.0 - 0.5) * 0.6;
}

// A smooth bump of the given height between two fractions of the trip.
double bump(double t, double from, double to, double height)
{
    if (t <= from || t >= to)
        return 0.0;
    return height * std::sin(kPi * (t - from) / (to - from));
}

} // namespace

TemperatureProfile coldChainProfile(qint64 tripMinutes)
{
    const qint64 trip = tripMinutes > 0 ? tripMinutes : 1440;
    return [trip](qint64 minute) {
        const qint64 m = minute >= 0 ? minute % trip : 0;
        const double t = double(m) / double(trip);
        double c = 5.0 + 1.5 * std::sin(2.0 * kPi * double(minute) / 1440.0) + noise(minute);
        c += bump(t, 0.25, 0.40, 7.0);
        c += bump(t, 0.65, 0.80, -7.0);
        return c;
    };
}

TemperatureProfile constantProfile(double celsius)
{
    return [celsius](qint64) { return celsius; };
}

} // namespace orvan::emulator
