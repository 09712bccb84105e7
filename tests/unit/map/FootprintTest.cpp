// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/Footprint.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const QSize picture(720, 360);
constexpr double issAltitudeKm = 400;

// The Earth central angle of the ground that sees a satellite at `altitude`
// at least `elevationDeg` above the horizon, from the spherical triangle.
double centralAngle(double altitudeKm, double elevationDeg)
{
    const double e = elevationDeg * M_PI / 180;
    return std::acos(6368.0 / (6368.0 + altitudeKm) * std::cos(e)) - e;
}

} // namespace

TEST(Footprint, ItsSizeIsWhereTheSatelliteStandsFiveDegreesUp)
{
    const Footprint footprint(QPointF(360, 180), issAltitudeKm, picture);
    EXPECT_NEAR(footprint.centralAngle(), centralAngle(issAltitudeKm, 5), 1e-4);
    // The picture's width is the full circle.
    EXPECT_NEAR(footprint.radius(), footprint.centralAngle() / (2 * M_PI) * 720, 1e-2);
    EXPECT_NEAR(footprint.radius(), 30.7, 0.1);

    const Footprint higher(QPointF(360, 180), 800, picture);
    EXPECT_GT(higher.radius(), footprint.radius());
}

TEST(Footprint, RowsAreHalfAPixelApartFromTopToBottom)
{
    const Footprint footprint(QPointF(300, 180), issAltitudeKm, picture);
    const double r = footprint.radius();
    const auto &rows = footprint.rows();
    ASSERT_EQ(rows.size(), static_cast<qsizetype>(std::floor(2 * r / 0.5)) + 1);
    EXPECT_DOUBLE_EQ(rows.first().y, 180 - r);
    EXPECT_NEAR(rows.first().halfWidth, 0, 1e-6);
    for (qsizetype i = 1; i < rows.size(); ++i)
        EXPECT_NEAR(rows[i].y - rows[i - 1].y, 0.5, 1e-9);
    EXPECT_LE(rows.last().y, 180 + r);
}

TEST(Footprint, RowsAreWidenedByOneOverTheCosineOfTheirLatitude)
{
    // On the equator the middle row is the circle's own width.
    const Footprint equator(QPointF(360, 180), issAltitudeKm, picture);
    double widest = 0;
    for (const auto &row : equator.rows())
        widest = std::max(widest, row.halfWidth);
    EXPECT_NEAR(widest, equator.radius(), 1e-3);

    // At 60 degrees north (pixel row 60) it is twice as wide.
    const Footprint north(QPointF(360, 60), issAltitudeKm, picture);
    for (const auto &row : north.rows()) {
        const double latitude = (row.y - 180) * M_PI / 360;
        const double unwidened =
            std::sqrt(std::max(0.0, north.radius() * north.radius() - (row.y - 60) * (row.y - 60)));
        EXPECT_NEAR(row.halfWidth, unwidened / std::cos(latitude), 1e-3 * (1 + row.halfWidth));
    }
}

TEST(Footprint, NearThePoleRowsAreWidenedAtMostAThousandTimes)
{
    const Footprint pole(QPointF(360, 0), issAltitudeKm, picture);
    double widest = 0;
    for (const auto &row : pole.rows()) {
        const double unwidened =
            std::sqrt(std::max(0.0, pole.radius() * pole.radius() - row.y * row.y));
        EXPECT_LE(row.halfWidth, 1000 * unwidened + 1e-6);
        EXPECT_GE(row.halfWidth, unwidened - 1e-9);
        widest = std::max(widest, row.halfWidth);
    }
    // The rows at the pole get the full thousandfold widening.
    EXPECT_NEAR(widest, 1000 * pole.radius(), 1000 * pole.radius() * 1e-3);
}

TEST(Footprint, OneOverAnEdgeIsDrawnAgainAtTheOtherEdge)
{
    const Footprint footprint(QPointF(710, 150), issAltitudeKm, picture);
    EXPECT_EQ(footprint.edgeShift(), -720);
    const QList<QLineF> plain = footprint.outline();
    const QList<QLineF> shifted = footprint.outline(footprint.edgeShift());
    ASSERT_EQ(plain.size(), shifted.size());
    for (qsizetype i = 0; i < plain.size(); ++i)
        EXPECT_EQ(shifted[i], plain[i].translated(-720, 0));
    // The copy reaches into the map from its left edge.
    double rightmost = -1e9;
    for (const QLineF &line : shifted)
        rightmost = std::max({rightmost, line.x1(), line.x2()});
    EXPECT_GT(rightmost, 0);

    // And the other way round.
    const Footprint left(QPointF(8, 200), issAltitudeKm, picture);
    EXPECT_EQ(left.edgeShift(), 720);
    double leftmost = 1e9;
    for (const QLineF &line : left.outline(left.edgeShift()))
        leftmost = std::min({leftmost, line.x1(), line.x2()});
    EXPECT_LT(leftmost, 720);
}

TEST(Footprint, OneTouchingNeitherEdgeIsDrawnOnce)
{
    EXPECT_EQ(Footprint(QPointF(360, 180), issAltitudeKm, picture).edgeShift(), 0);
    EXPECT_EQ(Footprint(QPointF(40, 180), issAltitudeKm, picture).edgeShift(), 0);
    EXPECT_EQ(Footprint(QPointF(680, 180), issAltitudeKm, picture).edgeShift(), 0);
}

TEST(Footprint, AnAltitudeWithNoFootprintGivesADotAndNoFailure)
{
    for (const double altitude : {-1000.0, -6368.0, std::nan("")}) {
        const Footprint footprint(QPointF(100, 100), altitude, picture);
        EXPECT_EQ(footprint.centralAngle(), 0) << altitude;
        EXPECT_EQ(footprint.radius(), 0);
        ASSERT_EQ(footprint.rows().size(), 1);
        EXPECT_EQ(footprint.rows()[0].halfWidth, 0);
        EXPECT_EQ(footprint.edgeShift(), 0);
    }
    EXPECT_TRUE(Footprint(QPointF(std::nan(""), 100), 400, picture).rows().isEmpty());
}
