// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/CivilTime.h"
#include "orbitengine/Geometry.h"
#include "orbitengine/Sgp4.h"
#include "orbitengine/Status.h"

#include <vector>

// Rise and set search: a coarse scan for elevation maxima (at most 1/20 of an
// orbit per step), each maximum refined, then AOS and LOS found as roots of
// the elevation by bracketed bisection/secant steps to a few milliseconds.
namespace orbit {

struct Pass
{
    double aosJd = 0; // Julian date UTC, elevation crosses 0 upwards
    double losJd = 0; // elevation crosses 0 downwards
    double maxJd = 0; // time of the highest elevation
    double maxElevationDeg = 0;
    double aosAzimuthDeg = 0; // [0, 360)
    double losAzimuthDeg = 0;
    double durationSeconds() const { return (losJd - aosJd) * secondsPerDay; }
};

enum class Visibility {
    Passes,      // rises and sets
    NeverRises,  // the orbit cannot come above this station's horizon
    AlwaysInView // above the horizon for the whole search (e.g. geostationary)
};

struct PassSearch
{
    Status status;
    Visibility visibility = Visibility::Passes;
    std::vector<Pass> passes; // ascending AOS
};

// Every pass whose AOS lies in [startJd, endJd]; a pass under way at startJd
// is not listed. The LOS of the last pass may lie after endJd.
PassSearch findPasses(Sgp4 &satellite, const Observer &observer, double startJd, double endJd);

} // namespace orbit
