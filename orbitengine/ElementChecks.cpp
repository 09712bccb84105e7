// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/ElementChecks.h"

#include "orbitengine/CivilTime.h"

#include <cmath>
#include <cstdio>

namespace orbit {
namespace {

constexpr double earthRadiusKm = 6378.135;   // WGS-72, as the propagator
constexpr double earthMuKm3PerS2 = 398600.8; // WGS-72
constexpr double minMeanMotion = 0.05;       // rev/day: a period of 20 days, far past the Moon
constexpr double maxMeanMotion = 20.0;       // rev/day: a period of 72 minutes

Status refuse(const char *what, double value, const char *bounds)
{
    char text[160];
    std::snprintf(text, sizeof text, "%s %.8g is outside %s", what, value, bounds);
    return {StatusCode::BadElements, text};
}

bool within(double value, double low, double high)
{
    return std::isfinite(value) && value >= low && value <= high;
}

} // namespace

Status checkOrbitElements(const ElementSet &e)
{
    if (!within(e.inclinationDeg, 0, 180))
        return refuse("inclination", e.inclinationDeg, "0 to 180 degrees");
    if (!std::isfinite(e.eccentricity) || e.eccentricity < 0 || e.eccentricity >= 1)
        return refuse("eccentricity", e.eccentricity, "0 up to 1");
    if (!within(e.meanMotion, minMeanMotion, maxMeanMotion))
        return refuse("mean motion", e.meanMotion, "0.05 to 20 revolutions a day");
    if (!within(e.raanDeg, 0, 360))
        return refuse("right ascension of the node", e.raanDeg, "0 to 360 degrees");
    if (!within(e.argPerigeeDeg, 0, 360))
        return refuse("argument of perigee", e.argPerigeeDeg, "0 to 360 degrees");
    if (!within(e.meanAnomalyDeg, 0, 360))
        return refuse("mean anomaly", e.meanAnomalyDeg, "0 to 360 degrees");
    // Kepler's third law is close enough here: the bound is the Earth's surface.
    const double radPerS = e.meanMotion * 2 * M_PI / secondsPerDay;
    const double semiMajorKm = std::cbrt(earthMuKm3PerS2 / (radPerS * radPerS));
    const double perigeeKm = semiMajorKm * (1 - e.eccentricity) - earthRadiusKm;
    if (perigeeKm < 0) {
        char text[96];
        std::snprintf(text, sizeof text, "perigee %.0f km below the Earth's surface", -perigeeKm);
        return {StatusCode::BadElements, text};
    }
    return Status::ok();
}

} // namespace orbit
