// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/OwnPackets.h"

#include <gtest/gtest.h>

namespace {

aprs::HeardPacket heard(const std::string &monitorLine, qint64 utcMs)
{
    aprs::HeardPacket packet;
    packet.utcMs = utcMs;
    packet.frame = *aprs::parseMonitorLine(monitorLine).frame;
    packet.viaSatellite = packet.frame.repeatedBy(aprs::satelliteDigipeater);
    return packet;
}

TEST(OwnPackets, ABeaconSentIsHeardBackWhenTheSatelliteRepeatsItsSourceAndInformation)
{
    aprs::OwnPackets own;
    // The terminal ends its frames with a CR.
    own.sent(1000, "Q9ABC", "APZ36Q ORVEX-1", ">JO62qm/- on the air\r");
    own.sent(2000, "Q9ABC", "APZ36Q ORVEX-1", "!5230.00N/01322.00E-");

    EXPECT_FALSE(own.heard(heard("Q9ABC>APZ36Q,ORVEX-1:>JO62qm/- on the air\r", 1500)))
        << "heard direct, not repeated";
    EXPECT_FALSE(own.heard(heard("Q9XYZ>APZ36Q,ORVEX-1*:>JO62qm/- on the air\r", 1500)));
    EXPECT_FALSE(own.heard(heard("Q9ABC>APZ36Q,ORVEX-1*:>JO62qm/- elsewhere\r", 1500)));
    EXPECT_TRUE(own.heard(heard("Q9ABC>APZ36Q,ORVEX-1*:>JO62qm/- on the air\r", 1600)));

    ASSERT_EQ(own.packets().size(), 2U);
    EXPECT_EQ(own.packets()[0].info, ">JO62qm/- on the air");
    EXPECT_EQ(own.packets()[0].heardBackMs, 1600);
    EXPECT_FALSE(own.packets()[1].heardBackMs);
}

} // namespace
