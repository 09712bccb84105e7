// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RotatorPlan.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace radio;

namespace {
constexpr double second = 1.0 / 86400;

// A track through the given azimuths, one point every 10 s, rising to 40°
// in the middle.
std::vector<TrackPoint> track(std::initializer_list<double> azimuths)
{
    std::vector<TrackPoint> points;
    const double count = static_cast<double>(azimuths.size());
    for (const double azimuth : azimuths) {
        const double i = static_cast<double>(points.size());
        points.push_back({2461382.5 + i * 10 * second, std::fmod(azimuth + 360, 360),
                          40 * std::sin(3.14159265 * i / (count - 1))});
    }
    return points;
}

// Where the rotator is sent along the track.
std::vector<RotatorPosition> positions(const RotatorPlan &plan,
                                       const std::vector<TrackPoint> &points)
{
    std::vector<RotatorPosition> sent;
    for (const TrackPoint &point : points)
        sent.push_back(pointFor(plan, point.jd, point.azimuthDeg, point.elevationDeg));
    return sent;
}

// The largest turn between two points of the track: a swing round shows as
// a few hundred degrees.
double largestStep(const std::vector<RotatorPosition> &sent)
{
    double largest = 0;
    for (std::size_t i = 1; i < sent.size(); ++i)
        largest = std::max(largest, std::abs(sent[i].azimuthDeg - sent[i - 1].azimuthDeg));
    return largest;
}

const auto acrossNorth = track({330, 340, 350, 0, 10, 20, 30});
const auto acrossSouth = track({150, 160, 170, 180, 190, 200, 210});
} // namespace

TEST(RotatorPlan, AcrossNorthARotatorWithOverlapGoesPast360)
{
    const RotatorPlan plan = planPass(acrossNorth, {0, 450, 0, 90});
    EXPECT_EQ(plan.kind, PlanKind::Overlap);
    const auto sent = positions(plan, acrossNorth);
    EXPECT_DOUBLE_EQ(sent.front().azimuthDeg, 330);
    EXPECT_DOUBLE_EQ(sent.back().azimuthDeg, 390);
    EXPECT_LE(largestStep(sent), 10.0 + 1e-9);
}

TEST(RotatorPlan, AcrossNorthARotatorToElevation180FlipsOverTheTop)
{
    const RotatorPlan plan = planPass(acrossNorth, {0, 360, 0, 180});
    EXPECT_EQ(plan.kind, PlanKind::Flip);
    const auto sent = positions(plan, acrossNorth);
    EXPECT_DOUBLE_EQ(sent.front().azimuthDeg, 150);
    EXPECT_DOUBLE_EQ(sent.back().azimuthDeg, 210);
    EXPECT_NEAR(sent[3].elevationDeg, 180 - acrossNorth[3].elevationDeg, 1e-9);
    EXPECT_LE(largestStep(sent), 10.0 + 1e-9);
}

TEST(RotatorPlan, ARotatorWithItsStopInTheSouthCountsWestAsNegative)
{
    const RotatorPlan north = planPass(acrossNorth, {-180, 180, 0, 90});
    EXPECT_EQ(north.kind, PlanKind::Normal);
    const auto sent = positions(north, acrossNorth);
    EXPECT_DOUBLE_EQ(sent.front().azimuthDeg, -30);
    EXPECT_DOUBLE_EQ(sent.back().azimuthDeg, 30);

    // Across its stop at 180° it flips when it can, else holds at the stop.
    EXPECT_EQ(planPass(acrossSouth, {-180, 180, 0, 180}).kind, PlanKind::Flip);
    const RotatorPlan cut = planPass(acrossSouth, {-180, 180, 0, 90});
    EXPECT_EQ(cut.kind, PlanKind::Cut);
    const auto held = positions(cut, acrossSouth);
    EXPECT_LE(largestStep(held), 10.0 + 1e-9);
    for (const RotatorPosition &each : held)
        EXPECT_TRUE(each.azimuthDeg >= -180 && each.azimuthDeg <= 180) << each.azimuthDeg;
}

TEST(RotatorPlan, OfTwoWaysTheOneNearerTheRotatorIsTaken)
{
    // The dummy rotator's range holds the track both as 330..390 and as -30..30.
    EXPECT_DOUBLE_EQ(
        positions(planPass(acrossNorth, {-180, 450, 0, 90}, 0), acrossNorth).front().azimuthDeg,
        -30);
    EXPECT_DOUBLE_EQ(
        positions(planPass(acrossNorth, {-180, 450, 0, 90}, 300), acrossNorth).front().azimuthDeg,
        330);
    // A park position is taken in the usual turn where the range allows.
    EXPECT_DOUBLE_EQ(withinLimits({-180, 450, 0, 90}, 30, 0).azimuthDeg, 30);
    EXPECT_DOUBLE_EQ(withinLimits({-180, 180, 0, 90}, 270, 0).azimuthDeg, -90);
}
