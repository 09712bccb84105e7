// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/Outbox.h"

#include <gtest/gtest.h>

namespace {

using State = aprs::OutgoingMessage::State;

aprs::HeardPacket heard(const char *monitorLine, qint64 utcMs)
{
    aprs::HeardPacket packet;
    packet.utcMs = utcMs;
    packet.frame = *aprs::parseMonitorLine(monitorLine).frame;
    packet.packet = aprs::decode(packet.frame);
    packet.viaSatellite = packet.frame.repeatedBy(aprs::satelliteDigipeater);
    return packet;
}

TEST(Outbox, SendsWithANumberViaTheSatelliteOnlyInViewWithAGrowingWaitAndGivesUp)
{
    aprs::Outbox outbox(99'999);
    ASSERT_EQ(outbox.add("q9aaa", "hello", 0), "");
    EXPECT_EQ(outbox.nextNumber(), 1) << "numbers wrap after 99999";

    EXPECT_TRUE(outbox.due(0, false).empty()) << "not while the satellite is out of view";
    EXPECT_EQ(outbox.messages()[0].state, State::Waiting);
    const std::vector<aprs::OutgoingFrame> first = outbox.due(1000, true);
    ASSERT_EQ(first.size(), 1U);
    EXPECT_EQ(first[0].path, "ORVEX-1");
    EXPECT_EQ(first[0].info, ":Q9AAA    :hello{99999");

    // Tries at 1 s, 31 s, 91 s, 211 s, 451 s; one falling due out of view
    // waits for the satellite.
    std::vector<qint64> tries{1000};
    for (qint64 now = 2000; now <= 1'000'000; now += 1000) {
        const bool inView = now < 300'000 || now >= 500'000;
        if (!outbox.due(now, inView).empty())
            tries.push_back(now);
    }
    EXPECT_EQ(tries, (std::vector<qint64>{1000, 31'000, 91'000, 211'000, 500'000}));
    EXPECT_EQ(outbox.messages()[0].attempts, aprs::Outbox::maxAttempts);
    EXPECT_EQ(outbox.messages()[0].state, State::GivenUp);
}

TEST(Outbox, FollowsAMessageHeardBackAndAckedAndStopsSendingIt)
{
    aprs::Outbox outbox(7);
    ASSERT_EQ(outbox.add("Q9AAA", "hello", 0), "");
    ASSERT_EQ(outbox.due(0, true).size(), 1U);

    EXPECT_FALSE(outbox.heard(heard("Q9ABC>APZ36Q,ORVEX-1::Q9AAA    :hello{7", 500), "Q9ABC"))
        << "not yet repeated";
    EXPECT_TRUE(outbox.heard(heard("Q9ABC>APZ36Q,ORVEX-1*::Q9AAA    :hello{7", 800), "Q9ABC"));
    EXPECT_EQ(outbox.messages()[0].state, State::Repeated);
    EXPECT_EQ(outbox.messages()[0].heardBackMs, 800);

    EXPECT_FALSE(outbox.heard(heard("Q9XYZ>APRS,ORVEX-1*::Q9ABC    :ack7", 900), "Q9ABC"))
        << "an ack from another station";
    EXPECT_FALSE(outbox.heard(heard("Q9AAA>APRS,ORVEX-1*::Q9ABC    :ack8", 900), "Q9ABC"));
    EXPECT_TRUE(outbox.heard(heard("Q9AAA>APRS,ORVEX-1*::Q9ABC    :ack7", 1000), "Q9ABC"));
    EXPECT_EQ(outbox.messages()[0].state, State::Acknowledged);
    EXPECT_EQ(outbox.messages()[0].answeredMs, 1000);
    EXPECT_TRUE(outbox.due(1'000'000, true).empty());
}

TEST(Outbox, RefusesWhatAprsCannotCarry)
{
    aprs::Outbox outbox;
    EXPECT_NE(outbox.add("Q9AAA", std::string(68, 'x').c_str(), 0), "");
    EXPECT_NE(outbox.add("", "hello", 0), "");
    EXPECT_TRUE(outbox.messages().empty());
    EXPECT_EQ(outbox.nextNumber(), 1);
}

} // namespace
