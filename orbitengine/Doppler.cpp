// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Doppler.h"

#include <cmath>

namespace orbit {
namespace {
// The rate of Greenwich mean sidereal time (IAU 1982), radians per second of UT1.
constexpr double earthRotationRadPerSec = 7.292115146706979e-5;
} // namespace

RangeRate rangeRate(const Observer &observer, const StateVector &satelliteTeme, double jdUtc)
{
    const double angle = gmst(jdUtc);
    double position[3], velocity[3];
    temeToEcef(satelliteTeme.position, angle, position);
    temeToEcef(satelliteTeme.velocity, angle, velocity);
    // Velocity in the rotating frame: less omega x r, omega along z.
    velocity[0] += earthRotationRadPerSec * position[1];
    velocity[1] -= earthRotationRadPerSec * position[0];

    const double d[3] = {position[0] - observer.ecef[0], position[1] - observer.ecef[1],
                         position[2] - observer.ecef[2]};
    RangeRate out;
    out.rangeKm = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    if (out.rangeKm > 0)
        out.rangeRateKmPerS =
            (d[0] * velocity[0] + d[1] * velocity[1] + d[2] * velocity[2]) / out.rangeKm;
    return out;
}

double downlinkShiftHz(double frequencyHz, double rangeRateKmPerS)
{
    return -frequencyHz * rangeRateKmPerS / (speedOfLightKmPerS + rangeRateKmPerS);
}

double uplinkFrequencyHz(double frequencyHz, double rangeRateKmPerS)
{
    return frequencyHz * speedOfLightKmPerS / (speedOfLightKmPerS - rangeRateKmPerS);
}

} // namespace orbit
