// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/ConversationWindow.h"
#include "aprs/MessageTraffic.h"

#include <QAbstractItemModel>
#include <QCompleter>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

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

TEST(ConversationWindow, OffersStationsHeardSendsTheMessageWrittenAndShowsItsAck)
{
    qint64 now = 1'765'305'000'000; // 2025-12-09 18:30:00 UTC
    aprs::MessageTraffic traffic(
        {[] { return QString("Q9ABC"); }, [] { return true; }, [&now] { return now; }}, 1);
    QStringList sent;
    QObject::connect(&traffic, &aprs::MessageTraffic::transmit,
                     [&](const QString &path, const QString &info) { sent << path + " " + info; });
    aprs::ConversationWindow window(traffic);
    window.show();
    traffic.heard(heard("Q9AAA-7>APRS,ORVEX-1*:>on the air", now));

    auto *to = window.findChild<QLineEdit *>("messageTo");
    auto *text = window.findChild<QLineEdit *>("messageText");
    ASSERT_TRUE(to && text);
    QAbstractItemModel *stations = to->completer()->model();
    ASSERT_EQ(stations->rowCount(), 1);
    EXPECT_EQ(stations->index(0, 0).data().toString(), "Q9AAA-7");

    QTest::keyClicks(to, "q9aaa-7");
    QTest::keyClicks(text, "hello there");
    QTest::mouseClick(window.findChild<QPushButton *>("sendMessage"), Qt::LeftButton);
    EXPECT_EQ(sent, QStringList({"ORVEX-1 :Q9AAA-7  :hello there{1"}));
    EXPECT_TRUE(text->text().isEmpty());

    traffic.heard(heard("Q9AAA-7>APRS,ORVEX-1*::Q9ABC    :ack1", now + 9000));
    EXPECT_EQ(window.findChild<QPlainTextEdit *>("conversation")->toPlainText(),
              "18:30:00 to Q9AAA-7: hello there [1] - sent once, acknowledged at 18:30:09");

    // A message APRS cannot carry is refused with the reason.
    QTest::keyClicks(text, "a|b");
    QTest::keyClick(text, Qt::Key_Return);
    EXPECT_EQ(sent.size(), 1);
    EXPECT_FALSE(window.findChild<QLabel *>("messageProblem")->text().isEmpty());
}

} // namespace
