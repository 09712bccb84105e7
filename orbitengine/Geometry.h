// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Earth models, sidereal time and the geometry between a station and a
// satellite. Times are Julian dates (UTC, taken as UT1).
namespace orbit {

namespace wgs72 {
inline constexpr double mu = 398600.8;       // km^3/s^2
inline constexpr double radiusKm = 6378.135; // equatorial radius, km
inline constexpr double j2 = 0.001082616;
inline constexpr double j3 = -0.00000253881;
inline constexpr double j4 = -0.00000165597;
} // namespace wgs72

namespace wgs84 {
inline constexpr double radiusKm = 6378.137;
inline constexpr double flattening = 1.0 / 298.257223563;
} // namespace wgs84

inline constexpr double pi = 3.14159265358979323846;
inline constexpr double twoPi = 2.0 * pi;
inline constexpr double degToRad = pi / 180.0;
inline constexpr double radToDeg = 180.0 / pi;

// Greenwich mean sidereal time (IAU 1982), radians in [0, 2 pi).
double gmst(double jdUt1);

// A station at sea level on the WGS-84 ellipsoid.
struct Observer
{
    double latitudeRad = 0;     // geodetic, north positive
    double longitudeRad = 0;    // east positive
    double ecef[3] = {0, 0, 0}; // Earth-fixed position, km
    double sinLat = 0, cosLat = 1, sinLon = 0, cosLon = 1;
};
Observer makeObserver(double latitudeDeg, double longitudeDeg);

// Rotates a TEME vector into the Earth-fixed frame (polar motion neglected).
void temeToEcef(const double teme[3], double gmstRad, double ecef[3]);

struct LookAngles
{
    double azimuthRad = 0;   // from north through east, [0, 2 pi)
    double elevationRad = 0; // geometric, above the local horizontal plane
    double rangeKm = 0;
};
LookAngles lookAngles(const Observer &observer, const double satelliteEcef[3]);

// Elevation alone, radians: the cheap form used by the pass search.
double elevation(const Observer &observer, const double satelliteEcef[3]);

struct SubPoint
{
    double latitudeRad = 0;  // geodetic (WGS-84)
    double longitudeRad = 0; // east positive, (-pi, pi]
    double altitudeKm = 0;   // above the ellipsoid
};
SubPoint subPoint(const double satelliteEcef[3]);

} // namespace orbit
