// SPDX-License-Identifier: GPL-2.0-or-later
// The station killed in the middle of a flood of distinct telemetry lines,
// a thousand a second: each round, the frames the store lacks afterwards are
// no more than those of the last quarter second before the kill.
#include "support/AgwFrame.h"
#include "support/FloodEngine.h"
#include "support/StoreRows.h"
#include "support/Wait.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using orvex::test::AgwFrame;
using orvex::test::FloodEngine;

namespace {

constexpr int framesPerSecond = 1000;
constexpr int floodFrames = framesPerSecond * 30;
constexpr int rounds = 4;
constexpr double lossBoundMs = 250;

// The highest frame number stored ("HK,a,b,..." is frame b * 250 + a), -1
// when none is.
int lastStoredFrame(const QString &path)
{
    int last = -1;
    const QStringList lines =
        orvex::test::storeRows(path, "SELECT line FROM frame", /*writable=*/true);
    for (const QString &line : lines) {
        const QStringList fields = line.split(',');
        if (fields.size() > 2)
            last = std::max(last, fields[2].toInt() * 250 + fields[1].toInt());
    }
    return last;
}

} // namespace

TEST(StoreKill, AKillDuringAFloodLosesAtMostAQuarterSecondOfFrames)
{
    QList<QByteArray> frames;
    for (int n = 0; n < floodFrames; ++n)
        frames << AgwFrame::monitored(
            "Q9ZZZ-3", "ORVEX-1",
            QStringLiteral("HK,%1,%2,25,10,0,0,0000,0").arg(n % 250).arg(n / 250).toLatin1());
    QRandomGenerator random(24006);
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir folder;
        FloodEngine engine;
        ASSERT_TRUE(engine.listenBelow());
        QFile ini(folder.filePath(QStringLiteral("station_runner.INI")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[AGWPE]\r\nHOST_ADDRESS=127.0.0.1\r\nHOST_PORT=" +
                  QByteArray::number(engine.port()) + "\r\n");
        ini.close();
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/data/formula.txt"),
                                folder.filePath(QStringLiteral("formula.txt"))));

        QProcess station;
        station.start(QStringLiteral(STATION_RUNNER_PATH), {folder.path() + QDir::separator()});
        ASSERT_TRUE(station.waitForReadyRead(60000)) << station.readAllStandardError().constData();
        engine.start(frames, floodFrames, framesPerSecond);
        ASSERT_TRUE(orvex::test::waitUntil([&] { return engine.clientConnected(); }, 60000));
        // Killed somewhere between the third and the eighth second.
        const int killAt = random.bounded(3 * framesPerSecond, 8 * framesPerSecond);
        while (engine.framesSent() < killAt && !engine.finished())
            QThread::msleep(1);
        station.kill();
        const int sent = engine.framesSent();
        ASSERT_TRUE(station.waitForFinished(30000));
        engine.stop();

        const int last = lastStoredFrame(folder.filePath(QStringLiteral("telemetry.db")));
        const double lostMs = 1000.0 * (sent - 1 - last) / framesPerSecond;
        std::printf("round %d: killed after frame %d, frame %d stored last: %.0f ms lost\n",
                    round + 1, sent - 1, last, lostMs);
        EXPECT_LE(lostMs, lossBoundMs) << "round " << round + 1;
    }
}
