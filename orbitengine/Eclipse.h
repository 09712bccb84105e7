// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/CivilTime.h"
#include "orbitengine/Sgp4.h"
#include "orbitengine/Status.h"

#include <vector>

// The Earth's shadow on a satellite: a conical model of a spherical Earth
// (equatorial radius, 6378.137 km) lit by a spherical Sun (696,000 km).
// A cylindrical shadow (or a point Sun) puts the edge where the Sun's centre
// sets, which for low orbits lies 4 to 7 s (half the penumbra's crossing)
// from the umbra's edge; the cone gives the umbra's and the penumbra's edges
// themselves, and the Sun's centre's where a point-Sun figure is wanted.
// Eclipses are found like passes: a scan in steps of 1/40 of a revolution,
// each step whose samples cannot exclude an edge halved until they do, then
// each edge refined as a root to well under a millisecond.
namespace orbit {

enum class Illumination {
    Sunlit,
    Penumbra, // part of the Sun's disc behind the Earth
    Umbra     // all of it
};

// Which edge of the shadow an eclipse is bounded by.
enum class ShadowEdge {
    Umbra,     // the last of the Sun's disc sets behind the Earth
    SunCentre, // the Sun's centre sets: the edge of a point Sun's (cylinder-like) shadow
    Penumbra   // the first of the disc sets
};

// Margin of a shadow's edge, radians: the angle between the Earth's centre
// and the Sun's centre seen from the satellite, less the Earth's apparent
// radius, plus (umbra) or less (penumbra) the Sun's. Negative inside that
// shadow; its roots are the edge. Both positions geocentric, km, TEME.
double shadowMarginRad(const double satelliteKm[3], const double sunKm[3],
                       ShadowEdge edge = ShadowEdge::Umbra);

// Light at a satellite position (km, TEME) with the Sun at `sunKm` (km, TEME).
Illumination illumination(const double satelliteKm[3], const double sunKm[3]);

struct Eclipse
{
    double entryJd = 0; // Julian date UTC, the satellite crosses the edge into the shadow
    double exitJd = 0;  // Julian date UTC, it crosses the edge out of it
    double durationSeconds() const { return (exitJd - entryJd) * secondsPerDay; }
};

struct EclipseSearch
{
    Status status;
    std::vector<Eclipse> eclipses; // ascending entry
};

// Every shadow interval (bounded by `edge`) that overlaps [startJd, endJd]
// (Julian dates, UTC; at most 400 days apart), with its true entry and exit:
// an eclipse under way at startJd has its entry before it, one under way at
// endJd its exit after it.
EclipseSearch findEclipses(Sgp4 &satellite, double startJd, double endJd,
                           ShadowEdge edge = ShadowEdge::Umbra);

} // namespace orbit
