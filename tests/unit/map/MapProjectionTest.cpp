// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/MapProjection.h"

#include <gtest/gtest.h>

TEST(MapProjection, CornersAndCentreOfTheMap)
{
    const MapProjection map(QSize(720, 360));
    EXPECT_EQ(map.toPixel(QPointF(-180, 90)), QPointF(0, 0));
    EXPECT_EQ(map.toPixel(QPointF(180, -90)), QPointF(720, 360));
    EXPECT_EQ(map.toPixel(QPointF(0, 0)), QPointF(360, 180));
    EXPECT_EQ(map.toPixel(QPointF(-77, 39)), QPointF(206, 102));
    EXPECT_DOUBLE_EQ(map.dblXPerPixel(), 0.5);
    EXPECT_DOUBLE_EQ(map.dblYPerPixel(), -0.5);
    const QPointF back =
        MapProjection(QSize(2048, 1024))
            .toMap(MapProjection(QSize(2048, 1024)).toPixel(QPointF(123.25, -45.5)));
    EXPECT_NEAR(back.x(), 123.25, 1e-9);
    EXPECT_NEAR(back.y(), -45.5, 1e-9);
}

TEST(MapProjection, AnEmptyPictureSizeDoesNotDivideByZero)
{
    const MapProjection map(QSize(0, 0));
    EXPECT_EQ(map.pictureSize(), QSize(1, 1));
    EXPECT_TRUE(std::isfinite(map.dblXPerPixel()));
}
