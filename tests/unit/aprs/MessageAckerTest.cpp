// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/MessageAcker.h"

#include <gtest/gtest.h>

namespace {

aprs::HeardPacket heard(const char *monitorLine, bool transmitted = false)
{
    aprs::HeardPacket packet;
    packet.frame = *aprs::parseMonitorLine(monitorLine).frame;
    packet.packet = aprs::decode(packet.frame);
    packet.viaSatellite = packet.frame.repeatedBy(aprs::satelliteDigipeater);
    packet.transmitted = transmitted;
    return packet;
}

TEST(MessageAcker, AcksANumberedMessageToTheStationByTheWayItCame)
{
    aprs::MessageAcker acker;
    const auto viaSatellite =
        acker.answer(heard("Q9AAA>APRS,ORVEX-1*::Q9ABC-7  :hello{42"), "Q9ABC-7");
    ASSERT_TRUE(viaSatellite);
    EXPECT_EQ(viaSatellite->ack.path, "ORVEX-1");
    EXPECT_EQ(viaSatellite->ack.info, ":Q9AAA    :ack42");
    EXPECT_FALSE(viaSatellite->repeat);

    const auto direct = acker.answer(heard("Q9BBB-9>APRS::q9abc-7  :hi{7"), "Q9ABC-7");
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct->ack.path, "");
    EXPECT_EQ(direct->ack.info, ":Q9BBB-9  :ack7");
}

TEST(MessageAcker, LeavesOtherStationsOtherSsidsUnnumberedAndOwnMessages)
{
    aprs::MessageAcker acker;
    EXPECT_FALSE(acker.answer(heard("Q9AAA>APRS,ORVEX-1*::Q9XYZ    :hello{42"), "Q9ABC-7"));
    EXPECT_FALSE(acker.answer(heard("Q9AAA>APRS,ORVEX-1*::Q9ABC    :hello{43"), "Q9ABC-7"));
    EXPECT_FALSE(acker.answer(heard("Q9AAA>APRS,ORVEX-1*::Q9ABC-7  :no number"), "Q9ABC-7"));
    EXPECT_FALSE(acker.answer(heard("Q9AAA>APRS,ORVEX-1*::Q9ABC-7  :ack44"), "Q9ABC-7"));
    EXPECT_FALSE(acker.answer(heard("Q9AAA>APRS::Q9ABC-7  :sent{45", true), "Q9ABC-7"));
    EXPECT_FALSE(acker.answer(heard("Q9AAA>APRS::Q9ABC    :hello{46"), ""));
    // "Q9ABC" and "Q9ABC-0" are one station.
    EXPECT_TRUE(acker.answer(heard("Q9AAA>APRS::Q9ABC-0  :hello{47"), "Q9ABC"));
}

TEST(MessageAcker, AcksARepeatAgainAndSaysItIsOne)
{
    aprs::MessageAcker acker;
    const char *message = "Q9AAA>APRS,ORVEX-1*::Q9ABC    :hello{42";
    ASSERT_TRUE(acker.answer(heard(message), "Q9ABC"));
    const auto again = acker.answer(heard(message), "Q9ABC");
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->repeat);
    EXPECT_EQ(again->ack.info, ":Q9AAA    :ack42");
    // Another number from the same sender is a new message.
    const auto next = acker.answer(heard("Q9AAA>APRS,ORVEX-1*::Q9ABC    :hello{43"), "Q9ABC");
    ASSERT_TRUE(next);
    EXPECT_FALSE(next->repeat);
}

} // namespace
