// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/SkyViewModel.h"

#include "StationPasses.h"

#include <gtest/gtest.h>

using namespace tracking;

TEST(SkyViewModel, ShowsTheComingPassThenThePassUnderWayThenTheNextOne)
{
    clsSats sats;
    StationPasses::load(sats);
    SkyViewModel model(sats);
    model.setSatellite(StationPasses::iss);

    const SkyView before = model.update(StationPasses::at(9, 20));
    ASSERT_TRUE(before.pass) << before.problem.toStdString();
    EXPECT_FALSE(before.inPass);
    EXPECT_NEAR(before.secondsToEvent, 317.7, 0.5);
    EXPECT_FALSE(before.live);
    EXPECT_GT(before.track.size(), 50u);
    EXPECT_NEAR(before.track.front().elevationDeg, 0, 0.01);

    const SkyView during = model.update(StationPasses::at(9, 30));
    ASSERT_TRUE(during.pass);
    EXPECT_EQ(during.pass->aosJd, before.pass->aosJd);
    EXPECT_TRUE(during.inPass);
    EXPECT_NEAR(during.secondsToEvent, 343.9, 0.5);
    ASSERT_TRUE(during.live);
    EXPECT_GT(during.live->elevationDeg, 0);

    const SkyView after = model.update(StationPasses::at(9, 36));
    ASSERT_TRUE(after.pass);
    EXPECT_GT(after.pass->aosJd, StationPasses::at(9, 36));
}

TEST(SkyViewModel, RangeRateIsNegativeApproachingAndPositiveReceding)
{
    clsSats sats;
    StationPasses::load(sats);
    const NextPass next = currentOrNextPass(sats, StationPasses::iss, StationPasses::at(9, 20));
    ASSERT_TRUE(next.pass);
    const double tca = next.pass->maxJd;
    const auto approaching = sats.rangeRate(StationPasses::iss, tca - 120 / 86400.0);
    const auto receding = sats.rangeRate(StationPasses::iss, tca + 120 / 86400.0);
    ASSERT_TRUE(approaching && receding);
    EXPECT_LT(approaching->rangeRateKmPerS, -3.0);
    EXPECT_GT(receding->rangeRateKmPerS, 3.0);
}

TEST(SkyViewModel, SaysWhyNothingCanBeShown)
{
    clsSats sats;
    StationPasses::load(sats);
    SkyViewModel model(sats);
    model.setSatellite(QStringLiteral("NO SUCH SAT"));
    const SkyView view = model.update(StationPasses::at(9, 20));
    EXPECT_FALSE(view.pass);
    EXPECT_TRUE(view.problem.startsWith(QStringLiteral("No position: ")))
        << view.problem.toStdString();
    model.setSatellite(QStringLiteral("GEO SAT"));
    EXPECT_EQ(model.update(StationPasses::at(9, 20)).problem,
              QStringLiteral("No pass of GEO SAT within two days."));
}

TEST(SkyViewModel, Texts)
{
    EXPECT_EQ(countdownText(317.7), QStringLiteral("00:05:18"));
    EXPECT_EQ(countdownText(-4), QStringLiteral("00:00:00"));
    EXPECT_EQ(countdownText(90061), QStringLiteral("1 d 01:01:01"));
    EXPECT_EQ(frequencyText(145828412.4), QStringLiteral("145.828 412 MHz"));
    EXPECT_EQ(shiftText(3412.4), QStringLiteral("+3 412 Hz"));
    EXPECT_EQ(shiftText(-15), QStringLiteral("-15 Hz"));
}
