// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/HamlibLink.h"

#include "HamlibTestRig.h"
#include "support/Wait.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

using radio::HamlibLink;
using radio::HamlibReply;
using radio::test::Daemon;
using radio::test::waitForIdle;

namespace {
std::optional<HamlibReply> ask(HamlibLink &link, const QString &command)
{
    std::optional<HamlibReply> answer;
    if (!waitForIdle(link) ||
        !link.send(command, [&](const HamlibReply &reply) { answer = reply; }))
        return std::nullopt;
    orvex::test::waitUntil([&] { return answer || link.state() != HamlibLink::State::Up; });
    return answer;
}
} // namespace

TEST(HamlibLink, ReadsTheAnswersOfRigctldAndRotctld)
{
    Daemon rigctld{QStringLiteral("rigctld")};
    Daemon rotctld{QStringLiteral("rotctld")};
    ASSERT_TRUE(rigctld.start());
    ASSERT_TRUE(rotctld.start());
    HamlibLink radio(QStringLiteral("rigctld"));
    HamlibLink rotator(QStringLiteral("rotctld"));
    radio.open(QStringLiteral("127.0.0.1"), rigctld.port());
    rotator.open(QStringLiteral("127.0.0.1"), rotctld.port());

    EXPECT_TRUE(ask(radio, QStringLiteral("set_freq 145830000"))->ok());
    const std::optional<HamlibReply> frequency = ask(radio, QStringLiteral("get_freq"));
    ASSERT_TRUE(frequency);
    EXPECT_EQ(frequency->number(QStringLiteral("Frequency")), 145830000);
    EXPECT_EQ(ask(radio, QStringLiteral("set_freq abc"))->code, -1);

    const std::optional<HamlibReply> state = ask(rotator, QStringLiteral("dump_state"));
    ASSERT_TRUE(state);
    EXPECT_EQ(state->number(QStringLiteral("Maximum Azimuth")), 450);
    EXPECT_EQ(state->values.back(), std::pair(QString(), QStringLiteral("done")));
    EXPECT_EQ(radio.commandsSent(), 3u);
}

TEST(HamlibLink, AHungDaemonCostsTheConnectionWhichComesBackWithIt)
{
    Daemon rigctld{QStringLiteral("rigctld")};
    ASSERT_TRUE(rigctld.start());
    HamlibLink link(QStringLiteral("rigctld"));
    link.setTimings(500, 100, 400);
    link.open(QStringLiteral("127.0.0.1"), rigctld.port());
    ASSERT_TRUE(waitForIdle(link));

    rigctld.pause();
    bool answered = false;
    ASSERT_TRUE(
        link.send(QStringLiteral("get_freq"), [&](const HamlibReply &) { answered = true; }));
    ASSERT_TRUE(orvex::test::waitUntil([&] { return link.state() == HamlibLink::State::Waiting; }));
    EXPECT_FALSE(answered);
    EXPECT_TRUE(link.stateText().contains(QStringLiteral("no answer to get_freq within 0.5 s")))
        << link.stateText().toStdString();

    rigctld.resume();
    EXPECT_TRUE(ask(link, QStringLiteral("get_freq")));
}

TEST(HamlibLink, RefusalAndGarbageAreReportedAndTriedAgain)
{
    const quint16 port = radio::test::freeLoopbackPort();
    HamlibLink link(QStringLiteral("rigctld"));
    link.setTimings(1000, 100, 400);
    link.open(QStringLiteral("127.0.0.1"), port);
    ASSERT_TRUE(orvex::test::waitUntil([&] { return link.state() == HamlibLink::State::Waiting; }));
    EXPECT_TRUE(link.stateText().contains(QStringLiteral("connection refused")))
        << link.stateText().toStdString();

    // Something else on the port: it answers, but not in Hamlib's words.
    QTcpServer web;
    ASSERT_TRUE(web.listen(QHostAddress::LocalHost, port));
    QObject::connect(&web, &QTcpServer::newConnection, [&] {
        QTcpSocket *client = web.nextPendingConnection();
        QObject::connect(client, &QTcpSocket::readyRead, client, [client] {
            client->readAll();
            client->write("HTTP/1.0 400 Bad Request\r\n\r\n");
        });
    });
    ASSERT_TRUE(waitForIdle(link));
    EXPECT_FALSE(ask(link, QStringLiteral("get_freq")));
    EXPECT_TRUE(link.stateText().contains(QStringLiteral("answer not understood")))
        << link.stateText().toStdString();

    // And when rigctld takes the port, the link finds it by itself.
    web.close();
    Daemon rigctld{QStringLiteral("rigctld"), {}, port};
    ASSERT_TRUE(rigctld.start());
    EXPECT_TRUE(ask(link, QStringLiteral("get_freq")));
}
