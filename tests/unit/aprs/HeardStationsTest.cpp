// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/HeardStations.h"

#include <gtest/gtest.h>

namespace {

aprs::StoredPacket packet(const char *source, qint64 utcMs, bool viaSatellite, const char *type,
                          std::optional<double> latitude = {}, std::optional<double> longitude = {},
                          const char *symbol = "", const char *text = "")
{
    aprs::StoredPacket p;
    p.source = QString::fromLatin1(source);
    p.utcMs = utcMs;
    p.viaSatellite = viaSatellite;
    p.type = QString::fromLatin1(type);
    p.latitude = latitude;
    p.longitude = longitude;
    p.symbol = QString::fromLatin1(symbol);
    p.text = QString::fromLatin1(text);
    return p;
}

TEST(GreatCircle, GivesDistanceAndInitialBearing)
{
    // Washington (38.8977 N, 77.0365 W) to Paris (48.8566 N, 2.3522 E).
    EXPECT_NEAR(aprs::distanceKm(38.8977, -77.0365, 48.8566, 2.3522), 6165, 3);
    EXPECT_NEAR(aprs::bearingDeg(38.8977, -77.0365, 48.8566, 2.3522), 51.7, 0.1);
    EXPECT_NEAR(aprs::distanceKm(0, 0, 1, 0), 111.195, 0.001); // a degree of the mean sphere
    EXPECT_NEAR(aprs::bearingDeg(0, 0, 0, 1), 90, 1e-9);
    EXPECT_NEAR(aprs::bearingDeg(10, 20, 5, 20), 180, 1e-9);
    EXPECT_NEAR(aprs::bearingDeg(0, 20, 0, 10), 270, 1e-9);
    EXPECT_EQ(aprs::distanceKm(12, 34, 12, 34), 0);
}

TEST(HeardStations, KeepsPerStationHearingsAndWhatItSaidOfItselfLast)
{
    aprs::HeardStations heard;
    heard.setOwnPosition(38.8977, -77.0365);
    heard.add(packet("DL2ABC-7", 1000, false, "position", 52.5, 13.4, "/-", "home"));
    heard.add(packet("K1ABC", 1500, true, "message"));
    heard.add(packet("DL2ABC-7", 2000, true, "status", {}, {}, "", "on the air"));
    heard.add(packet("DL2ABC-7", 3000, true, "object", 10.0, 10.0, "/>", "an object"));
    heard.add(packet("DL2ABC-7", 2500, true, "position", 48.8566, 2.3522, "/>"));
    heard.add(packet("Q9ZZZ", 4000, true, "position", 1.0, 1.0)); // sent by this station
    heard.add([] {
        aprs::StoredPacket own = packet("Q9ZZZ", 4000, true, "position", 1.0, 1.0);
        own.transmitted = true;
        return own;
    }());
    heard.add(packet("W1ABC", 500, false, "status"));

    const std::vector<aprs::HeardStation> all = heard.stations(aprs::HeardVia::Both);
    ASSERT_EQ(all.size(), 4U);
    EXPECT_EQ(all[0].callsign, "Q9ZZZ"); // most recently heard first
    EXPECT_EQ(all[0].count, 1);          // its sent packet left out
    const aprs::HeardStation &dl = all[1];
    EXPECT_EQ(dl.callsign, "DL2ABC-7");
    EXPECT_EQ(dl.count, 4);
    EXPECT_EQ(dl.firstMs, 1000);
    EXPECT_EQ(dl.lastMs, 3000);
    EXPECT_TRUE(dl.viaSatellite);
    EXPECT_TRUE(dl.direct);
    EXPECT_TRUE(dl.lastViaSatellite);
    // The latest position of itself, not the object's; the comment of the
    // latest position or status that had one.
    EXPECT_EQ(dl.latitude, 48.8566);
    EXPECT_EQ(dl.longitude, 2.3522);
    EXPECT_EQ(dl.locator, "JN18EU");
    ASSERT_TRUE(dl.distanceKm && dl.bearingDeg);
    EXPECT_NEAR(*dl.distanceKm, 6165, 3);
    EXPECT_NEAR(*dl.bearingDeg, 51.7, 0.1);
    EXPECT_EQ(dl.symbol, "/-"); // the position heard late says nothing newer
    EXPECT_EQ(dl.comment, "on the air");
    EXPECT_EQ(all[2].callsign, "K1ABC");
    EXPECT_TRUE(all[2].locator.isEmpty());
    EXPECT_FALSE(all[2].distanceKm);

    // Filtered by path and time: counts over the hearings that count.
    const std::vector<aprs::HeardStation> direct = heard.stations(aprs::HeardVia::Direct);
    ASSERT_EQ(direct.size(), 2U);
    EXPECT_EQ(direct[0].callsign, "DL2ABC-7");
    EXPECT_EQ(direct[0].count, 1);
    EXPECT_FALSE(direct[0].lastViaSatellite);
    EXPECT_EQ(direct[1].callsign, "W1ABC");
    const std::vector<aprs::HeardStation> satellite =
        heard.stations(aprs::HeardVia::Satellite, 2000);
    ASSERT_EQ(satellite.size(), 2U);
    EXPECT_EQ(satellite[1].callsign, "DL2ABC-7");
    EXPECT_EQ(satellite[1].count, 3);
    EXPECT_EQ(satellite[1].firstMs, 2000);
    EXPECT_FALSE(satellite[1].direct);
}

} // namespace
