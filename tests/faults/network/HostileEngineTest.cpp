// SPDX-License-Identifier: GPL-2.0-or-later
// Engines that misbehave: killed in the middle of a frame, refusing to be
// reached, sending one byte a second, or sending garbage. Whatever they do,
// the station reports it in the monitor, keeps what it had already decoded,
// goes on running and links up again when a sane engine is back.
#include "MessageBoxRecorder.h"
#include "platform/FlexGrid.h"
#include "support/AgwFrame.h"
#include "support/FakeAgwServer.h"
#include "support/StationUnderTest.h"
#include "telemetry/TelemetryPanel.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTcpServer>
#include <gtest/gtest.h>

using orvex::test::AgwFrame;
using orvex::test::FakeAgwServer;
using orvex::test::StationUnderTest;
using orvex::test::waitUntil;

namespace {

const QByteArray telemetryFrame =
    AgwFrame::monitored("Q9ZZZ-3", "ORVEX-1", "HK,100,50,25,10,0,0,0000,0");
const QByteArray otherFrame = AgwFrame::monitored("K1ABC", {}, "hello");

const QString retrySentence = QStringLiteral("Will automatically retry in 30 seconds time.");

class HostileEngine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(engine.listenBelow());
        engine.answerLinkUp = true;
        station = std::make_unique<StationUnderTest>(engine.port());
        ASSERT_TRUE(station->load());
        ASSERT_TRUE(engine.waitForClient());
        ASSERT_TRUE(station->waitForLink());
        // The retry keeps its 30 s in the program; the tests need not wait that long.
        station->timer("timRetry")->setInterval(100);
        boxes.seen.clear(); // no location and no elements: said at start-up
    }

    QString gridValue() const
    {
        return station->window->telemetryPanel()->grid(1)->TextMatrix(1, 1);
    }
    qsizetype timesShown(const QString &text) const { return station->monitorText().count(text); }

    // After a failure: the link is marked down and a retry brings it back,
    // and a whole frame is then shown from its first byte.
    void expectRetryAndRecovery()
    {
        ASSERT_TRUE(station->waitForMonitor(retrySentence));
        EXPECT_FALSE(station->window->blnConectedToAgw());
        ASSERT_TRUE(engine.waitForClient());
        ASSERT_TRUE(station->waitForLink());
        engine.send(otherFrame);
        EXPECT_TRUE(
            station->waitForMonitor(QStringLiteral("R K1ABC>APRS Port=1 <UI Len=5>:\nhello\n")));
    }

    MessageBoxRecorder boxes;
    FakeAgwServer engine;
    std::unique_ptr<StationUnderTest> station;
};

} // namespace

TEST_F(HostileEngine, EngineKilledMidFrameLosesOnlyTheCutFrame)
{
    // Once closing in order, once reset as a crashed engine's system does.
    for (const bool reset : {false, true}) {
        SCOPED_TRACE(reset ? "reset" : "closed");
        engine.send(telemetryFrame);
        ASSERT_TRUE(waitUntil([&] { return gridValue() == "196"; }));
        engine.send(otherFrame.left(AgwFrame::header('U', 0).size() + 20));
        reset ? engine.resetClient() : engine.closeClient();

        ASSERT_TRUE(station->waitForMonitor(retrySentence));
        EXPECT_FALSE(station->monitorText().contains("K1ABC")) << "a cut frame was shown";
        EXPECT_EQ(gridValue(), "196") << "what was decoded stays";
        expectRetryAndRecovery();
        station->window->txtMon()->clear();
    }
    EXPECT_TRUE(boxes.seen.isEmpty()) << "a lost engine is reported in the monitor, not in a box: "
                                      << boxes.texts().join(" | ").toStdString();
}

TEST_F(HostileEngine, RefusedConnectionsAreRetriedUntilTheEngineIsBack)
{
    QAction *logAll =
        station->window->terminal()->findChild<QAction *>(QStringLiteral("mnuLogAllData"));
    ASSERT_NE(logAll, nullptr);
    logAll->trigger();
    const quint16 port = engine.port();
    engine.stopListening();
    engine.closeClient();
    ASSERT_TRUE(engine.waitForClientGone());

    // Every retry is refused, told in full and retried again, without end.
    const QString refused = QStringLiteral("*** AGW-Error with connection to 127.0.0.1 - ");
    ASSERT_TRUE(waitUntil([&] { return timesShown(refused) >= 3; }, 30000))
        << station->monitorText().toStdString();
    EXPECT_FALSE(station->window->blnConectedToAgw());
    EXPECT_FALSE(station->window->txtMon()->isEnabled());

    // Then the engine starts on its port and the next retry finds it.
    ASSERT_TRUE(engine.listenOn(port));
    ASSERT_TRUE(engine.waitForClient(30000));
    ASSERT_TRUE(station->waitForLink());
    EXPECT_FALSE(station->timer("timRetry")->isActive());
    EXPECT_TRUE(station->window->txtMon()->isEnabled());
    EXPECT_EQ(timesShown(retrySentence), 1 + timesShown(refused));
    engine.send(telemetryFrame);
    EXPECT_TRUE(waitUntil([&] { return gridValue() == "196"; }));
    EXPECT_TRUE(boxes.seen.isEmpty());

    // The terminal's log holds the same lines: each failure line whole, with
    // nothing in front, and the retry sentence after it.
    QString log;
    const QDir logs(station->folder.path() + QStringLiteral("/LOGS"));
    for (const QString &name : logs.entryList({QStringLiteral("*.TXT")}, QDir::Files, QDir::Name)) {
        QFile file(logs.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        log += QString::fromLatin1(file.readAll());
    }
    const QStringList lines = log.split(QStringLiteral("\r\n"));
    qsizetype failures = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i] != QLatin1String("*** AGW-Disconnected from - 127.0.0.1") &&
            !lines[i].startsWith(refused))
            continue;
        ++failures;
        EXPECT_EQ(lines.value(i + 1), retrySentence) << "after " << lines[i].toStdString();
    }
    EXPECT_EQ(failures, 1 + log.count(QStringLiteral("AGW-Error with connection")))
        << log.toStdString();
    EXPECT_GE(failures, 4) << log.toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("*** AGW-Connected to - 127.0.0.1")))
        << log.toStdString();
}

TEST_F(HostileEngine, OneByteASecondIsWaitedForWhileTheClocksRun)
{
    // A version answer is the shortest frame that shows: 36 + 8 bytes.
    QByteArray version(8, '\0');
    version[0] = char(0xD7); // 2007
    version[1] = char(0x07);
    version[4] = 33;
    const QByteArray frame = AgwFrame::make('R', 0, {}, {}, version);

    QTimer *statusTimer = station->timer("Timer1");
    ASSERT_NE(statusTimer, nullptr);
    int ticks = 0;
    QObject::connect(statusTimer, &QTimer::timeout, [&] { ++ticks; });

    qsizetype next = 0;
    QTimer drip;
    drip.setInterval(1000);
    QObject::connect(&drip, &QTimer::timeout, [&] {
        if (next < frame.size())
            engine.send(frame.mid(next++, 1));
    });
    drip.start();
    QElapsedTimer took;
    took.start();
    ASSERT_TRUE(station->waitForMonitor(QStringLiteral("*** AGWPE V2007.33"), 90000));
    EXPECT_GE(took.elapsed(), (frame.size() - 2) * 1000)
        << "the frame was shown before it was whole";
    EXPECT_GE(ticks, took.elapsed() / 1000 / 2) << "the status clock stopped while waiting";
    EXPECT_TRUE(station->window->blnConectedToAgw());
    EXPECT_EQ(timesShown(retrySentence), 0);
}

TEST_F(HostileEngine, ImpossibleLengthsCloseTheLinkWithAnErrorAndItComesBack)
{
    const QList<QByteArray> hostile = {
        QByteArray(36, char(0xFF)),                // data length -1
        AgwFrame::header('U', 0x7FFFFFFF) + "xyz", // about 2 GB announced
        AgwFrame::header('U', 8193) + QByteArray(8193, 'A'),
    };
    for (const QByteArray &bytes : hostile) {
        SCOPED_TRACE(bytes.left(36).toHex().toStdString());
        station->window->txtMon()->clear();
        engine.send(telemetryFrame + bytes);
        ASSERT_TRUE(station->waitForMonitor(QStringLiteral("data bytes, outside 0 to 8192")));
        EXPECT_TRUE(station->monitorText().contains("HK,100,50,25,10,0,0,0000,0"))
            << "frames before the garbage are shown";
        EXPECT_TRUE(engine.waitForClientGone()) << "the link was closed";
        expectRetryAndRecovery();
    }
    EXPECT_TRUE(boxes.seen.isEmpty());
}

TEST_F(HostileEngine, RandomGarbageNeverStopsTheStation)
{
    QRandomGenerator random(20261208);
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        QByteArray garbage(4096, '\0');
        for (char &c : garbage)
            c = static_cast<char>(random.bounded(256));
        station->window->txtMon()->clear();
        engine.send(garbage);
        // Garbage either breaks the stream at once or is taken as frames
        // the station ignores; an engine that then hangs up is retried.
        engine.closeClient();
        expectRetryAndRecovery();
    }
}

TEST_F(HostileEngine, FramesOfUnknownKindsAreSkippedAndTheLinkStays)
{
    QByteArray noise;
    for (const char kind : {'\0', '?', 'Z', char(0xFF)})
        noise += AgwFrame::make(kind, 7, "NOISE", "NOISE", QByteArray(300, char(0xA5)));
    engine.send(noise + AgwFrame::make('U', 0, {}, {}, {}) + otherFrame);
    ASSERT_TRUE(station->waitForMonitor(QStringLiteral("hello")));
    EXPECT_TRUE(station->window->blnConectedToAgw());
    EXPECT_EQ(timesShown(retrySentence), 0);
}
