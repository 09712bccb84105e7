// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/FrequencyHold.h"

#include <gtest/gtest.h>

using namespace radio;

TEST(DopplerTuning, TheToleranceGrowsWithTheFrequency)
{
    EXPECT_LE(toleranceHz(145.825e6), 20);
    EXPECT_GT(toleranceHz(145.825e6), 19.9);
    EXPECT_LE(toleranceHz(437e6), 60);
    EXPECT_GT(toleranceHz(437e6), 59.8);
}

TEST(DopplerTuning, AValueHeldIsTheMiddleOfWhatItMustServe)
{
    // Falling 10 Hz a second from 145 MHz: within 20 Hz for 4 s.
    const double startJd = 2461382.5;
    const auto falling = [&](double jd) -> std::optional<double> {
        return 145e6 - 10 * (jd - startJd) * 86400;
    };
    const std::optional<Hold> hold = holdFrom(falling, startJd, 20);
    ASSERT_TRUE(hold);
    const double heldSeconds = (hold->untilJd - startJd) * 86400;
    EXPECT_GE(heldSeconds, 3.7); // searched in quarter seconds
    EXPECT_LE(heldSeconds, 4.001);
    EXPECT_NEAR(hold->valueHz, 145e6 - 10 * heldSeconds / 2, 1e-3);

    // A steady frequency is held for the longest time asked.
    const auto steady = [](double) -> std::optional<double> { return 145e6; };
    EXPECT_NEAR((holdFrom(steady, startJd, 20, 30)->untilJd - startJd) * 86400, 30, 1e-3);
}

TEST(DopplerTuning, AnApproachingSatelliteIsHeardHighAndSentToLow)
{
    // 7 km/s closing: about 3.4 kHz at 145.825 MHz.
    const TunedFrequencies tuned = dopplerTuned(145.825e6, 437e6, -7.0);
    const double c = 299792.458;
    EXPECT_NEAR(tuned.downlinkHz, 145.825e6 * (1 + 7.0 / c), 0.3);
    EXPECT_NEAR(tuned.uplinkHz, 437e6 * (1 - 7.0 / c), 0.3);
}
