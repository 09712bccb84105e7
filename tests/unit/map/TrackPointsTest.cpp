// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/TrackPoints.h"
#include "IssElements.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(TrackPoints, OnePointAMinuteForTheNext102Minutes)
{
    QTemporaryDir dir;
    clsSats sats;
    ASSERT_TRUE(IssElements::install(dir.path(), sats));
    const orvex::Date base = IssElements::nearEpoch();
    const TrackPoints track = TrackPoints::compute(sats, IssElements::name(), base);
    ASSERT_TRUE(track.isOk()) << track.status.reason();
    ASSERT_EQ(track.latitudes.size(), 103);
    ASSERT_EQ(track.longitudes.size(), 103);

    for (const int i : {0, 1, 51, 102}) {
        qint16 inView = 0;
        double az, el, lon, lat, alt;
        QString lonText, latText;
        ASSERT_TRUE(sats.GetSatInfo(inView, IssElements::name(), base + i / 1440.0, az, el, lon,
                                    lat, lonText, latText, alt));
        EXPECT_DOUBLE_EQ(track.latitudes[i], lat) << i;
        EXPECT_DOUBLE_EQ(track.longitudes[i], lon) << i;
        if (i == 0) {
            EXPECT_DOUBLE_EQ(track.altitudeKm, alt);
        }
    }
    EXPECT_GT(track.altitudeKm, 300);
    EXPECT_LT(track.altitudeKm, 450);
    int crossings = 0;
    for (int i = 1; i < 103; ++i) {
        EXPECT_LE(std::fabs(track.latitudes[i] - track.latitudes[i - 1]), 4.5);
        crossings += std::fabs(track.longitudes[i] - track.longitudes[i - 1]) > 180 ? 1 : 0;
    }
    EXPECT_GE(crossings, 1) << "102 minutes are more than one orbit";
}

TEST(TrackPoints, AnUnknownSatelliteStopsAtTheFirstPointWithTheReason)
{
    QTemporaryDir dir;
    clsSats sats;
    ASSERT_TRUE(IssElements::install(dir.path(), sats));
    const TrackPoints track =
        TrackPoints::compute(sats, QStringLiteral("ORVEX"), IssElements::nearEpoch());
    EXPECT_FALSE(track.isOk());
    EXPECT_EQ(track.status.code(), orbit::StatusCode::NotFound);
    EXPECT_FALSE(track.status.reason().empty());
    EXPECT_TRUE(track.latitudes.isEmpty());
}
