// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/IgateClient.h"

#include "shared/clsIni.h"
#include "support/Wait.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using orvex::test::waitUntil;

namespace {

aprs::HeardPacket heard(const char *monitorLine)
{
    aprs::HeardPacket packet;
    packet.frame = *aprs::parseMonitorLine(monitorLine).frame;
    packet.viaSatellite = packet.frame.repeatedBy(aprs::satelliteDigipeater);
    return packet;
}

TEST(IgateSettings, AreOffByDefaultOnPort14580AndWrittenToTheirOwnSection)
{
    QTemporaryDir dir;
    clsIni ini(dir.filePath("ORVEX.INI"));
    const aprs::IgateSettings settings = aprs::IgateSettings::read(ini);
    EXPECT_FALSE(settings.enabled);
    EXPECT_EQ(settings.port, 14580);
    EXPECT_EQ(ini.GetIniString("APRSIS", "ENABLED", ""), "FALSE");
    EXPECT_EQ(ini.GetIniString("APRSIS", "PORT", ""), "14580");
}

TEST(IgateLine, CarriesTheQConstructAndLeavesOutWhatMustNotBeGated)
{
    const auto frame = [](const char *line) { return *aprs::parseMonitorLine(line).frame; };
    EXPECT_EQ(
        aprs::gatedLine(frame("Q9AAA>APRS,ORVEX-1*,WIDE2-1:!4903.50N/07201.75W-hi\r"), "Q9ABC"),
        "Q9AAA>APRS,ORVEX-1*,WIDE2-1,qAR,Q9ABC:!4903.50N/07201.75W-hi");
    EXPECT_FALSE(aprs::gatedLine(frame("Q9AAA>APRS,ORVEX-1*,NOGATE:>status"), "Q9ABC"));
    EXPECT_FALSE(aprs::gatedLine(frame("Q9AAA>APRS,ORVEX-1*,TCPIP:>status"), "Q9ABC"));
    EXPECT_FALSE(aprs::gatedLine(frame("Q9AAA>APRS,ORVEX-1*:?APRS?"), "Q9ABC"));
}

// An APRS-IS server on a free loopback port that keeps what each client sent.
class IgateAgainstLoopbackServer : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket *client = server.nextPendingConnection()) {
                clients.push_back(client);
                received.emplace_back();
                const std::size_t index = received.size() - 1;
                QObject::connect(client, &QTcpSocket::readyRead,
                                 [this, client, index] { received[index] += client->readAll(); });
            }
        });
        settings.enabled = true;
        settings.host = "127.0.0.1";
        settings.port = server.serverPort();
        settings.passcode = "12345";
    }

    QTcpServer server;
    std::vector<QTcpSocket *> clients;
    std::vector<QByteArray> received;
    aprs::IgateSettings settings;
    qint64 now = 0;
};

TEST_F(IgateAgainstLoopbackServer, LogsInSendsWhatTheSatelliteRepeatedOnceIn30sAndReconnects)
{
    aprs::IgateClient igate(
        settings, [] { return QString("q9abc-7"); }, [this] { return now; }, 50);
    igate.start();
    ASSERT_TRUE(waitUntil([&] { return !received.empty() && received[0].endsWith("\r\n"); }));
    EXPECT_EQ(received[0], "user Q9ABC-7 pass 12345 vers orvexdecode 2.4.2\r\n");
    ASSERT_TRUE(waitUntil([&] { return igate.isLoggedIn(); }));

    const char *position = "Q9AAA>APRS,ORVEX-1*:!4903.50N/07201.75W-hi";
    igate.heard(heard("Q9BBB>APRS,ORVEX-1:>heard direct"));
    igate.heard(heard(position));
    now = 29'999;
    igate.heard(heard(position)); // a duplicate
    igate.heard(heard("Q9CCC>APRS,ORVEX-1*:>status"));
    now = 60'000;
    igate.heard(heard(position)); // more than 30 s after it went
    const QByteArray lines = "user Q9ABC-7 pass 12345 vers orvexdecode 2.4.2\r\n"
                             "Q9AAA>APRS,ORVEX-1*,qAR,Q9ABC-7:!4903.50N/07201.75W-hi\r\n"
                             "Q9CCC>APRS,ORVEX-1*,qAR,Q9ABC-7:>status\r\n"
                             "Q9AAA>APRS,ORVEX-1*,qAR,Q9ABC-7:!4903.50N/07201.75W-hi\r\n";
    ASSERT_TRUE(waitUntil([&] { return received[0].size() >= lines.size(); }));
    EXPECT_EQ(received[0], lines);

    // The server drops the link: the gateway logs in again.
    clients[0]->disconnectFromHost();
    ASSERT_TRUE(waitUntil([&] { return received.size() == 2 && received[1].endsWith("\r\n"); }));
    EXPECT_TRUE(received[1].startsWith("user Q9ABC-7 pass 12345"));
}

TEST_F(IgateAgainstLoopbackServer, StaysOffUnlessEnabled)
{
    settings.enabled = false;
    aprs::IgateClient igate(
        settings, [] { return QString("Q9ABC"); }, [this] { return now; });
    igate.start();
    // A client that does connect shows the server would have been seen.
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, server.serverPort());
    ASSERT_TRUE(waitUntil([&] { return !clients.empty(); }));
    EXPECT_EQ(clients.size(), 1U);
    EXPECT_FALSE(igate.isLoggedIn());
}

} // namespace
