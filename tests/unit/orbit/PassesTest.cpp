// SPDX-License-Identifier: GPL-2.0-or-later
// The pass search against rise and set times found independently (skyfield,
// refined to 0.1 ms; see tests/data/orbit/passes-reference.txt).
#include "OrbitTestData.h"
#include "orbitengine/OrbitEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

using namespace orbit;

namespace {

struct ReferencePass
{
    double aosJd, losJd, maxElevationDeg, aosAzimuthDeg, losAzimuthDeg;
};

struct Scenario
{
    std::string name;
    double latitude = 0, longitude = 0, startJd = 0, days = 0;
    std::vector<ReferencePass> passes;
};

std::vector<Scenario> readScenarios()
{
    std::vector<Scenario> scenarios;
    std::istringstream in(orbittest::readData("passes-reference.txt"));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.rfind("@ ", 0) == 0) {
            Scenario s;
            std::istringstream fields(line.substr(2));
            std::string lat, lon, start, days;
            std::getline(fields, s.name, '|');
            std::getline(fields, lat, '|');
            std::getline(fields, lon, '|');
            std::getline(fields, start, '|');
            std::getline(fields, days, '|');
            s.latitude = std::stod(lat);
            s.longitude = std::stod(lon);
            s.startJd = orbittest::julianDate(start);
            s.days = std::stod(days);
            scenarios.push_back(s);
            continue;
        }
        std::istringstream fields(line);
        std::string aos, los;
        ReferencePass p{};
        fields >> aos >> los >> p.maxElevationDeg >> p.aosAzimuthDeg >> p.losAzimuthDeg;
        p.aosJd = orbittest::julianDate(aos);
        p.losJd = orbittest::julianDate(los);
        scenarios.back().passes.push_back(p);
    }
    return scenarios;
}

OrbitEngine stationEngine(double latitude, double longitude)
{
    OrbitEngine engine;
    engine.addElementText(orbittest::readData("station.txt"));
    EXPECT_TRUE(engine.SetObserverLatitude(latitude));
    EXPECT_TRUE(engine.SetObserverLongitude(longitude < 0 ? longitude + 360.0 : longitude));
    return engine;
}

double azimuthDifference(double a, double b)
{
    return std::fabs(std::remainder(a - b, 360.0));
}

} // namespace

TEST(PassSearch, AgreesWithAnIndependentFinderAtPolesEquatorAndBothHemispheres)
{
    const auto scenarios = readScenarios();
    ASSERT_EQ(scenarios.size(), 8u);
    for (const Scenario &s : scenarios) {
        SCOPED_TRACE(s.name + " at " + std::to_string(s.latitude) + ", " +
                     std::to_string(s.longitude));
        OrbitEngine engine = stationEngine(s.latitude, s.longitude);
        const PassSearch found = engine.findPasses(s.name, s.startJd, s.startJd + s.days);
        ASSERT_TRUE(found.status) << found.status.reason();
        ASSERT_EQ(found.passes.size(), s.passes.size());
        for (size_t i = 0; i < s.passes.size(); ++i) {
            const Pass &p = found.passes[i];
            const ReferencePass &r = s.passes[i];
            EXPECT_NEAR((p.aosJd - r.aosJd) * 86400.0, 0.0, 0.1) << "pass " << i;
            EXPECT_NEAR((p.losJd - r.losJd) * 86400.0, 0.0, 0.1) << "pass " << i;
            EXPECT_NEAR(p.maxElevationDeg, r.maxElevationDeg, 0.01) << "pass " << i;
            EXPECT_LT(azimuthDifference(p.aosAzimuthDeg, r.aosAzimuthDeg), 0.02) << "pass " << i;
            EXPECT_LT(azimuthDifference(p.losAzimuthDeg, r.losAzimuthDeg), 0.02) << "pass " << i;
            EXPECT_LT(p.aosJd, p.maxJd);
            EXPECT_LT(p.maxJd, p.losJd);
            if (i > 0) {
                EXPECT_GT(p.aosJd, found.passes[i - 1].losJd);
            }
        }
    }
}

TEST(PassSearch, OverheadPassCulminatesAtNinetyDegrees)
{
    // The station sits under the ISS at 2026-12-08 09:30 UTC.
    OrbitEngine engine = stationEngine(33.920672, -73.540182);
    const double start = orbittest::julianDate(2026, 12, 8, 9, 0);
    const PassSearch found = engine.findPasses("ISS (ZARYA)", start, start + 0.05);
    ASSERT_TRUE(found.status);
    ASSERT_EQ(found.passes.size(), 1u);
    EXPECT_NEAR(found.passes[0].maxElevationDeg, 90.0, 0.01);
    EXPECT_LE(found.passes[0].maxElevationDeg, 90.0);
}

TEST(PassSearch, OrbitThatCannotReachTheStationIsRecognisedWithoutAScan)
{
    OrbitEngine engine = stationEngine(85.0, 10.0);
    const double start = orbittest::julianDate(2026, 12, 8);
    const PassSearch found = engine.findPasses("ISS (ZARYA)", start, start + 30);
    EXPECT_TRUE(found.status);
    EXPECT_EQ(found.visibility, Visibility::NeverRises);
    EXPECT_TRUE(found.passes.empty());
}

TEST(PassSearch, GeostationarySatelliteIsAlwaysInViewAndHasNoPasses)
{
    OrbitEngine engine = stationEngine(0.0, 100.0);
    const double start = orbittest::julianDate(2026, 12, 8);
    const PassSearch found = engine.findPasses("GEO SAT", start, start + 30);
    EXPECT_TRUE(found.status);
    EXPECT_EQ(found.visibility, Visibility::AlwaysInView);
    EXPECT_TRUE(found.passes.empty());
    Position p;
    ASSERT_TRUE(engine.GetPosition("GEO SAT", start + 12.3, p));
    EXPECT_NE(p.inView, 0);
    EXPECT_NEAR(p.altitudeKm, 35790, 30);
}

TEST(PassSearch, GeostationarySatelliteBelowTheHorizonNeverComesUp)
{
    OrbitEngine engine = stationEngine(40.0, -100.0);
    const double start = orbittest::julianDate(2026, 12, 8);
    const PassSearch found = engine.findPasses("GEO SAT", start, start + 30);
    EXPECT_TRUE(found.status);
    EXPECT_TRUE(found.passes.empty());
}

TEST(PassSearch, PassUnderWayAtTheStartIsNotListed)
{
    OrbitEngine engine = stationEngine(38.9833, -76.4833);
    // 2026-12-08 09:25:17.664 to 09:35:43.878 UTC is a pass.
    const double start = orbittest::julianDate(2026, 12, 8, 9, 30);
    const PassSearch found = engine.findPasses("ISS (ZARYA)", start, start + 0.2);
    ASSERT_TRUE(found.status);
    ASSERT_FALSE(found.passes.empty());
    EXPECT_NEAR((found.passes[0].aosJd - orbittest::julianDate("2026-12-08T11:02:02.450Z")) *
                    86400.0,
                0, 0.1);
}

TEST(PassSearch, PassWhoseLosLiesAfterTheEndIsCompleted)
{
    OrbitEngine engine = stationEngine(38.9833, -76.4833);
    const double start = orbittest::julianDate(2026, 12, 8, 9, 0);
    const double end = orbittest::julianDate(2026, 12, 8, 9, 26);
    const PassSearch found = engine.findPasses("ISS (ZARYA)", start, end);
    ASSERT_EQ(found.passes.size(), 1u);
    EXPECT_NEAR((found.passes[0].losJd - orbittest::julianDate("2026-12-08T09:35:43.878Z")) *
                    86400.0,
                0, 0.1);
}

TEST(PassSearch, RequestsOutsideItsRangeAreRefused)
{
    OrbitEngine engine = stationEngine(38.9833, -76.4833);
    const double start = orbittest::julianDate(2026, 12, 8);
    EXPECT_EQ(engine.findPasses("ISS (ZARYA)", start, start - 1).status.code(),
              StatusCode::BadArgument);
    EXPECT_EQ(engine.findPasses("ISS (ZARYA)", start, start + 1000).status.code(),
              StatusCode::BadArgument);
    EXPECT_EQ(engine.findPasses("ISS (ZARYA)", std::nan(""), start).status.code(),
              StatusCode::BadArgument);
    EXPECT_EQ(engine.findPasses("NO SUCH SAT", start, start + 1).status.code(),
              StatusCode::NotFound);
}
