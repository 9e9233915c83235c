#pragma once
// Temperature profiles for the emulated logger: what its sensor reads at a given minute of the
// mission.

#include <QtGlobal>

#include <functional>

namespace orvan::emulator {

using TemperatureProfile = std::function<double(qint64 missionMinute)>;

// A refrigerated trip: about 5 °C with a daily swing of 1.5 °C and a little sensor noise, one
// warm excursion (a door left open at a transfer, peaking near 12 °C in the second quarter of the
// trip) and one cold excursion (goods pushed against the evaporator, down to about -2 °C in the
// fourth fifth). With the usual limits of 2 and 8 °C each excursion crosses one limit once.
// The trip repeats after tripMinutes; deterministic for a given minute.
TemperatureProfile coldChainProfile(qint64 tripMinutes = 1440);

// The same reading at every minute.
TemperatureProfile constantProfile(double celsius);

} // namespace orvan::emulator
