// SPDX-License-Identifier: GPL-2.0-or-later
// A flood of monitored frames, ten thousand a second for ten seconds, from
// an engine on its own thread. The station must take every frame, keep its
// clock ticking, keep its memory and its monitors within bounds, and log
// every frame it showed.
#include "MessageBoxRecorder.h"
#include "core/MonitorText.h"
#include "pklink/PKLINK.h"
#include "platform/FlexGrid.h"
#include "support/AgwFrame.h"
#include "support/FakeAgwServer.h"
#include "support/FloodEngine.h"
#include "support/HeapInUse.h"
#include "support/StationUnderTest.h"
#include "telemetry/TelemetryPanel.h"

#include <QDir>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <algorithm>

using orvex::test::AgwFrame;
using orvex::test::FakeAgwServer;
using orvex::test::FloodEngine;
using orvex::test::StationUnderTest;
using orvex::test::waitUntil;

namespace {

constexpr int framesPerSecond = 10000;
constexpr int floodSeconds = 10;
constexpr int floodFrames = framesPerSecond * floodSeconds;

QByteArray allLogs(const QString &folder)
{
    QByteArray text;
    const QDir logs(folder);
    for (const QString &name : logs.entryList({"*.TXT"}, QDir::Files, QDir::Name)) {
        QFile file(logs.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            text += file.readAll();
    }
    return text;
}

} // namespace

TEST(MonitorFlood, TenThousandFramesASecondForTenSeconds)
{
    MessageBoxRecorder boxes;
    FloodEngine engine;
    ASSERT_TRUE(engine.listenBelow());
    StationUnderTest station(engine.port(), "[TERMINAL]\r\nLOGGING=True\r\n");
    ASSERT_TRUE(station.load());
    ASSERT_TRUE(station.window->terminal()->blnLogging());
    boxes.seen.clear(); // no location and no elements: said at start-up

    int heard = 0;
    QObject::connect(station.window->pklink(), &PKLINK::MonUFrame, [&] { ++heard; });

    // Sampled on every tick of the program's own one-second clock.
    QElapsedTimer clock;
    qint64 lastTick = -1, longestGap = 0;
    int ticks = 0;
    std::size_t heapBase = 0, heapPeak = 0;
    qsizetype monitorPeak = 0, terminalPeak = 0;
    QObject::connect(station.timer("Timer1"), &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        if (lastTick >= 0)
            longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
        ++ticks;
        // The monitors are full and the log open after the first tenth.
        if (heard >= floodFrames / 10) {
            const std::size_t heap = orvex::test::heapInUse();
            heapBase = heapBase ? heapBase : heap;
            heapPeak = std::max(heapPeak, heap);
        }
        monitorPeak = std::max(monitorPeak, station.monitorText().size());
        terminalPeak = std::max<qsizetype>(terminalPeak, station.terminalMonitor()->length());
    });

    const QByteArray telemetry =
        AgwFrame::monitored("Q9ZZZ-3", "ORVEX-1", "HK,100,50,25,10,0,0,0000,0");
    const QByteArray other = AgwFrame::monitored("K1ABC", {}, "hello from the flood");
    const QByteArray last = AgwFrame::monitored("K1ABC", {}, "the last frame of the flood");
    clock.start();
    engine.start({telemetry, other}, floodFrames, framesPerSecond, last);
    ASSERT_TRUE(waitUntil([&] { return heard == floodFrames + 1; }, 240000))
        << heard << " of " << floodFrames + 1 << " frames heard";
    const double seconds = clock.elapsed() / 1000.0;
    std::printf("flood: %d frames offered in %.1f s, taken in %.1f s; longest tick gap %lld ms; "
                "heap %zu -> peak %zu bytes; monitor peak %lld, terminal peak %lld characters\n",
                floodFrames, engine.secondsSending(), seconds, static_cast<long long>(longestGap),
                heapBase, heapPeak, static_cast<long long>(monitorPeak),
                static_cast<long long>(terminalPeak));

    // Responsive: the clock ticked all along, never stalled for long.
    EXPECT_GE(ticks, static_cast<int>(seconds / 2));
    EXPECT_LT(longestGap, 3000);
    // Bounded: no growth with the number of frames.
    EXPECT_LT(heapPeak - heapBase, std::size_t{16} << 20);
    // The monitors keep to their limit (plus the one text being added).
    EXPECT_LE(monitorPeak, monitor::monitorLimit + 200);
    EXPECT_LE(terminalPeak, monitor::monitorLimit + 200);
    // The monitor takes what came in at the end of the turn.
    EXPECT_TRUE(station.waitForMonitor("the last frame of the flood"));
    EXPECT_EQ(station.window->telemetryPanel()->grid(1)->TextMatrix(1, 1), "196");

    // Nothing lost: the log holds every frame shown, once.
    const QByteArray log = allLogs(station.folder.file("LOGS"));
    EXPECT_EQ(log.count("HK,100,50,25,10,0,0,0000,0\r\n"), floodFrames / 2);
    EXPECT_EQ(log.count("hello from the flood\r\n"), floodFrames / 2);
    EXPECT_EQ(log.count("the last frame of the flood\r\n"), 1);
    EXPECT_TRUE(station.window->blnConectedToAgw());

    // The flooding engine goes away; the station retries until one is back.
    station.timer("timRetry")->setInterval(100);
    const quint16 port = engine.port();
    engine.stop();
    ASSERT_TRUE(station.waitForMonitor("Will automatically retry in 30 seconds time."));
    FakeAgwServer next;
    ASSERT_TRUE(next.listenOn(port));
    ASSERT_TRUE(next.waitForClient(30000));
    EXPECT_TRUE(station.waitForLink());
    EXPECT_TRUE(boxes.seen.isEmpty());
}
