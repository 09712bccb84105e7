// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/HttpTransfer.h"
#include "TestHttpServer.h"

#include <QDeadlineTimer>
#include <QTcpServer>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int generousMs = 20000;

// Runs the event loop until `done` holds or `ms` have passed.
template <typename Pred> bool waitFor(Pred done, int ms = generousMs)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QTest::qWait(10);
    return done();
}

struct Recorder
{
    explicit Recorder(HttpTransfer &t) : transfer(t)
    {
        QObject::connect(&transfer, &HttpTransfer::StateChanged, [this](int state) {
            states << state;
            if (state == HttpTransfer::icConnecting)
                hosts << transfer.remoteHost();
        });
    }
    // Waits for the end of the transfer: 11 or 12.
    bool waitForEnd()
    {
        return waitFor([this] { return states.contains(11) || states.contains(12); });
    }
    QByteArray body()
    {
        QByteArray all;
        for (QByteArray chunk = transfer.getChunk(1024); !chunk.isEmpty();
             chunk = transfer.getChunk(1024)) {
            EXPECT_LE(chunk.size(), 1024);
            all += chunk;
        }
        return all;
    }
    HttpTransfer &transfer;
    QList<int> states;
    QStringList hosts;
};

QByteArray everyByte(int size)
{
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 7 + i / 256) & 0xff);
    return data;
}

} // namespace

TEST(HttpTransfer, ReportsTheStatesInOrderAndDeliversTheBodyExactly)
{
    TestHttpServer server;
    const QByteArray data = everyByte(100000);
    server.serve("/elements/amateur.txt", data);
    HttpTransfer transfer;
    Recorder rec(transfer);
    transfer.execute(server.hostAndPort() + "/elements/amateur.txt");
    ASSERT_TRUE(rec.waitForEnd());

    ASSERT_EQ(rec.states.last(), HttpTransfer::icResponseCompleted);
    EXPECT_EQ(rec.states.mid(0, 6), QList<int>({1, 2, 3, 4, 5, 6}));
    const QList<int> receiving = rec.states.mid(6, rec.states.size() - 7);
    ASSERT_FALSE(receiving.isEmpty());
    for (qsizetype i = 0; i < receiving.size(); ++i)
        EXPECT_EQ(receiving[i], i % 2 == 0 ? 7 : 8);
    EXPECT_EQ(rec.hosts, QStringList{"127.0.0.1"});
    EXPECT_EQ(transfer.responseCode(), 200);
    EXPECT_EQ(rec.body(), data);
    EXPECT_FALSE(transfer.stillExecuting());
}

TEST(HttpTransfer, HttpErrorIsStateElevenWithReasonAndCode)
{
    TestHttpServer server;
    HttpTransfer transfer;
    Recorder rec(transfer);
    transfer.execute("http://" + server.hostAndPort() + "/missing.txt");
    ASSERT_TRUE(rec.waitForEnd());
    EXPECT_EQ(rec.states.last(), HttpTransfer::icError);
    EXPECT_FALSE(rec.states.contains(12));
    EXPECT_EQ(transfer.responseInfo(), "Not Found");
    EXPECT_EQ(transfer.responseCode(), 404);
}

TEST(HttpTransfer, FollowsRedirectsAndReportsTheNewConnection)
{
    TestHttpServer server;
    server.serve("/new/keps.txt", QByteArray("the moved file\r\n"));
    server.redirect("/old/keps.txt", 301, "http://" + server.hostAndPort().toLatin1() + "/hop");
    server.redirect("/hop", 302, "/new/keps.txt");
    HttpTransfer transfer;
    Recorder rec(transfer);
    transfer.execute(server.hostAndPort() + "/old/keps.txt");
    ASSERT_TRUE(rec.waitForEnd());
    ASSERT_EQ(rec.states.last(), HttpTransfer::icResponseCompleted);
    EXPECT_EQ(rec.body(), QByteArray("the moved file\r\n")) << "nothing of the redirect pages";
    EXPECT_EQ(rec.states.count(HttpTransfer::icResolvingHost), 3);
    EXPECT_EQ(server.requests, QList<QByteArray>({"/old/keps.txt", "/hop", "/new/keps.txt"}));
    EXPECT_EQ(transfer.url().path(), "/new/keps.txt");
}

TEST(HttpTransfer, EndlessRedirectsEndInAnError)
{
    TestHttpServer server;
    server.redirect("/loop", 302, "/loop");
    HttpTransfer transfer;
    Recorder rec(transfer);
    transfer.execute(server.hostAndPort() + "/loop");
    ASSERT_TRUE(rec.waitForEnd());
    EXPECT_EQ(rec.states.last(), HttpTransfer::icError);
    EXPECT_LE(server.requests.size(), 12);
    EXPECT_EQ(transfer.responseInfo(), "Too many redirects") << "not the last redirect's status";
}

TEST(HttpTransfer, RefusedConnectionIsAnError)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    HttpTransfer transfer;
    Recorder rec(transfer);
    transfer.execute(QStringLiteral("127.0.0.1:%1/keps.txt").arg(closedPort));
    ASSERT_TRUE(rec.waitForEnd());
    EXPECT_EQ(rec.states.last(), HttpTransfer::icError);
    EXPECT_FALSE(transfer.responseInfo().isEmpty());
    EXPECT_NE(transfer.responseCode(), 0);
}

TEST(HttpTransfer, SilentServerTimesOut)
{
    TestHttpServer server;
    TestHttpServer::Answer silent;
    silent.neverAnswer = true;
    server.serve("/silent", silent);
    HttpTransfer transfer;
    transfer.setTransferTimeout(300);
    Recorder rec(transfer);
    transfer.execute(server.hostAndPort() + "/silent");
    ASSERT_TRUE(rec.waitForEnd());
    EXPECT_EQ(rec.states.last(), HttpTransfer::icError);
    EXPECT_EQ(transfer.responseInfo(), "Request timed out");
}

TEST(HttpTransfer, SlowServerIsWaitedForWhileDataKeepsComing)
{
    TestHttpServer server;
    TestHttpServer::Answer slow;
    slow.body = everyByte(3000);
    slow.trickleBytes = 150;
    slow.trickleEveryMs = 40;
    server.serve("/slow", slow);
    HttpTransfer transfer;
    transfer.setTransferTimeout(5000);
    Recorder rec(transfer);
    transfer.execute(server.hostAndPort() + "/slow");
    ASSERT_TRUE(rec.waitForEnd());
    ASSERT_EQ(rec.states.last(), HttpTransfer::icResponseCompleted);
    EXPECT_GT(rec.states.count(HttpTransfer::icResponseReceived), 1);
    EXPECT_EQ(rec.body(), slow.body);
}

TEST(HttpTransfer, ServerThatTricklesForeverIsStoppedByTheTotalLimit)
{
    TestHttpServer server;
    TestHttpServer::Answer trickle;
    trickle.body = everyByte(3000);
    trickle.trickleBytes = 10;
    trickle.trickleEveryMs = 100; // 30 s for the whole body, never silent for long
    server.serve("/trickle", trickle);
    HttpTransfer transfer;
    transfer.setTransferTimeout(5000);
    transfer.setTotalTimeout(500);
    Recorder rec(transfer);
    transfer.execute(server.hostAndPort() + "/trickle");
    ASSERT_TRUE(rec.waitForEnd());
    EXPECT_EQ(rec.states.last(), HttpTransfer::icError);
    EXPECT_EQ(transfer.responseInfo(), "Request took longer than 0.5 seconds");
    EXPECT_GT(rec.states.count(HttpTransfer::icResponseReceived), 1) << "data was coming";
}

TEST(HttpTransfer, ConnectionLostBeforeTheWholeBodyIsAnError)
{
    TestHttpServer server;
    TestHttpServer::Answer cut;
    cut.body = everyByte(5000);
    cut.cutAfter = 2000;
    server.serve("/cut", cut);
    HttpTransfer transfer;
    Recorder rec(transfer);
    transfer.execute(server.hostAndPort() + "/cut");
    ASSERT_TRUE(rec.waitForEnd());
    EXPECT_EQ(rec.states.last(), HttpTransfer::icError);
    EXPECT_FALSE(rec.states.contains(HttpTransfer::icResponseCompleted));
}

TEST(HttpTransfer, CancelStopsEveryReport)
{
    TestHttpServer server;
    TestHttpServer::Answer slow;
    slow.body = everyByte(2000);
    slow.trickleBytes = 100;
    slow.trickleEveryMs = 20;
    server.serve("/slow", slow);
    HttpTransfer transfer;
    Recorder rec(transfer);
    QObject::connect(&transfer, &HttpTransfer::StateChanged, [&transfer](int state) {
        if (state == HttpTransfer::icResponseReceived)
            transfer.cancel();
    });
    transfer.execute(server.hostAndPort() + "/slow");
    ASSERT_TRUE(waitFor([&rec] { return rec.states.contains(HttpTransfer::icResponseReceived); }));
    const qsizetype seen = rec.states.size();
    // The server goes on sending; none of it is reported.
    TestHttpServer other;
    other.serve("/x", QByteArray("x"));
    HttpTransfer second;
    Recorder secondRec(second);
    second.execute(other.hostAndPort() + "/x");
    ASSERT_TRUE(secondRec.waitForEnd());
    EXPECT_EQ(rec.states.size(), seen);
    EXPECT_FALSE(transfer.stillExecuting());
}

TEST(HttpTransfer, BodyPastTheLimitIsAnError)
{
    TestHttpServer server;
    server.serve("/big", everyByte(50000));
    HttpTransfer transfer;
    transfer.setMaximumBodySize(10000);
    Recorder rec(transfer);
    transfer.execute(server.hostAndPort() + "/big");
    ASSERT_TRUE(rec.waitForEnd());
    EXPECT_EQ(rec.states.last(), HttpTransfer::icError);
    EXPECT_EQ(transfer.responseInfo(), "Response too large");
}

TEST(HttpTransfer, AddressThatIsNoHttpUrlIsAnError)
{
    for (const QString &address : {QString("http://"), QString(""), QString("http:///path")}) {
        HttpTransfer transfer;
        Recorder rec(transfer);
        transfer.execute(address);
        EXPECT_TRUE(rec.states.isEmpty()) << "reported from the event loop";
        ASSERT_TRUE(rec.waitForEnd()) << address.toStdString();
        EXPECT_EQ(rec.states, QList<int>{HttpTransfer::icError});
    }
}
