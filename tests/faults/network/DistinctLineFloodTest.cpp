// SPDX-License-Identifier: GPL-2.0-or-later
// A flood of distinct telemetry lines, twenty thousand a second for five
// seconds, with the history on: each line is a frame of its own, and every
// one of them is stored once, with its four values.
#include "MessageBoxRecorder.h"
#include "pklink/PKLINK.h"
#include "support/AgwFrame.h"
#include "support/FloodEngine.h"
#include "support/StationUnderTest.h"
#include "support/StoreRows.h"

#include <gtest/gtest.h>

using orvex::test::AgwFrame;
using orvex::test::FloodEngine;
using orvex::test::StationUnderTest;
using orvex::test::storeNumber;
using orvex::test::waitUntil;

namespace {

constexpr int framesPerSecond = 20000;
constexpr int floodFrames = framesPerSecond * 5;

} // namespace

TEST(DistinctLineFlood, EveryLineOfTwentyThousandASecondIsStoredOnce)
{
    MessageBoxRecorder boxes;
    FloodEngine engine;
    ASSERT_TRUE(engine.listenBelow());
    StationUnderTest station(engine.port());
    ASSERT_TRUE(station.load());
    int heard = 0;
    QObject::connect(station.window->pklink(), &PKLINK::MonUFrame, [&] { ++heard; });

    QList<QByteArray> frames;
    frames.reserve(floodFrames);
    for (int n = 0; n < floodFrames; ++n)
        frames << AgwFrame::monitored(
            "Q9ZZZ-3", "ORVEX-1",
            QStringLiteral("HK,%1,%2,25,10,0,0,0000,0").arg(n % 250).arg(n / 250).toLatin1());
    engine.start(frames, floodFrames, framesPerSecond);
    ASSERT_TRUE(waitUntil([&] { return heard == floodFrames; }, 280000)) << heard;

    const QString path = station.folder.file("telemetry.db");
    ASSERT_TRUE(waitUntil(
        [&] { return storeNumber(path, "SELECT count(*) FROM frame") == floodFrames; }, 120000))
        << storeNumber(path, "SELECT count(*) FROM frame") << " of " << floodFrames << " stored";
    EXPECT_EQ(storeNumber(path, "SELECT count(DISTINCT line) FROM frame"), floodFrames);
    EXPECT_EQ(storeNumber(path, "SELECT max(heard) FROM frame"), 1);
    EXPECT_EQ(storeNumber(path, "SELECT count(*) FROM channel_value"), 4 * floodFrames);
}
