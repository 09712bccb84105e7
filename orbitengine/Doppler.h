// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/Geometry.h"
#include "orbitengine/Sgp4.h"

// Range, range rate and the Doppler shift between a station and a satellite.
// The station turns with the Earth: the range rate is taken from the
// satellite's velocity relative to the rotating Earth (TEME velocity less
// omega x r), as the station measures it. UT1 is taken as UTC.
namespace orbit {

inline constexpr double speedOfLightKmPerS = 299792.458;

struct RangeRate
{
    double rangeKm = 0;         // station to satellite
    double rangeRateKmPerS = 0; // positive when the satellite recedes
};

// Range and range rate of a satellite state (km, km/s, TEME) at `jdUtc`
// (Julian date, UTC: the engine's time value), seen from the station.
RangeRate rangeRate(const Observer &observer, const StateVector &satelliteTeme, double jdUtc);

// Shift, Hz, of a signal the satellite sends at `frequencyHz`, as the station
// receives it (received less sent): positive while the satellite approaches.
// A moving source: received = sent * c / (c + range rate).
double downlinkShiftHz(double frequencyHz, double rangeRateKmPerS);

// Frequency, Hz, the station transmits so that the satellite receives
// `frequencyHz`. A moving receiver: sent = wanted * c / (c - range rate).
double uplinkFrequencyHz(double frequencyHz, double rangeRateKmPerS);

} // namespace orbit
