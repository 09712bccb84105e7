// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Geometry.h"
#include "orbitengine/CivilTime.h"
#include "orbitengine/FastTrig.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace orbit;

TEST(SiderealTime, PublishedValues)
{
    // J2000.0: 18h 41m 50.54841s
    EXPECT_NEAR(gmst(2451545.0) * radToDeg, 280.46061837, 1e-8);
    // Vallado, Fundamentals of Astrodynamics, example 3-5: 1992-08-20 12:14 UT1
    EXPECT_NEAR(gmst(2448854.5 + 734.0 / 1440.0) * radToDeg, 152.578787810, 1e-8);
    // Always in [0, 2 pi)
    for (double jd = 2415020.0; jd < 2488070.0; jd += 3652.625) {
        EXPECT_GE(gmst(jd), 0.0);
        EXPECT_LT(gmst(jd), twoPi);
    }
}

TEST(Observer, WgsEightyFourAtSeaLevel)
{
    const Observer equator = makeObserver(0, 0);
    EXPECT_NEAR(equator.ecef[0], 6378.137, 1e-9);
    EXPECT_NEAR(equator.ecef[1], 0, 1e-9);
    const Observer pole = makeObserver(90, 123);
    EXPECT_NEAR(pole.ecef[2], 6356.7523142, 1e-6);
    EXPECT_NEAR(std::hypot(pole.ecef[0], pole.ecef[1]), 0, 1e-9);
}

TEST(SubPoint, InverseOfTheStationPositionAtAnyLatitude)
{
    for (double lat : {-90.0, -89.999, -45.0, 0.0, 12.5, 38.9833, 89.9999, 90.0}) {
        for (double lon : {-179.9, -76.4833, 0.0, 100.0, 180.0}) {
            for (double h : {0.0, 420.0, 35786.0}) {
                const Observer o = makeObserver(lat, lon);
                // Raise the point by h along the ellipsoid normal.
                double p[3] = {o.ecef[0] + h * o.cosLat * o.cosLon,
                               o.ecef[1] + h * o.cosLat * o.sinLon, o.ecef[2] + h * o.sinLat};
                const SubPoint s = subPoint(p);
                EXPECT_NEAR(s.latitudeRad * radToDeg, lat, 1e-9) << lat << " " << lon << " " << h;
                EXPECT_NEAR(s.altitudeKm, h, 1e-7) << lat << " " << lon << " " << h;
                if (std::fabs(lat) < 90.0) {
                    double expected = lon;
                    if (expected <= -180.0)
                        expected += 360.0;
                    EXPECT_NEAR(std::remainder(s.longitudeRad * radToDeg - expected, 360.0), 0,
                                1e-9);
                }
                EXPECT_GT(s.longitudeRad, -pi);
                EXPECT_LE(s.longitudeRad, pi);
            }
        }
    }
}

TEST(LookAngles, ZenithHorizonAndCompassPoints)
{
    const Observer o = makeObserver(38.9833, -76.4833);
    // Straight up along the normal.
    double up[3] = {o.ecef[0] + 500 * o.cosLat * o.cosLon, o.ecef[1] + 500 * o.cosLat * o.sinLon,
                    o.ecef[2] + 500 * o.sinLat};
    LookAngles a = lookAngles(o, up);
    EXPECT_NEAR(a.elevationRad * radToDeg, 90.0, 1e-9);
    EXPECT_NEAR(a.rangeKm, 500.0, 1e-9);
    EXPECT_NEAR(elevation(o, up) * radToDeg, 90.0, 1e-9);

    // 1000 km to the local north and east, on the horizontal plane.
    const double north[3] = {-o.sinLat * o.cosLon, -o.sinLat * o.sinLon, o.cosLat};
    const double east[3] = {-o.sinLon, o.cosLon, 0};
    double p[3];
    for (int k = 0; k < 3; ++k)
        p[k] = o.ecef[k] + 1000 * north[k];
    a = lookAngles(o, p);
    EXPECT_NEAR(a.azimuthRad * radToDeg, 0.0, 1e-9);
    EXPECT_NEAR(a.elevationRad, 0.0, 1e-12);
    for (int k = 0; k < 3; ++k)
        p[k] = o.ecef[k] + 1000 * east[k] - 1000 * north[k];
    a = lookAngles(o, p);
    EXPECT_NEAR(a.azimuthRad * radToDeg, 135.0, 1e-9);
    for (int k = 0; k < 3; ++k)
        p[k] = o.ecef[k] - 1000 * east[k] + 10 * north[k];
    a = lookAngles(o, p);
    EXPECT_NEAR(a.azimuthRad * radToDeg, 360.0 - 89.427061302, 1e-6);
}

TEST(EarthFixed, RotationBySiderealAngle)
{
    const double teme[3] = {7000, 0, 100};
    double ecef[3];
    temeToEcef(teme, pi / 2, ecef);
    EXPECT_NEAR(ecef[0], 0, 1e-9);
    EXPECT_NEAR(ecef[1], -7000, 1e-9);
    EXPECT_EQ(ecef[2], 100);
}

TEST(FastTrig, AgreesWithTheLibraryToAFewUnitsInTheLastPlace)
{
    double worst = 0;
    for (double x = -2.0e4; x < 2.0e4; x += 0.6180339887) {
        double s, c;
        trig::sinCos(x, s, c);
        worst = std::max({worst, std::fabs(s - std::sin(x)), std::fabs(c - std::cos(x))});
    }
    EXPECT_LT(worst, 4e-16);
    double s, c;
    trig::sinCos(1.0e7, s, c); // the library's range
    EXPECT_EQ(s, std::sin(1.0e7));
    trig::sinCos(std::nan(""), s, c);
    EXPECT_TRUE(std::isnan(s));
}

TEST(CivilTime, JulianDatesOfKnownInstantsAndBack)
{
    EXPECT_DOUBLE_EQ(julianDate(2000, 1, 1, 12, 0, 0), 2451545.0);
    EXPECT_DOUBLE_EQ(julianDate(1970, 1, 1, 0, 0, 0), 2440587.5);
    EXPECT_DOUBLE_EQ(julianDate(1899, 12, 30, 0, 0, 0), 2415018.5);
    EXPECT_DOUBLE_EQ(julianDate(2024, 2, 29, 18, 0, 0), 2460370.25);

    const CivilTime c = civilTime(unixMilliseconds(julianDate(2026, 12, 31, 23, 59, 59.9996)));
    EXPECT_EQ(c.year, 2027); // rounds up into the new year
    EXPECT_EQ(c.month, 1);
    EXPECT_EQ(c.day, 1);
    EXPECT_EQ(c.hour + c.minute + c.second + c.millisecond, 0);

    const CivilTime before = civilTime(unixMilliseconds(julianDate(1957, 10, 4, 19, 28, 34.5)));
    EXPECT_EQ(before.year, 1957);
    EXPECT_EQ(before.month, 10);
    EXPECT_EQ(before.day, 4);
    EXPECT_EQ(before.hour, 19);
    EXPECT_EQ(before.minute, 28);
    EXPECT_EQ(before.second, 34);
    EXPECT_EQ(before.millisecond, 500);
}
