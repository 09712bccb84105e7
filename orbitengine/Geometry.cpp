// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Geometry.h"

#include "orbitengine/CivilTime.h"

#include <cmath>

namespace orbit {
namespace {
constexpr double e2 = wgs84::flattening * (2.0 - wgs84::flattening);
}

double gmst(double jdUt1)
{
    const double t = (jdUt1 - julianDateOfJ2000) / 36525.0; // Julian centuries
    // seconds of time, IAU 1982
    double seconds =
        ((-6.2e-6 * t + 0.093104) * t + (876600.0 * 3600.0 + 8640184.812866)) * t + 67310.54841;
    double angle = std::fmod(seconds * degToRad / 240.0, twoPi);
    if (angle < 0)
        angle += twoPi;
    return angle;
}

Observer makeObserver(double latitudeDeg, double longitudeDeg)
{
    Observer o;
    o.latitudeRad = latitudeDeg * degToRad;
    o.longitudeRad = longitudeDeg * degToRad;
    o.sinLat = std::sin(o.latitudeRad);
    o.cosLat = std::cos(o.latitudeRad);
    o.sinLon = std::sin(o.longitudeRad);
    o.cosLon = std::cos(o.longitudeRad);
    const double n = wgs84::radiusKm / std::sqrt(1.0 - e2 * o.sinLat * o.sinLat);
    o.ecef[0] = n * o.cosLat * o.cosLon;
    o.ecef[1] = n * o.cosLat * o.sinLon;
    o.ecef[2] = n * (1.0 - e2) * o.sinLat;
    return o;
}

void temeToEcef(const double teme[3], double gmstRad, double ecef[3])
{
    const double c = std::cos(gmstRad), s = std::sin(gmstRad);
    const double x = c * teme[0] + s * teme[1];
    const double y = -s * teme[0] + c * teme[1];
    ecef[0] = x;
    ecef[1] = y;
    ecef[2] = teme[2];
}

namespace {
void topocentric(const Observer &o, const double sat[3], double &east, double &north, double &up)
{
    const double dx = sat[0] - o.ecef[0], dy = sat[1] - o.ecef[1], dz = sat[2] - o.ecef[2];
    east = -o.sinLon * dx + o.cosLon * dy;
    const double radial = o.cosLon * dx + o.sinLon * dy;
    north = -o.sinLat * radial + o.cosLat * dz;
    up = o.cosLat * radial + o.sinLat * dz;
}
} // namespace

LookAngles lookAngles(const Observer &observer, const double satelliteEcef[3])
{
    double east, north, up;
    topocentric(observer, satelliteEcef, east, north, up);
    LookAngles a;
    const double horizontal = std::hypot(east, north);
    a.rangeKm = std::hypot(horizontal, up);
    a.elevationRad = std::atan2(up, horizontal);
    a.azimuthRad = horizontal > 0 ? std::atan2(east, north) : 0.0;
    if (a.azimuthRad < 0)
        a.azimuthRad += twoPi;
    if (a.azimuthRad >= twoPi) // a tiny negative angle plus 2 pi rounds to 2 pi
        a.azimuthRad = 0;
    return a;
}

double elevation(const Observer &observer, const double satelliteEcef[3])
{
    double east, north, up;
    topocentric(observer, satelliteEcef, east, north, up);
    return std::atan2(up, std::hypot(east, north));
}

SubPoint subPoint(const double r[3])
{
    SubPoint s;
    const double p = std::hypot(r[0], r[1]);
    s.longitudeRad = std::atan2(r[1], r[0]);
    if (s.longitudeRad <= -pi)
        s.longitudeRad += twoPi;
    // Fixed-point form that stays well behaved at the poles.
    double lat = std::atan2(r[2], p * (1.0 - e2));
    for (int i = 0; i < 10; ++i) {
        const double sinLat = std::sin(lat);
        const double n = wgs84::radiusKm / std::sqrt(1.0 - e2 * sinLat * sinLat);
        const double next = std::atan2(r[2] + n * e2 * sinLat, p);
        const bool done = std::fabs(next - lat) < 1e-14;
        lat = next;
        if (done)
            break;
    }
    const double sinLat = std::sin(lat), cosLat = std::cos(lat);
    s.latitudeRad = lat;
    s.altitudeKm =
        p * cosLat + r[2] * sinLat - wgs84::radiusKm * std::sqrt(1.0 - e2 * sinLat * sinLat);
    return s;
}

} // namespace orbit
