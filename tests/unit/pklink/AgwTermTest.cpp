// SPDX-License-Identifier: GPL-2.0-or-later
// agwterm as operators and tests run it: a process talking to a fake engine.

#include "support/AgwFrame.h"
#include "support/FakeAgwServer.h"
#include "support/Wait.h"

#include <QProcess>
#include <QTcpServer>

#include <gtest/gtest.h>

using orvex::test::AgwFrame;
using orvex::test::FakeAgwServer;
using orvex::test::waitUntil;

namespace {

class AgwTermProcess : public ::testing::Test
{
protected:
    FakeAgwServer server;
    QProcess term;
    QByteArray pending;
    QList<QByteArray> lines;

    void SetUp() override
    {
        ASSERT_TRUE(server.listen());
        server.answerLinkUp = true;
        QObject::connect(&term, &QProcess::readyReadStandardOutput, &term, [this] {
            pending += term.readAllStandardOutput();
            qsizetype end;
            while ((end = pending.indexOf('\n')) >= 0) {
                lines.append(pending.left(end));
                pending.remove(0, end + 1);
            }
        });
    }

    void TearDown() override
    {
        if (term.state() != QProcess::NotRunning) {
            term.kill();
            term.waitForFinished(10000);
        }
    }

    void start(const QStringList &extra = {})
    {
        term.start(QStringLiteral(AGWTERM_PATH),
                   QStringList{QStringLiteral("127.0.0.1"), QString::number(server.port())} +
                       extra);
        ASSERT_TRUE(term.waitForStarted(10000));
    }

    // Starts agwterm and waits until the engine's answers to the start
    // sequence have been printed.
    void startLinked()
    {
        start();
        ASSERT_TRUE(waitForLine("GotPortInfo|Port1 first;Port2 second"));
        server.clearFrames();
        lines.clear();
    }

    bool waitForLine(const QByteArray &line, int timeoutMs = 10000)
    {
        return waitUntil([&] { return lines.contains(line); }, timeoutMs);
    }

    // Runs one command and returns the first line printed after it.
    QByteArray command(const QByteArray &line)
    {
        const qsizetype before = lines.size();
        term.write(line + '\n');
        if (!waitUntil([&] { return lines.size() > before; }))
            return "<nothing printed>";
        return lines.at(before);
    }
};

} // namespace

TEST_F(AgwTermProcess, ConnectsAtOnceAndPrintsTheStartOfTheLink)
{
    start();
    ASSERT_TRUE(waitForLine("GotPortInfo|Port1 first;Port2 second"));
    EXPECT_EQ(lines.mid(0, 4),
              (QList<QByteArray>{"ok", "WsConnected|127.0.0.1", "GotVersion|2005|127|2005.127",
                                 "GotPortInfo|Port1 first;Port2 second"}));
    EXPECT_EQ(command("intPortCount"), "2");
    EXPECT_EQ(command("strPortInfo"), "Port1 first;Port2 second");
    EXPECT_EQ(command("lngMajorVersion"), "2005");
    EXPECT_EQ(command("lngMinorVersion"), "127");
    EXPECT_EQ(command("AgwRemoteHost"), "127.0.0.1");
}

TEST_F(AgwTermProcess, LoginFromTheCommandLine)
{
    start({QStringLiteral("user"), QStringLiteral("secret")});
    ASSERT_TRUE(server.waitForFrames(4));
    EXPECT_EQ(server.frames()[0].kind, 'P');
    EXPECT_EQ(server.frames()[0].data.left(5), QByteArray("user\0", 5));
}

TEST_F(AgwTermProcess, SendingMethodsPutTheirFramesOnTheWire)
{
    startLinked();
    EXPECT_EQ(command("SendUnproto|1|Q9ZZZ|CQ ORVEX-1|54455354"), "ok");
    ASSERT_TRUE(server.waitForFrames(1));
    QByteArray digi("ORVEX-1");
    digi.append(3, '\0');
    EXPECT_EQ(server.frames()[0].raw,
              AgwFrame::make('V', 0, "Q9ZZZ", "CQ", "\x01" + digi + "TEST"));
    EXPECT_EQ(command("SendKissFrame|2|c0ffee"), "ok");
    EXPECT_EQ(command("AskPortCapabilities|2"), "ok");
    EXPECT_EQ(command("RegisterCallsign|q9zzz"), "ok");
    ASSERT_TRUE(server.waitForFrames(4));
    EXPECT_EQ(server.frames()[1].raw,
              AgwFrame::make('K', 1, {}, {}, QByteArray::fromHex("00c0ffee")));
    EXPECT_EQ(server.frames()[2].raw, AgwFrame::make('g', 1));
    EXPECT_EQ(server.frames()[3].raw, AgwFrame::make('X', 0, "Q9ZZZ"));
}

TEST_F(AgwTermProcess, RefusalsPrintCodeAndMessageAndClearThem)
{
    startLinked();
    EXPECT_EQ(command("AskMH|3"), "fail|8|An invalid AGW port has been specified");
    EXPECT_EQ(command("eLastErr"), "0");
    EXPECT_EQ(command("strLastErrMsg"), "");
    EXPECT_EQ(command("ConnectToAgw"), "fail|1|A Winsock connection to AGWPE already exists");
    EXPECT_EQ(command("ReceiveMonitoredFrames|True"), "fail|0|");
    EXPECT_EQ(command("SendUnproto|1|Q9ZZZ|CQ via 1,2,3,4,5,6,7,8,9|00"),
              "fail|7|You are trying to use too many digis. the maximum is eight");
    EXPECT_EQ(command("set|eLastErr|5"), "ok");
    EXPECT_EQ(command("strLastErrMsg"), "No AX25 connection to this station exists");
    EXPECT_EQ(command("eLastErr"), "5");
    EXPECT_TRUE(command("SendUnproto|1|Q9ZZZ|CQ|zz").startsWith("error|"));
    EXPECT_TRUE(command("NoSuchMember").startsWith("error|"));
    EXPECT_EQ(command("DisconnectFromAgw"), "WsDisConnected|127.0.0.1");
    EXPECT_TRUE(waitForLine("ok"));
    EXPECT_EQ(command("DisconnectFromAgw"), "fail|2|No Winsock connection exists");
}

TEST_F(AgwTermProcess, AFailureThatRecordsNothingPrintsNoOlderError)
{
    startLinked();
    EXPECT_EQ(command("set|eLastErr|5"), "ok");
    EXPECT_EQ(command("ReceiveMonitoredFrames|True"), "fail|0|");
    EXPECT_EQ(command("DisconnectFromAgw"), "WsDisConnected|127.0.0.1");
    EXPECT_TRUE(waitForLine("ok"));
    // With the link down the start sequence records an error it does not report.
    EXPECT_EQ(command("AgwInit"), "ok");
    EXPECT_EQ(command("ReceiveRawFrames|True"), "fail|0|");
}

TEST_F(AgwTermProcess, EventsArePrintedWithEscapedTextsAndHexBytes)
{
    startLinked();
    server.sendFrame('U', 0, "Q9ORV-1", "CQ", QByteArray(" 1:Fm\r|\\\xE9\0", 10));
    server.sendFrame('C', 1, "Q9XYZ", "Q9ZZZ", "*** CONNECTED|\\ \xE9\r");
    server.sendFrame('X', 0, "Q9ZZZ", {}, QByteArray(1, '\x01'));
    server.sendFrame('g', 0, {}, {}, QByteArray::fromHex("00ff1e0a3f0a0701ffff"));
    server.sendFrame('y', 1, {}, {}, QByteArray::fromHex("409c0000"));
    ASSERT_TRUE(waitUntil([&] { return lines.size() >= 5; }));
    EXPECT_EQ(lines[0], "MonUFrame|1|Q9ORV-1|CQ|20313A466D0D7C5CE9");
    EXPECT_EQ(lines[1], "Connected|1|Q9XYZ|*** CONNECTED\\x7C\\x5C \\xE9\\x0D");
    EXPECT_EQ(lines[2], "CallsignRegistered|Q9ZZZ|True");
    EXPECT_EQ(lines[3], "PortCapabilities|1|lngHowManyBytes=65535,intAx25Channels=1,intMaxFrame=7,"
                        "intSlotTime=10,intPersist=63,intTxTail=10,intTxDelay=30,"
                        "intTrafficLevel=255,intOnAirBaudRate=0");
    EXPECT_EQ(lines[4], "OutStandingFramesForPort|2|32767");
}

TEST_F(AgwTermProcess, GarbageFromThePeerNeitherCrashesNorHangsIt)
{
    startLinked();
    server.send(AgwFrame::header('U', 1 << 30) + QByteArray(64, '\xAA'));
    ASSERT_TRUE(waitUntil([&] { return !lines.isEmpty(); }));
    EXPECT_TRUE(lines[0].startsWith("WsError|10040|")) << lines[0].constData();
    ASSERT_TRUE(server.waitForClientGone());
    lines.clear();
    EXPECT_EQ(command("ConnectToAgw"), "ok");
    // The start-up answers are all in before the next trouble.
    ASSERT_TRUE(waitForLine("GotPortInfo|Port1 first;Port2 second"));

    // Cut off in the middle of a frame.
    server.send(AgwFrame::make('U', 0, "A", "B", "half a frame").left(41));
    server.closeClient();
    ASSERT_TRUE(waitForLine("WsDisConnected|127.0.0.1"));
    lines.clear();
    EXPECT_EQ(command("ConnectToAgw"), "ok");
    ASSERT_TRUE(waitForLine("GotPortInfo|Port1 first;Port2 second"));
    EXPECT_EQ(lines.mid(0, 4),
              (QList<QByteArray>{"ok", "WsConnected|127.0.0.1", "GotVersion|2005|127|2005.127",
                                 "GotPortInfo|Port1 first;Port2 second"}));
    EXPECT_EQ(term.state(), QProcess::Running);
}

TEST_F(AgwTermProcess, EndOfInputEndsIt)
{
    startLinked();
    term.closeWriteChannel();
    ASSERT_TRUE(term.waitForFinished(10000));
    EXPECT_EQ(term.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(term.exitCode(), 0);
}

TEST_F(AgwTermProcess, QuitEndsItAfterTheLastFrameWentOut)
{
    startLinked();
    term.write("SendUnproto|1|Q9ZZZ|CQ|4259450A\nquit\n");
    ASSERT_TRUE(term.waitForFinished(10000));
    EXPECT_EQ(term.exitCode(), 0);
    ASSERT_TRUE(server.waitForFrames(1));
    EXPECT_EQ(server.frames()[0].data, QByteArray("BYE\n"));
}

TEST_F(AgwTermProcess, RefusedConnectIsReportedAndTheToolStaysUsable)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 deadPort = closed.serverPort();
    closed.close();
    term.start(QStringLiteral(AGWTERM_PATH),
               {QStringLiteral("127.0.0.1"), QString::number(deadPort)});
    ASSERT_TRUE(term.waitForStarted(10000));
    ASSERT_TRUE(waitUntil([&] { return lines.size() >= 2; }));
    EXPECT_EQ(lines[0], "ok");
    EXPECT_TRUE(lines[1].startsWith("WsError|10061|"));
    EXPECT_EQ(command("set|AgwIpPort|" + QByteArray::number(server.port())), "ok");
    EXPECT_EQ(command("ConnectToAgw"), "ok");
    EXPECT_TRUE(waitForLine("WsConnected|127.0.0.1"));
}
