// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Where the Sun is, seen from the Earth's centre: the Astronomical Almanac's
// low-precision formulae (section C, "Sun"), good to 0.01 degree in direction
// between 1950 and 2050. They give the apparent position (aberration
// included) on the mean equator and equinox of date; TEME differs from that
// frame by the nutation of the equator, a few thousandths of a degree, well
// inside the formulae's own error, so the result is used as TEME.
namespace orbit {

inline constexpr double astronomicalUnitKm = 149597870.7;
inline constexpr double sunRadiusKm = 696000.0;

// Geocentric position of the Sun, km, TEME, at `jdUtc` (the engine's time
// value: Julian date, UTC).
void sunPositionTeme(double jdUtc, double positionKm[3]);

} // namespace orbit
