// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/MessageTraffic.h"
#include "aprs/ConversationText.h"

#include <gtest/gtest.h>

namespace {

aprs::HeardPacket heard(const char *monitorLine, qint64 utcMs)
{
    aprs::HeardPacket packet;
    packet.utcMs = utcMs;
    packet.frame = *aprs::parseMonitorLine(monitorLine).frame;
    packet.packet = aprs::decode(packet.frame);
    packet.viaSatellite = packet.frame.repeatedBy(aprs::satelliteDigipeater);
    return packet;
}

constexpr qint64 at1830 = 1'765'305'000'000; // 2025-12-09 18:30:00 UTC

class Traffic : public ::testing::Test
{
protected:
    Traffic()
    {
        QObject::connect(&traffic, &aprs::MessageTraffic::transmit,
                         [this](const QString &path, const QString &info) {
                             sent.push_back(path + " " + info);
                         });
    }

    qint64 now = at1830;
    bool inView = true;
    aprs::MessageTraffic traffic{
        {[] { return QString("Q9ABC"); }, [this] { return inView; }, [this] { return now; }}, 7};
    QStringList sent;
};

TEST_F(Traffic, AcksEveryCopyOfAMessageAndShowsItOnce)
{
    traffic.heard(heard("Q9AAA>APRS,ORVEX-1*::Q9ABC    :hello{42", at1830));
    traffic.heard(heard("Q9AAA>APRS,ORVEX-1*::Q9ABC    :hello{42", at1830 + 30'000));
    traffic.heard(heard("Q9AAA>APRS,ORVEX-1*::Q9XYZ    :not ours{43", at1830 + 40'000));
    EXPECT_EQ(sent, QStringList({"ORVEX-1 :Q9AAA    :ack42", "ORVEX-1 :Q9AAA    :ack42"}));
    EXPECT_EQ(aprs::conversationText(traffic), "18:30:00 from Q9AAA via ORVEX-1: hello [42]");
    EXPECT_EQ(traffic.recentStations(), QStringList({"Q9AAA"}));
}

TEST_F(Traffic, ShowsAMessageSentRepeatedAndAcknowledgedAndOwnFramesHeardBack)
{
    ASSERT_EQ(traffic.send("Q9AAA", "hi there"), "");
    ASSERT_EQ(sent, QStringList({"ORVEX-1 :Q9AAA    :hi there{7"}));
    traffic.sent("Q9ABC", "APZ36Q ORVEX-1", ":Q9AAA    :hi there{7");
    traffic.heard(heard("Q9ABC>APZ36Q,ORVEX-1*::Q9AAA    :hi there{7", at1830 + 2000));
    traffic.heard(heard("Q9AAA>APRS,ORVEX-1*::Q9ABC    :ack7", at1830 + 5000));
    EXPECT_EQ(aprs::conversationText(traffic),
              "18:30:00 to Q9AAA: hi there [7] - sent once, repeated by ORVEX-1 at 18:30:02, "
              "acknowledged at 18:30:05");
    EXPECT_EQ(aprs::ownPacketsText(traffic),
              "18:30:00 Q9ABC>APZ36Q ORVEX-1: :Q9AAA    :hi there{7 - heard back via ORVEX-1 at "
              "18:30:02");
}

} // namespace
