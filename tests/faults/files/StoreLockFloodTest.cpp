// SPDX-License-Identifier: GPL-2.0-or-later
// Another program holds the station database to itself for two seconds in
// the middle of a flood of distinct telemetry lines: the station keeps the
// frames in memory meanwhile, says so in its status bar, and stores every
// one of them once the file is free again. The same holds for a disk that
// is full for a while.
#include "MessageBoxRecorder.h"
#include "pklink/PKLINK.h"
#include "support/AgwFrame.h"
#include "support/FloodEngine.h"
#include "support/FullDisk.h"
#include "support/StationUnderTest.h"
#include "support/StoreRows.h"

#include <QLabel>
#include <QProcess>
#include <gtest/gtest.h>

using orvex::test::AgwFrame;
using orvex::test::FloodEngine;
using orvex::test::FullDisk;
using orvex::test::StationUnderTest;
using orvex::test::storeNumber;
using orvex::test::waitUntil;

namespace {

constexpr int framesPerSecond = 4000;
constexpr int floodFrames = framesPerSecond * 6;

// Takes the file's write lock, says "locked", keeps it `seconds`, lets go.
const char *lockScript = "import sqlite3, sys, time\n"
                         "c = sqlite3.connect(sys.argv[1], isolation_level=None, timeout=60)\n"
                         "c.execute('BEGIN EXCLUSIVE')\n"
                         "c.execute('CREATE TABLE IF NOT EXISTS other_notes(x)')\n"
                         "print('locked', flush=True)\n"
                         "time.sleep(float(sys.argv[2]))\n"
                         "c.execute('COMMIT')\n";

QList<QByteArray> distinctFrames()
{
    QList<QByteArray> frames;
    for (int n = 0; n < floodFrames; ++n)
        frames << AgwFrame::monitored(
            "Q9ZZZ-3", "ORVEX-1",
            QStringLiteral("HK,%1,%2,25,10,0,0,0000,0").arg(n % 250).arg(n / 250).toLatin1());
    return frames;
}

} // namespace

TEST(StoreLockFlood, AnotherProgramsTwoSecondLockLosesNoFrame)
{
    MessageBoxRecorder boxes;
    FloodEngine engine;
    ASSERT_TRUE(engine.listenBelow());
    StationUnderTest station(engine.port());
    ASSERT_TRUE(station.load());
    auto *status = station.window->findChild<QLabel *>(QStringLiteral("storeStatus"));
    ASSERT_NE(status, nullptr);
    int heard = 0;
    QObject::connect(station.window->pklink(), &PKLINK::MonUFrame, [&] { ++heard; });

    engine.start(distinctFrames(), floodFrames, framesPerSecond);
    ASSERT_TRUE(waitUntil([&] { return heard >= floodFrames / 4; }, 120000));

    const QString path = station.folder.file("telemetry.db");
    QProcess locker;
    locker.start("python3", {"-c", lockScript, path, "2"});
    ASSERT_TRUE(locker.waitForReadyRead(30000)) << locker.readAllStandardError().constData();
    ASSERT_EQ(locker.readLine().trimmed(), "locked");
    ASSERT_TRUE(waitUntil([&] { return status->text().contains("refuses writes"); }, 30000))
        << status->text().toStdString();
    ASSERT_TRUE(waitUntil([&] { return locker.state() == QProcess::NotRunning; }, 60000));
    EXPECT_EQ(locker.exitCode(), 0) << locker.readAllStandardError().constData();

    ASSERT_TRUE(waitUntil([&] { return heard == floodFrames; }, 240000)) << heard;
    ASSERT_TRUE(waitUntil(
        [&] { return storeNumber(path, "SELECT count(*) FROM frame") == floodFrames; }, 60000))
        << storeNumber(path, "SELECT count(*) FROM frame") << " of " << floodFrames << " stored";
    EXPECT_TRUE(status->text().contains("written again")) << status->text().toStdString();
    EXPECT_TRUE(status->text().endsWith("nothing lost")) << status->text().toStdString();
}

TEST(StoreFullDisk, WhatWaitedInMemoryIsStoredWhenTheDiskHasSpaceAgain)
{
    MessageBoxRecorder boxes;
    FloodEngine engine;
    ASSERT_TRUE(engine.listenBelow());
    StationUnderTest station(engine.port());
    ASSERT_TRUE(station.load());
    auto *status = station.window->findChild<QLabel *>(QStringLiteral("storeStatus"));
    ASSERT_NE(status, nullptr);
    int heard = 0;
    QObject::connect(station.window->pklink(), &PKLINK::MonUFrame, [&] { ++heard; });
    engine.start(distinctFrames(), floodFrames, framesPerSecond);
    ASSERT_TRUE(waitUntil([&] { return heard >= floodFrames / 4; }, 120000));

    // No file may grow: every write of the store fails as on a full disk.
    const QString path = station.folder.file("telemetry.db");
    FullDisk full;
    if (!full.active())
        GTEST_SKIP() << "the file size limit cannot be set here";
    ASSERT_TRUE(waitUntil([&] { return status->text().contains("refuses writes"); }, 30000))
        << status->text().toStdString();
    const int heardWhileFull = heard;
    ASSERT_TRUE(waitUntil([&] { return heard >= heardWhileFull + framesPerSecond; }, 60000));
    full.lift();

    ASSERT_TRUE(waitUntil([&] { return heard == floodFrames; }, 240000)) << heard;
    ASSERT_TRUE(waitUntil(
        [&] { return storeNumber(path, "SELECT count(*) FROM frame") == floodFrames; }, 60000))
        << storeNumber(path, "SELECT count(*) FROM frame") << " of " << floodFrames << " stored";
    EXPECT_TRUE(status->text().contains("written again")) << status->text().toStdString();
    EXPECT_TRUE(status->text().endsWith("nothing lost")) << status->text().toStdString();
}
