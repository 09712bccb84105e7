// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/GroundTrack.h"
#include "map/MapProjection.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Longitudes folded into (-180, 180], as clsSats gives them.
double fold(double longitude)
{
    double folded = std::fmod(longitude, 360.0);
    if (folded > 180)
        folded -= 360;
    if (folded <= -180)
        folded += 360;
    return folded;
}

// A track that moves `stepDeg` east per point from `startLon`, latitude a
// gentle wave.
void easterlyTrack(double startLon, double stepDeg, int points, QList<double> &latitudes,
                   QList<double> &longitudes)
{
    for (int i = 0; i < points; ++i) {
        latitudes.append(40 * std::sin(i * 0.06));
        longitudes.append(fold(startLon + i * stepDeg));
    }
}

} // namespace

TEST(GroundTrack, WithoutACrossingEachStepIsOneLineFromThePreviousPoint)
{
    const QList<double> lat{10, 12, 14, 16};
    const QList<double> lon{-20, -16, -12, -8};
    const GroundTrack track(lat, lon);
    ASSERT_FALSE(track.isEmpty());
    EXPECT_EQ(track.start(), QPointF(-20, 10));
    ASSERT_EQ(track.lines().size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(track.lines()[i].p1(), QPointF(lon[i], lat[i]));
        EXPECT_EQ(track.lines()[i].p2(), QPointF(lon[i + 1], lat[i + 1]));
    }
}

TEST(GroundTrack, EastwardOverTheDateLineLeavesRightAndEntersLeft)
{
    const GroundTrack track({5, 6, 7}, {176, 179, -178});
    ASSERT_EQ(track.lines().size(), 3);
    EXPECT_EQ(track.lines()[0], QLineF(176, 5, 179, 6));
    // Out over the right edge, to the next point moved by 360 degrees...
    EXPECT_EQ(track.lines()[1], QLineF(179, 6, 182, 7));
    // ...and in from the left edge, from the previous point moved back.
    EXPECT_EQ(track.lines()[2], QLineF(-181, 6, -178, 7));
}

TEST(GroundTrack, WestwardOverTheDateLineLeavesLeftAndEntersRight)
{
    const GroundTrack track({-5, -6}, {-179, 178});
    ASSERT_EQ(track.lines().size(), 2);
    EXPECT_EQ(track.lines()[0], QLineF(-179, -5, -182, -6));
    EXPECT_EQ(track.lines()[1], QLineF(181, -5, 178, -6));
}

TEST(GroundTrack, ALongTrackOverTheDateLineHasNoLineAcrossTheMap)
{
    // 103 points of 4 degrees: the track goes once round the Earth and a bit.
    QList<double> lat, lon;
    easterlyTrack(150, 4, 103, lat, lon);
    const GroundTrack track(lat, lon);

    int crossings = 0;
    for (int i = 1; i < lon.size(); ++i)
        crossings += std::fabs(lon[i] - lon[i - 1]) > 180 ? 1 : 0;
    ASSERT_EQ(crossings, 2);
    // One line per step, and one more for each crossing: two pieces each.
    EXPECT_EQ(track.lines().size(), 102 + crossings);

    const MapProjection map(QSize(720, 360));
    int leaving = 0, entering = 0;
    for (const QLineF &line : track.lines()) {
        EXPECT_LE(std::fabs(line.dx()), 4.0 + 1e-9) << "a line across the map";
        const QLineF pixels = map.toPixel(line);
        if (pixels.x2() > 720)
            ++leaving;
        if (pixels.x1() < 0)
            ++entering;
    }
    EXPECT_EQ(leaving, crossings);
    EXPECT_EQ(entering, crossings);
}

TEST(GroundTrack, AJumpOverAPoleIsSplitAtTheTopAndBottomEdges)
{
    // A latitude jump of more than 90 degrees with little change of longitude.
    const GroundTrack track({80, -85}, {10, 12});
    ASSERT_EQ(track.lines().size(), 2);
    EXPECT_EQ(track.lines()[0], QLineF(10, 80, 12, 95));
    EXPECT_EQ(track.lines()[1], QLineF(10, -100, 12, -85));

    const GroundTrack up({-80, 85}, {10, 12});
    ASSERT_EQ(up.lines().size(), 2);
    EXPECT_EQ(up.lines()[0], QLineF(10, -80, 12, -95));
    EXPECT_EQ(up.lines()[1], QLineF(10, 100, 12, 85));
}

TEST(GroundTrack, UnusableInputGivesNoStrayLines)
{
    const double nan = std::nan("");
    const GroundTrack gap({1, nan, 3, 4}, {10, 11, 12, 13});
    ASSERT_EQ(gap.lines().size(), 1) << "no line to or from the point that is not a number";
    EXPECT_EQ(gap.lines()[0], QLineF(12, 3, 13, 4));

    EXPECT_TRUE(GroundTrack({}, {}).isEmpty());
    EXPECT_TRUE(GroundTrack({1, 2}, {}).isEmpty());
    const GroundTrack single({1}, {2, 3, 4});
    EXPECT_FALSE(single.isEmpty());
    EXPECT_TRUE(single.lines().isEmpty());
    EXPECT_EQ(GroundTrack({1, 2, 3}, {2, 3}).lines().size(), 1);
}
