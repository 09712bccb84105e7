// SPDX-License-Identifier: GPL-2.0-or-later
// Range, range rate and Doppler against an independent computation
// (tests/data/orbit/doppler-reference.txt, made by tools/reference/doppler_reference.py).
#include "orbitengine/Doppler.h"
#include "OrbitTestData.h"
#include "orbitengine/OrbitEngine.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace orbit;

TEST(RangeRate, AgreesWithAnIndependentComputationToAHundredthOfAHertz)
{
    OrbitEngine engine;
    engine.addElementText(orbittest::readData("station.txt"));
    std::istringstream in(orbittest::readData("doppler-reference.txt"));
    Sgp4 satellite;
    Observer station;
    double frequencyHz = 0;
    std::string scenario;
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line.rfind("@ ", 0) == 0 ? line.substr(2) : line);
        if (line[0] == '@') {
            scenario = line;
            std::string name, lat, lon, skip, frequency;
            std::getline(fields, name, '|');
            std::getline(fields, lat, '|');
            std::getline(fields, lon, '|');
            for (int i = 0; i < 3; ++i)
                std::getline(fields, skip, '|');
            std::getline(fields, frequency, '|');
            ASSERT_TRUE(engine.findElementSet(name)) << name;
            ASSERT_TRUE(satellite.init(*engine.findElementSet(name)));
            station = makeObserver(std::stod(lat), std::stod(lon));
            frequencyHz = std::stod(frequency);
            continue;
        }
        std::string when;
        double rangeKm = 0, rateKmPerS = 0, shiftHz = 0;
        fields >> when >> rangeKm >> rateKmPerS >> shiftHz;
        const double jd = orbittest::julianDate(when);
        const ElementSet &e = satellite.elements();
        StateVector state;
        ASSERT_TRUE(
            satellite.propagate(((jd - e.epochJdWhole) - e.epochJdFraction) * 1440.0, state));
        const RangeRate r = rangeRate(station, state, jd);
        EXPECT_NEAR(r.rangeKm, rangeKm, 0.002) << scenario << " " << when;
        EXPECT_NEAR(r.rangeRateKmPerS, rateKmPerS, 1e-5) << scenario << " " << when;
        EXPECT_NEAR(downlinkShiftHz(frequencyHz, r.rangeRateKmPerS), shiftHz, 0.01)
            << scenario << " " << when;
        ++rows;
    }
    EXPECT_GT(rows, 100);
}

TEST(Doppler, ApproachingRaisesTheDownlinkAndLowersTheUplink)
{
    constexpr double f = 145.825e6;
    // 7 km/s: 145.825 MHz * 7 / 299792.458 = 3404.93 Hz, second order 0.08 Hz..
    EXPECT_NEAR(downlinkShiftHz(f, -7.0), 3405.02, 0.01);
    EXPECT_NEAR(downlinkShiftHz(f, 7.0), -3404.86, 0.01);
    // To be heard at f, transmit below it while the satellite approaches.
    EXPECT_NEAR(uplinkFrequencyHz(f, -7.0) - f, -3404.86, 0.01);
    EXPECT_NEAR(uplinkFrequencyHz(f, 7.0) - f, 3405.02, 0.01);
    EXPECT_EQ(downlinkShiftHz(f, 0.0), 0.0);
}
