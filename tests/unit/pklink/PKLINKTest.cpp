// SPDX-License-Identifier: GPL-2.0-or-later
// The PKLINK control against a scripted fake AGWPE engine on 127.0.0.1.

#include "pklink/PKLINK.h"
#include "support/AgwFrame.h"
#include "support/FakeAgwServer.h"
#include "support/Wait.h"

#include <QLocale>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

using orvex::test::AgwFrame;
using orvex::test::FakeAgwServer;
using orvex::test::waitUntil;

namespace {

QByteArray field(const QByteArray &call)
{
    QByteArray f = call;
    f.append(10 - f.size(), '\0');
    return f;
}

class PklinkControl : public ::testing::Test
{
protected:
    FakeAgwServer server;
    PKLINK link;

    void SetUp() override
    {
        ASSERT_TRUE(server.listen());
        link.setAgwIpHost(QStringLiteral("127.0.0.1"));
        link.setAgwIpPort(server.port());
    }

    // Brings the link up with an engine that answers "R" and "G" (two ports),
    // and forgets the start-up frames.
    void bringUp()
    {
        server.answerLinkUp = true;
        QSignalSpy ports(&link, &PKLINK::GotPortInfo);
        ASSERT_TRUE(link.ConnectToAgw());
        ASSERT_TRUE(ports.wait(10000));
        ASSERT_TRUE(server.waitForFrames(3));
        server.clearFrames();
    }

    // The next frame the control sends; a sentinel sent after a call that
    // should send nothing shows that nothing came before it.
    AgwFrame nextFrame()
    {
        const qsizetype before = server.frames().size();
        if (!server.waitForFrames(before + 1))
            return {};
        return server.frames().at(before);
    }

    AgwFrame sentAfter(const std::function<void()> &call)
    {
        server.clearFrames();
        call();
        EXPECT_TRUE(server.waitForFrames(1));
        return server.frames().value(0);
    }

    void expectError(AGW_ERR code, const char *message)
    {
        EXPECT_EQ(link.eLastErr(), code);
        EXPECT_EQ(link.strLastErrMsg(), QString::fromLatin1(message));
    }

    QTcpSocket *clientSocket() { return link.findChild<QTcpSocket *>(); }

    // Sends bytes and waits until the control's socket has taken them in, so
    // each piece arrives as a read of its own.
    void sendPiece(const QByteArray &bytes)
    {
        QTcpSocket *socket = clientSocket();
        ASSERT_NE(socket, nullptr);
        QSignalSpy arrived(socket, &QTcpSocket::readyRead);
        server.send(bytes);
        ASSERT_TRUE(arrived.wait(10000));
    }
};

} // namespace

// ---- link start -----------------------------------------------------------

TEST_F(PklinkControl, LinkUpAsksVersionAndPortsThenSwitchesMonitoringOn)
{
    QSignalSpy connected(&link, &PKLINK::WsConnected);
    QSignalSpy version(&link, &PKLINK::GotVersion);
    server.answerLinkUp = true;
    ASSERT_TRUE(link.ConnectToAgw());
    ASSERT_TRUE(connected.wait(10000));
    EXPECT_EQ(connected.at(0).at(0).toString(), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(link.AgwRemoteHost(), QStringLiteral("127.0.0.1"));
    ASSERT_TRUE(server.waitForFrames(3));
    ASSERT_EQ(server.frames().size(), 3);
    EXPECT_EQ(server.frames()[0].raw, AgwFrame::make('R'));
    EXPECT_EQ(server.frames()[1].raw, AgwFrame::make('G'));
    EXPECT_EQ(server.frames()[2].raw, AgwFrame::make('m'));
    ASSERT_TRUE(waitUntil([&] { return version.size() == 1 && link.intPortCount() == 2; }));
    EXPECT_EQ(version.at(0).at(0).toInt(), 2005);
    EXPECT_EQ(version.at(0).at(1).toInt(), 127);
    EXPECT_EQ(version.at(0).at(2).toString(), QStringLiteral("2005.127"));
    EXPECT_EQ(link.lngMajorVersion(), 2005);
    EXPECT_EQ(link.lngMinorVersion(), 127);
    EXPECT_EQ(link.strPortInfo(),
              (QStringList{QStringLiteral("Port1 first"), QStringLiteral("Port2 second")}));
}

TEST_F(PklinkControl, LoginFrameGoesFirstWhenIdAndPasswordAreSet)
{
    link.setAgwLoginId(QStringLiteral("user"));
    link.setAgwPassword(QStringLiteral("pass"));
    ASSERT_TRUE(link.ConnectToAgw());
    ASSERT_TRUE(server.waitForFrames(4));
    const AgwFrame login = server.frames()[0];
    EXPECT_EQ(login.kind, 'P');
    EXPECT_EQ(login.raw.size(), 546);
    EXPECT_EQ(login.raw.mid(28, 4), QByteArray("\xFE\x01\0\0", 4));
    EXPECT_EQ(login.data.left(5), QByteArray("user\0", 5));
    EXPECT_EQ(login.data.mid(255, 5), QByteArray("pass\0", 5));
    EXPECT_EQ(server.frames()[1].kind, 'R');
}

TEST_F(PklinkControl, NoLoginWithOnlyAnId)
{
    link.setAgwLoginId(QStringLiteral("user"));
    ASSERT_TRUE(link.ConnectToAgw());
    ASSERT_TRUE(server.waitForFrames(3));
    EXPECT_EQ(server.frames()[0].kind, 'R');
}

TEST_F(PklinkControl, OverlongLoginStopsTheWholeStartSequence)
{
    link.setAgwLoginId(QString(256, QLatin1Char('u')));
    link.setAgwPassword(QStringLiteral("pass"));
    QSignalSpy connected(&link, &PKLINK::WsConnected);
    ASSERT_TRUE(link.ConnectToAgw());
    ASSERT_TRUE(connected.wait(10000));
    // The first frame the engine sees is one sent afterwards.
    const AgwFrame f = sentAfter([&] { EXPECT_TRUE(link.ReceiveRawFrames(true)); });
    EXPECT_EQ(f.kind, 'k');
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_ERROR);
}

TEST_F(PklinkControl, PortsAreRefusedUntilThePortInformationArrives)
{
    QSignalSpy connected(&link, &PKLINK::WsConnected);
    ASSERT_TRUE(link.ConnectToAgw());
    EXPECT_FALSE(link.AskMH(1));
    expectError(AGW_ERR::NO_WINSOCK_CONNECTION, "No Winsock connection exists");
    ASSERT_TRUE(connected.wait(10000));
    EXPECT_FALSE(link.AskMH(1));
    expectError(AGW_ERR::INVALID_AGW_PORT, "An invalid AGW port has been specified");
    QSignalSpy ports(&link, &PKLINK::GotPortInfo);
    server.sendFrame('G', 0, {}, {}, "1;Port1 only;");
    ASSERT_TRUE(ports.wait(10000));
    EXPECT_TRUE(link.AskMH(1));
    EXPECT_FALSE(link.AskMH(2));
    EXPECT_FALSE(link.AskMH(0));
}

TEST_F(PklinkControl, MonitoringSwitchSendsOnlyOnAChange)
{
    bringUp();
    EXPECT_FALSE(link.ReceiveMonitoredFrames(true)); // already on
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_ERROR);
    EXPECT_TRUE(link.ReceiveMonitoredFrames(false));
    EXPECT_FALSE(link.ReceiveRawFrames(false));
    EXPECT_TRUE(link.ReceiveRawFrames(true));
    ASSERT_TRUE(server.waitForFrames(2));
    EXPECT_EQ(server.frames()[0].raw, AgwFrame::make('m'));
    EXPECT_EQ(server.frames()[1].raw, AgwFrame::make('k'));
}

// ---- refusals ---------------------------------------------------------------

TEST_F(PklinkControl, EverySendingMethodNeedsTheLink)
{
    const QString a = QStringLiteral("A"), b = QStringLiteral("B");
    const std::function<bool()> calls[] = {
        [&] { return link.AskMH(1); },
        [&] { return link.AskPortCapabilities(1); },
        [&] { return link.RegisterCallsign(a); },
        [&] { return link.UnregisterCallsign(a); },
        [&] { return link.ConnectTo(1, a, b); },
        [&] { return link.DisconnectFrom(1, a, b); },
        [&] { return link.SendUnproto(1, a, b, "x"); },
        [&] { return link.SendDataToStation(1, a, b, "x"); },
        [&] { return link.SendKissFrame(1, "x"); },
    };
    for (const auto &call : calls) {
        EXPECT_FALSE(call());
        EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_WINSOCK_CONNECTION);
    }
    // The switches refuse without recording anything.
    EXPECT_FALSE(link.ReceiveMonitoredFrames(true));
    EXPECT_FALSE(link.ReceiveRawFrames(true));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_ERROR);
}

TEST_F(PklinkControl, DisconnectWithoutALinkReturnsAnEmptyVariant)
{
    const QVariant result = link.DisconnectFromAgw();
    EXPECT_FALSE(result.isValid());
    expectError(AGW_ERR::NO_WINSOCK_CONNECTION, "No Winsock connection exists");
}

TEST_F(PklinkControl, ConnectToAgwChecksLinkHostAndPort)
{
    bringUp();
    EXPECT_FALSE(link.ConnectToAgw());
    expectError(AGW_ERR::WINSOCK_CONNECTION_ALREADY_EXISTS,
                "A Winsock connection to AGWPE already exists");
    EXPECT_TRUE(link.AskMH(1)); // the link is untouched

    PKLINK other;
    other.setAgwIpHost(QString());
    EXPECT_FALSE(other.ConnectToAgw());
    EXPECT_EQ(other.eLastErr(), AGW_ERR::NO_HOST_ADDRESS);
    EXPECT_EQ(other.strLastErrMsg(), QStringLiteral("No IP host address has been specified"));
    other.setAgwIpHost(QStringLiteral("127.0.0.1"));
    other.setAgwIpPort(0);
    EXPECT_FALSE(other.ConnectToAgw());
    EXPECT_EQ(other.eLastErr(), AGW_ERR::NO_HOST_PORT);
    EXPECT_EQ(other.strLastErrMsg(), QStringLiteral("No IP port has been specified"));
}

TEST_F(PklinkControl, ChecksComeInTheirOrder)
{
    bringUp();
    const QByteArray data("x");
    // Port before callsign.
    EXPECT_FALSE(link.SendUnproto(3, QString(), QString(), data));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::INVALID_AGW_PORT);
    // Own call before destination.
    EXPECT_FALSE(link.SendUnproto(1, QStringLiteral("Q9ABCDEFGH"),
                                  QStringLiteral("CQ via 1,2,3,4,5,6,7,8,9"), data));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::INVALID_CALLSIGN);
    EXPECT_FALSE(link.SendUnproto(1, QStringLiteral("Q9ABC"),
                                  QStringLiteral("CQ via 1,2,3,4,5,6,7,8,9"), data));
    expectError(AGW_ERR::TOO_MANY_DIGIS,
                "You are trying to use too many digis. the maximum is eight");
    EXPECT_FALSE(
        link.ConnectTo(1, QStringLiteral("Q9ABC"), QStringLiteral("Q9XYZ via ABCDEFGHIJ")));
    expectError(AGW_ERR::INVALID_CALLSIGN, "An invalid callsign has been specified");
    EXPECT_FALSE(link.ConnectTo(1, QStringLiteral("Q9ABC"), QStringLiteral("   ")));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::INVALID_CALLSIGN);
    EXPECT_FALSE(link.DisconnectFrom(1, QStringLiteral("Q9ABC"), QString()));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::INVALID_CALLSIGN);
    EXPECT_FALSE(link.SendDataToStation(1, QStringLiteral("Q9ABC"), QStringLiteral("Q9XYZ"), data));
    expectError(AGW_ERR::NOT_CONNECTED_TO_STATION,
                "Not connected to the station on the specified port");
    EXPECT_FALSE(link.RegisterCallsign(QString()));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::INVALID_CALLSIGN);
    // Nothing of all that reached the engine.
    const AgwFrame f = sentAfter([&] { link.AskMH(2); });
    EXPECT_EQ(f.kind, 'H');
}

TEST_F(PklinkControl, LastErrorIsReadOnceAndCodeAndMessageClearApart)
{
    EXPECT_FALSE(link.AskMH(1));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_WINSOCK_CONNECTION);
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_ERROR);
    EXPECT_EQ(link.strLastErrMsg(), QStringLiteral("No Winsock connection exists"));
    EXPECT_EQ(link.strLastErrMsg(), QString());

    link.setELastErr(AGW_ERR::NOT_CONNECTED_TO_STATION);
    EXPECT_EQ(link.strLastErrMsg(),
              QStringLiteral("Not connected to the station on the specified port"));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NOT_CONNECTED_TO_STATION);
    link.setELastErr(AGW_ERR::NO_AX25_CONNECTION);
    link.setELastErr(static_cast<AGW_ERR>(12)); // ignored
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_AX25_CONNECTION);
    EXPECT_EQ(link.strLastErrMsg(), QStringLiteral("No AX25 connection to this station exists"));
}

TEST_F(PklinkControl, DataTooLongForTheSixteenBitCountIsAnUntrappedError)
{
    bringUp();
    EXPECT_FALSE(
        link.SendUnproto(1, QStringLiteral("Q9ABC"), QStringLiteral("CQ"), QByteArray(32768, 'x')));
    expectError(AGW_ERR::UNTRAPPED_ERROR,
                "An untrapped error occurred in sub/function SendUnproto()");
    EXPECT_FALSE(link.SendKissFrame(1, QByteArray(32767, 'x')));
    expectError(AGW_ERR::UNTRAPPED_ERROR,
                "An untrapped error occurred in sub/function SendKissFrame()");
    const AgwFrame f = sentAfter([&] {
        link.SendUnproto(1, QStringLiteral("Q9ABC"), QStringLiteral("CQ"), QByteArray(32767, 'x'));
    });
    EXPECT_EQ(f.kind, 'M');
    EXPECT_EQ(f.data.size(), 32767);
}

// ---- the bytes on the wire --------------------------------------------------

TEST_F(PklinkControl, SendUnprotoWithoutDigipeaters)
{
    bringUp();
    const AgwFrame f = sentAfter([&] {
        EXPECT_TRUE(link.SendUnproto(1, QStringLiteral("q9abcd"), QStringLiteral("CQ"),
                                     QByteArray("\x01\x02", 2)));
    });
    EXPECT_EQ(f.raw, AgwFrame::make('M', 0, "Q9ABCD", "CQ", QByteArray("\x01\x02", 2)));
    EXPECT_EQ(f.raw.size(), 38);
}

TEST_F(PklinkControl, SendUnprotoWithDigipeatersOnPortTwo)
{
    bringUp();
    const AgwFrame f = sentAfter([&] {
        EXPECT_TRUE(link.SendUnproto(2, QStringLiteral("Q9ABC"),
                                     QStringLiteral("APZ324 via wide1-1,WIDE2-1"), "hello"));
    });
    EXPECT_EQ(f.raw, AgwFrame::make('V', 1, "Q9ABC", "APZ324",
                                    "\x02" + field("WIDE1-1") + field("WIDE2-1") + "hello"));
}

TEST_F(PklinkControl, ConnectToWithEightDigipeatersAndWithout)
{
    bringUp();
    AgwFrame f = sentAfter([&] {
        EXPECT_TRUE(link.ConnectTo(1, QStringLiteral("Q9ABC"),
                                   QStringLiteral("Q9XYZ via 1,2,3,4,5,6,7,8")));
    });
    QByteArray list("\x08");
    for (char c = '1'; c <= '8'; ++c)
        list += field(QByteArray(1, c));
    EXPECT_EQ(f.raw, AgwFrame::make('v', 0, "Q9ABC", "Q9XYZ", list));
    f = sentAfter(
        [&] { EXPECT_TRUE(link.ConnectTo(2, QStringLiteral("q9abc"), QStringLiteral("q9xyz"))); });
    EXPECT_EQ(f.raw, AgwFrame::make('C', 1, "Q9ABC", "Q9XYZ"));
}

TEST_F(PklinkControl, DisconnectFromSendsBothCalls)
{
    bringUp();
    const AgwFrame f = sentAfter([&] {
        EXPECT_TRUE(link.DisconnectFrom(2, QStringLiteral("Q9ABC"), QStringLiteral("q9xyz-1")));
    });
    EXPECT_EQ(f.raw, AgwFrame::make('d', 1, "Q9ABC", "Q9XYZ-1"));
}

TEST_F(PklinkControl, QuestionsAboutAPort)
{
    bringUp();
    AgwFrame f = sentAfter([&] { EXPECT_TRUE(link.AskMH(2)); });
    EXPECT_EQ(f.raw, AgwFrame::make('H', 1));
    f = sentAfter([&] { EXPECT_TRUE(link.AskPortCapabilities(1)); });
    EXPECT_EQ(f.raw, AgwFrame::make('g', 0));
}

TEST_F(PklinkControl, SendKissFrameAddsTheCommandByte)
{
    bringUp();
    const QByteArray raw = QByteArray::fromHex("82a0a4a6404060");
    const AgwFrame f = sentAfter([&] { EXPECT_TRUE(link.SendKissFrame(2, raw)); });
    EXPECT_EQ(f.raw, AgwFrame::make('K', 1, {}, {}, QByteArray(1, '\0') + raw));
}

TEST_F(PklinkControl, DataGoesOnlyToAStationTheEngineReportedConnected)
{
    bringUp();
    QSignalSpy connected(&link, &PKLINK::Connected);
    QSignalSpy disconnected(&link, &PKLINK::Disconnected);
    server.sendFrame('C', 0, "Q9XYZ", "Q9ABC", "*** CONNECTED With Station Q9XYZ\r");
    ASSERT_TRUE(connected.wait(10000));
    EXPECT_EQ(connected.at(0).at(0).toInt(), 0);
    EXPECT_EQ(connected.at(0).at(1).toString(), QStringLiteral("Q9XYZ"));
    EXPECT_FALSE(link.SendDataToStation(1, QStringLiteral("Q9ABC"), QStringLiteral("q9xyz"), "hi"));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NOT_CONNECTED_TO_STATION);
    EXPECT_FALSE(link.SendDataToStation(2, QStringLiteral("Q9ABC"), QStringLiteral("Q9XYZ"), "hi"));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NOT_CONNECTED_TO_STATION);
    const AgwFrame f = sentAfter([&] {
        EXPECT_TRUE(
            link.SendDataToStation(1, QStringLiteral("Q9ABC"), QStringLiteral("Q9XYZ"), "hi"));
    });
    EXPECT_EQ(f.raw, AgwFrame::make('D', 0, "Q9ABC", "Q9XYZ", "hi"));

    server.sendFrame('d', 0, "Q9XYZ", "Q9ABC", "*** DISCONNECTED From Station Q9XYZ\r");
    ASSERT_TRUE(disconnected.wait(10000));
    EXPECT_EQ(disconnected.at(0).at(0).toInt(), 1);
    EXPECT_FALSE(link.SendDataToStation(1, QStringLiteral("Q9ABC"), QStringLiteral("Q9XYZ"), "hi"));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NOT_CONNECTED_TO_STATION);
}

TEST_F(PklinkControl, RegistrationIsCheckedAgainstTheConfirmedCallsigns)
{
    bringUp();
    AgwFrame f = sentAfter([&] { EXPECT_TRUE(link.RegisterCallsign(QStringLiteral("Q9ABC"))); });
    EXPECT_EQ(f.raw, AgwFrame::make('X', 0, "Q9ABC"));
    // Not confirmed yet: may be asked again.
    EXPECT_TRUE(link.RegisterCallsign(QStringLiteral("Q9ABC")));
    QSignalSpy registered(&link, &PKLINK::CallsignRegistered);
    server.sendFrame('X', 0, "Q9ABC", {}, QByteArray(1, '\x01'));
    ASSERT_TRUE(registered.wait(10000));
    EXPECT_TRUE(registered.at(0).at(1).toBool());
    EXPECT_FALSE(link.RegisterCallsign(QStringLiteral("Q9ABC")));
    expectError(AGW_ERR::CALLSIGN_ALREADY_REGISTERED, "That callsign is already registered");
    f = sentAfter([&] { EXPECT_TRUE(link.RegisterCallsign(QStringLiteral("q9abc"))); });
    EXPECT_EQ(f.raw, AgwFrame::make('X', 0, "Q9ABC"));

    f = sentAfter([&] { EXPECT_TRUE(link.UnregisterCallsign(QStringLiteral("Q9ABC"))); });
    EXPECT_EQ(f.raw, AgwFrame::make('x', 0, "Q9ABC"));
    f = sentAfter([&] { EXPECT_TRUE(link.RegisterCallsign(QStringLiteral("Q9ABC"))); });
    EXPECT_EQ(f.kind, 'X');
    // Unregistering a callsign not in the list still sends.
    f = sentAfter([&] { EXPECT_TRUE(link.UnregisterCallsign(QStringLiteral("Q9NONE"))); });
    EXPECT_EQ(f.raw, AgwFrame::make('x', 0, "Q9NONE"));
}

TEST_F(PklinkControl, UnregisterRemovesOnlyTheMatchingEntry)
{
    bringUp();
    QSignalSpy registered(&link, &PKLINK::CallsignRegistered);
    for (const char *call : {"Q9A", "Q9B", "Q9C"})
        server.sendFrame('X', 0, call, {}, QByteArray(1, '\x01'));
    ASSERT_TRUE(waitUntil([&] { return registered.size() == 3; }));
    EXPECT_TRUE(link.UnregisterCallsign(QStringLiteral("Q9B")));
    EXPECT_FALSE(link.RegisterCallsign(QStringLiteral("Q9A")));
    EXPECT_TRUE(link.RegisterCallsign(QStringLiteral("Q9B")));
    EXPECT_FALSE(link.RegisterCallsign(QStringLiteral("Q9C")));
}

TEST_F(PklinkControl, ANewLinkStartsWithoutRegistrationsOrConnections)
{
    bringUp();
    QSignalSpy registered(&link, &PKLINK::CallsignRegistered);
    QSignalSpy connected(&link, &PKLINK::Connected);
    server.sendFrame('X', 0, "Q9ABC", {}, QByteArray(1, '\x01'));
    server.sendFrame('C', 0, "Q9XYZ", "Q9ABC", "*** CONNECTED With Station Q9XYZ\r");
    ASSERT_TRUE(waitUntil([&] { return registered.size() == 1 && connected.size() == 1; }));
    ASSERT_FALSE(link.RegisterCallsign(QStringLiteral("Q9ABC")));
    ASSERT_TRUE(link.SendDataToStation(1, QStringLiteral("Q9ABC"), QStringLiteral("Q9XYZ"), "hi"));

    link.DisconnectFromAgw();
    ASSERT_TRUE(server.waitForClientGone());
    bringUp();
    EXPECT_TRUE(link.RegisterCallsign(QStringLiteral("Q9ABC")));
    EXPECT_FALSE(link.SendDataToStation(1, QStringLiteral("Q9ABC"), QStringLiteral("Q9XYZ"), "hi"));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NOT_CONNECTED_TO_STATION);
}

// ---- the received stream ----------------------------------------------------

TEST_F(PklinkControl, HeaderSplitOverTwoReads)
{
    bringUp();
    QSignalSpy heard(&link, &PKLINK::MonUFrame);
    const QByteArray frame = AgwFrame::make('U', 0, "Q9ORV-1", "CQ", QByteArray("T#001\r\0", 7));
    sendPiece(frame.left(20));
    EXPECT_EQ(heard.size(), 0);
    sendPiece(frame.mid(20));
    ASSERT_EQ(heard.size(), 1);
    EXPECT_EQ(heard.at(0).at(0).toInt(), 1);
    EXPECT_EQ(heard.at(0).at(1).toString(), QStringLiteral("Q9ORV-1"));
    EXPECT_EQ(heard.at(0).at(2).toString(), QStringLiteral("CQ"));
    EXPECT_EQ(heard.at(0).at(3).toByteArray(), QByteArray("T#001\r"));
}

TEST_F(PklinkControl, DataPartOverSeveralReads)
{
    bringUp();
    QSignalSpy heard(&link, &PKLINK::MonTFrame);
    const QByteArray frame = AgwFrame::make('T', 1, "Q9ABC", "APZ324", QByteArray(100, 'a') + '\0');
    sendPiece(frame.left(36));
    sendPiece(frame.mid(36, 30));
    sendPiece(frame.mid(66, 30));
    EXPECT_EQ(heard.size(), 0);
    sendPiece(frame.mid(96));
    ASSERT_EQ(heard.size(), 1);
    EXPECT_EQ(heard.at(0).at(0).toInt(), 2);
    EXPECT_EQ(heard.at(0).at(3).toByteArray(), QByteArray(100, 'a'));
}

TEST_F(PklinkControl, ManyFramesInOneReadIncludingEmptyOnes)
{
    bringUp();
    QStringList order;
    QObject::connect(&link, &PKLINK::MonUFrame, &link,
                     [&](qint16, const QString &from, const QString &, const QByteArray &) {
                         order << QStringLiteral("U:") + from;
                     });
    QObject::connect(&link, &PKLINK::GotPortInfo, &link, [&](const QStringList &info) {
        order << QStringLiteral("G:%1").arg(info.size());
    });
    QObject::connect(&link, &PKLINK::MonSFrame, &link, [&](qint16, const QByteArray &data) {
        order << QStringLiteral("S:") + QString::fromLatin1(data);
    });
    QByteArray burst;
    for (int i = 0; i < 50; ++i)
        burst += AgwFrame::make('U', 0, "Q9N" + QByteArray::number(i), "CQ", QByteArray("x\0", 2));
    burst += AgwFrame::make('G'); // empty: no ports
    burst += AgwFrame::make('S', 0, {}, {}, QByteArray("rr\0", 3));
    sendPiece(burst);
    ASSERT_TRUE(waitUntil([&] { return order.size() == 52; }));
    EXPECT_EQ(order.first(), QStringLiteral("U:Q9N0"));
    EXPECT_EQ(order.at(49), QStringLiteral("U:Q9N49"));
    EXPECT_EQ(order.at(50), QStringLiteral("G:0"));
    EXPECT_EQ(order.at(51), QStringLiteral("S:rr"));
    EXPECT_EQ(link.intPortCount(), 0);
    EXPECT_FALSE(link.AskMH(1));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::INVALID_AGW_PORT);
}

TEST_F(PklinkControl, FramesThatArriveJustBeforeThePeerClosesAreDelivered)
{
    bringUp();
    QSignalSpy heard(&link, &PKLINK::MonUFrame);
    QSignalSpy down(&link, &PKLINK::WsDisConnected);
    server.sendFrame('U', 0, "Q9ORV-1", "CQ", QByteArray("last\0", 5));
    server.closeClient();
    ASSERT_TRUE(down.wait(10000));
    EXPECT_EQ(heard.size(), 1);
    EXPECT_EQ(down.at(0).at(0).toString(), QStringLiteral("127.0.0.1"));
}

TEST_F(PklinkControl, PeerClosingMidFrameLeavesALinkThatStartsAfresh)
{
    bringUp();
    QSignalSpy heard(&link, &PKLINK::MonUFrame);
    QSignalSpy down(&link, &PKLINK::WsDisConnected);
    QSignalSpy errors(&link, &PKLINK::WsError);
    const QByteArray frame = AgwFrame::make('U', 0, "Q9ORV-1", "CQ", QByteArray("cut off\0", 8));
    sendPiece(frame.left(40));
    server.closeClient();
    ASSERT_TRUE(down.wait(10000));
    EXPECT_EQ(heard.size(), 0);
    EXPECT_EQ(errors.size(), 0);
    EXPECT_FALSE(link.AskMH(1));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_WINSOCK_CONNECTION);

    // The next link starts with a header, and starts with no ports.
    server.answerLinkUp = false;
    QSignalSpy connected(&link, &PKLINK::WsConnected);
    ASSERT_TRUE(link.ConnectToAgw());
    ASSERT_TRUE(connected.wait(10000));
    EXPECT_EQ(link.intPortCount(), 0);
    server.send(frame);
    ASSERT_TRUE(heard.wait(10000));
    EXPECT_EQ(heard.at(0).at(3).toByteArray(), QByteArray("cut off"));
}

TEST_F(PklinkControl, DisconnectFromAgwClosesTheLink)
{
    bringUp();
    QSignalSpy down(&link, &PKLINK::WsDisConnected);
    const QVariant result = link.DisconnectFromAgw();
    EXPECT_TRUE(result.toBool());
    EXPECT_EQ(down.size(), 1);
    EXPECT_TRUE(server.waitForClientGone());
    EXPECT_FALSE(link.AskMH(1));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_WINSOCK_CONNECTION);
}

TEST_F(PklinkControl, RefusedConnectShowsOnlyAsError)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 deadPort = closed.serverPort();
    closed.close();
    link.setAgwIpPort(deadPort);
    QSignalSpy errors(&link, &PKLINK::WsError);
    QSignalSpy down(&link, &PKLINK::WsDisConnected);
    ASSERT_TRUE(link.ConnectToAgw());
    ASSERT_TRUE(errors.wait(10000));
    EXPECT_EQ(errors.at(0).at(0).toInt(), 10061);
    EXPECT_FALSE(errors.at(0).at(1).toString().isEmpty());
    EXPECT_EQ(down.size(), 0);
    // And it can be tried again at once.
    link.setAgwIpPort(server.port());
    QSignalSpy connected(&link, &PKLINK::WsConnected);
    ASSERT_TRUE(link.ConnectToAgw());
    EXPECT_TRUE(connected.wait(10000));
}

TEST_F(PklinkControl, AConnectThatGetsNoAnswerGivesUpWithAnError)
{
    // A listener that accepts nothing and whose queue is full: the system
    // leaves further connects to it unanswered.
    QTcpServer full;
    full.setListenBacklogSize(0);
    ASSERT_TRUE(full.listen(QHostAddress::LocalHost, 0));
    full.pauseAccepting();
    QTcpSocket fillers[2];
    for (QTcpSocket &filler : fillers)
        filler.connectToHost(QHostAddress::LocalHost, full.serverPort());
    ASSERT_TRUE(fillers[0].waitForConnected(10000));

    EXPECT_EQ(link.connectTimeout(), 15000);
    link.setConnectTimeout(300);
    link.setAgwIpPort(full.serverPort());
    QSignalSpy errors(&link, &PKLINK::WsError);
    QSignalSpy connected(&link, &PKLINK::WsConnected);
    ASSERT_TRUE(link.ConnectToAgw());
    ASSERT_TRUE(errors.wait(20000)) << "the connect was not given up";
    EXPECT_EQ(errors.at(0).at(0).toInt(), 10060);
    EXPECT_EQ(errors.at(0).at(1).toString(), "Connection timed out: no answer within 0.3 seconds");
    EXPECT_EQ(connected.size(), 0);

    // And it can be tried again at once.
    link.setAgwIpPort(server.port());
    ASSERT_TRUE(link.ConnectToAgw());
    EXPECT_TRUE(connected.wait(10000));
}

TEST_F(PklinkControl, ErrorOnALiveLinkClearsTheLinkSoItCanBeOpenedAgain)
{
    bringUp();
    QSignalSpy errors(&link, &PKLINK::WsError);
    QSignalSpy down(&link, &PKLINK::WsDisConnected);
    QTcpSocket *socket = clientSocket();
    ASSERT_NE(socket, nullptr);
    emit socket->errorOccurred(QAbstractSocket::NetworkError);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.at(0).at(0).toInt(), 10050);
    EXPECT_EQ(down.size(), 0);
    EXPECT_TRUE(server.waitForClientGone());
    EXPECT_FALSE(link.AskMH(1));
    EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_WINSOCK_CONNECTION);

    QSignalSpy connected(&link, &PKLINK::WsConnected);
    ASSERT_TRUE(link.ConnectToAgw());
    EXPECT_TRUE(connected.wait(10000));
}

TEST_F(PklinkControl, ImpossibleDataLengthClosesTheLinkWithAnError)
{
    for (qint32 bad : {8193, -1}) {
        bringUp();
        QSignalSpy errors(&link, &PKLINK::WsError);
        QSignalSpy down(&link, &PKLINK::WsDisConnected);
        QSignalSpy heard(&link, &PKLINK::MonUFrame);
        server.send(AgwFrame::make('U', 0, "A", "B", QByteArray("ok\0", 3)) +
                    AgwFrame::header('U', bad) + QByteArray(100, 'g'));
        ASSERT_TRUE(errors.wait(10000)) << bad;
        EXPECT_EQ(heard.size(), 1);
        EXPECT_EQ(errors.at(0).at(0).toInt(), 10040);
        EXPECT_TRUE(errors.at(0).at(1).toString().contains(QString::number(bad)));
        EXPECT_EQ(down.size(), 0);
        EXPECT_TRUE(server.waitForClientGone());
        EXPECT_FALSE(link.AskMH(1));
        EXPECT_EQ(link.eLastErr(), AGW_ERR::NO_WINSOCK_CONNECTION);
    }
}

TEST_F(PklinkControl, HandlerThatClosesTheLinkStopsTheRestOfTheRead)
{
    bringUp();
    int heard = 0;
    QObject::connect(&link, &PKLINK::MonUFrame, &link, [&] {
        ++heard;
        link.DisconnectFromAgw();
    });
    server.send(AgwFrame::make('U', 0, "A", "B", QByteArray("1\0", 2)) +
                AgwFrame::make('U', 0, "A", "B", QByteArray("2\0", 2)));
    ASSERT_TRUE(waitUntil([&] { return heard > 0; }));
    EXPECT_TRUE(server.waitForClientGone());
    EXPECT_EQ(heard, 1);
}

TEST_F(PklinkControl, HandlerMaySendAtOnce)
{
    bringUp();
    QObject::connect(&link, &PKLINK::MonUFrame, &link,
                     [&](qint16 intPort, const QString &strFromCall) {
                         link.SendUnproto(intPort, QStringLiteral("Q9ABC"), strFromCall, "ack");
                     });
    server.sendFrame('U', 1, "Q9ORV-2", "CQ", QByteArray("x\0", 2));
    const AgwFrame f = nextFrame();
    EXPECT_EQ(f.raw, AgwFrame::make('M', 1, "Q9ABC", "Q9ORV-2", "ack"));
}

// ---- the heard list in the language of the locale ------------------------------

namespace {

QByteArray systemTime(quint16 year, quint16 month, quint16 day, quint16 hour, quint16 minute)
{
    QByteArray out;
    for (const quint16 part : {year, month, quint16(0), day, hour, minute, quint16(0), quint16(0)})
        out += static_cast<char>(part & 0xFF) + QByteArray(1, static_cast<char>(part >> 8));
    return out;
}

// The heard line of one entry, from a control made while `locale` is the default.
QString heardLineIn(const QLocale &locale, const QByteArray &lastHeard)
{
    const QLocale before;
    QLocale::setDefault(locale);
    FakeAgwServer server;
    PKLINK link;
    QLocale::setDefault(before);
    server.answerLinkUp = true;
    EXPECT_TRUE(server.listen());
    link.setAgwIpHost(QStringLiteral("127.0.0.1"));
    link.setAgwIpPort(server.port());
    QSignalSpy ports(&link, &PKLINK::GotPortInfo);
    QSignalSpy heard(&link, &PKLINK::MhData);
    EXPECT_TRUE(link.ConnectToAgw());
    EXPECT_TRUE(ports.wait(10000));
    server.sendFrame('H', 0, "Q9XYZ", {},
                     QByteArray("Q9XYZ\0\0\0", 8) + systemTime(2026, 1, 2, 3, 4) + lastHeard);
    return heard.wait(10000) ? heard.at(0).at(1).toString() : QStringLiteral("<no MhData>");
}

} // namespace

TEST(PklinkHeardList, MonthsAreThoseOfTheLocaleWhereItHasThem)
{
    const QByteArray december = systemTime(2026, 12, 7, 23, 59);
    EXPECT_EQ(heardLineIn(QLocale::c(), december),
              "    Q9XYZ 2026-Jan-02 03:04  2026-Dec-07 23:59");
    EXPECT_EQ(heardLineIn(QLocale(QLocale::German, QLocale::Germany), december),
              "    Q9XYZ 2026-Jan-02 03:04  2026-Dez-07 23:59");
    // Names the one-byte text cannot carry: English.
    EXPECT_EQ(heardLineIn(QLocale(QLocale::Russian, QLocale::Russia), december),
              "    Q9XYZ 2026-Jan-02 03:04  2026-Dec-07 23:59");
    // A time that cannot be formatted leaves its place blank; the entry still comes.
    EXPECT_EQ(heardLineIn(QLocale::c(), systemTime(0, 1, 1, 0, 0)),
              "    Q9XYZ 2026-Jan-02 03:04                   ");
}

// ---- the control as a widget and its saved design -----------------------------

TEST(PklinkDesign, DefaultsAndTheTwoPersistedKeys)
{
    PKLINK link;
    EXPECT_EQ(link.AgwIpHost(), QStringLiteral("localhost"));
    EXPECT_EQ(link.AgwIpPort(), 8000);
    link.setAgwLoginId(QStringLiteral("user"));
    link.setAgwIpHost(QStringLiteral("agw.example"));
    link.setAgwIpPort(8001);
    QVariantMap bag;
    link.writeProperties(bag);
    EXPECT_EQ(bag.keys(), (QStringList{QStringLiteral("AgwIpHost"), QStringLiteral("AgwIpPort")}));
    EXPECT_EQ(bag.value(QStringLiteral("AgwIpHost")).toString(), QStringLiteral("agw.example"));
    EXPECT_EQ(bag.value(QStringLiteral("AgwIpPort")).toInt(), 8001);

    PKLINK other;
    other.readProperties(bag);
    EXPECT_EQ(other.AgwIpHost(), QStringLiteral("agw.example"));
    EXPECT_EQ(other.AgwIpPort(), 8001);
    EXPECT_EQ(other.AgwLoginId(), QString());
    other.readProperties({});
    EXPECT_EQ(other.AgwIpHost(), QStringLiteral("localhost"));
    EXPECT_EQ(other.AgwIpPort(), 8000);
}

TEST(PklinkDesign, ControlKeepsTheSizeOfItsLabel)
{
    PKLINK link;
    const QSize labelSize = link.childAt(1, 1) ? link.childAt(1, 1)->size() : QSize();
    ASSERT_TRUE(labelSize.isValid());
    link.resize(400, 300);
    EXPECT_EQ(link.size(), labelSize);
}
