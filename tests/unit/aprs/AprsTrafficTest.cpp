// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/AprsTraffic.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QByteArray rawOf(const char *monitorLine)
{
    const aprs::FrameResult parsed = aprs::parseMonitorLine(monitorLine);
    const std::vector<std::uint8_t> bytes = aprs::ax25Frame(*parsed.frame);
    return QByteArray(reinterpret_cast<const char *>(bytes.data()),
                      static_cast<qsizetype>(bytes.size()));
}

TEST(AprsTraffic, DecodesEachRawUiFrameOnceAndTellsWhetherTheSatelliteRepeatedIt)
{
    aprs::AprsTraffic traffic;
    std::vector<aprs::HeardPacket> heard;
    QObject::connect(&traffic, &aprs::AprsTraffic::heard,
                     [&](const aprs::HeardPacket &packet) { heard.push_back(packet); });

    traffic.rawFrame(1000, rawOf("N0CALL-9>APRS,ORVEX-1*:!4903.50N/07201.75W>Car"), false);
    traffic.rawFrame(2000, rawOf("N0CALL-9>APRS,ORVEX-1:>status"), true);
    traffic.rawFrame(3000, QByteArray("\x82\xa0", 2), false); // no frame: left out

    ASSERT_EQ(heard.size(), 2U);
    EXPECT_EQ(heard[0].utcMs, 1000);
    EXPECT_TRUE(heard[0].viaSatellite);
    EXPECT_FALSE(heard[0].transmitted);
    EXPECT_EQ(heard[0].packet.type, aprs::PacketType::Position);
    EXPECT_EQ(heard[0].frame.source.text(), "N0CALL-9");
    EXPECT_FALSE(heard[1].viaSatellite); // ORVEX-1 in the path, not yet repeated
    EXPECT_TRUE(heard[1].transmitted);
    EXPECT_EQ(heard[1].packet.type, aprs::PacketType::Status);
}

} // namespace
