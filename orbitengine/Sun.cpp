// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Sun.h"

#include "orbitengine/CivilTime.h"
#include "orbitengine/Geometry.h"

#include <cmath>

namespace orbit {

void sunPositionTeme(double jdUtc, double positionKm[3])
{
    // The formulae take days from J2000.0; UTC for TT moves the Sun by
    // 69 s of its path, 0.0008 degree, so no time-scale step is needed.
    const double n = jdUtc - julianDateOfJ2000;
    const double meanLongitude = (280.460 + 0.9856474 * n) * degToRad; // aberration included
    const double meanAnomaly = (357.528 + 0.9856003 * n) * degToRad;
    const double g = std::remainder(meanAnomaly, twoPi);
    const double longitude =
        meanLongitude + (1.915 * std::sin(g) + 0.020 * std::sin(2.0 * g)) * degToRad;
    const double obliquity = (23.439 - 0.0000004 * n) * degToRad;
    const double distanceKm =
        (1.00014 - 0.01671 * std::cos(g) - 0.00014 * std::cos(2.0 * g)) * astronomicalUnitKm;
    const double sinLongitude = std::sin(longitude);
    positionKm[0] = distanceKm * std::cos(longitude);
    positionKm[1] = distanceKm * std::cos(obliquity) * sinLongitude;
    positionKm[2] = distanceKm * std::sin(obliquity) * sinLongitude;
}

} // namespace orbit
