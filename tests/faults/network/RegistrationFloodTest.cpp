// SPDX-License-Identifier: GPL-2.0-or-later
// An engine that answers without end that callsigns were registered and
// stations connected, each a new one: the link keeps raising every event, but
// what it remembers of them stays within bounds.
#include "pklink/PKLINK.h"
#include "support/AgwFrame.h"
#include "support/FloodEngine.h"
#include "support/HeapInUse.h"
#include "support/Wait.h"

#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

using orvex::test::AgwFrame;
using orvex::test::FloodEngine;
using orvex::test::waitUntil;

TEST(RegistrationFlood, NewCallsignsWithoutEndLeaveMemoryFlat)
{
    constexpr int distinct = 30000;
    constexpr int total = 300000;
    QList<QByteArray> frames;
    for (int i = 0; i < distinct; ++i) {
        const QByteArray number = QByteArray::number(i);
        frames << AgwFrame::make('X', 0, "R" + number, {}, QByteArray(1, '\x01'))
               << AgwFrame::make('C', 0, "C" + number, "Q9ABC", "*** CONNECTED");
    }

    FloodEngine engine;
    ASSERT_TRUE(engine.listenBelow());
    PKLINK link;
    link.setAgwIpHost(QStringLiteral("127.0.0.1"));
    link.setAgwIpPort(engine.port());
    int events = 0;
    QObject::connect(&link, &PKLINK::CallsignRegistered, [&] { ++events; });
    QObject::connect(&link, &PKLINK::Connected, [&] { ++events; });

    std::size_t heapBase = 0, heapPeak = 0;
    QTimer sample;
    sample.setInterval(50);
    QObject::connect(&sample, &QTimer::timeout, [&] {
        // Measured from the moment every callsign has been seen once.
        if (events < distinct * 2)
            return;
        const std::size_t heap = orvex::test::heapInUse();
        heapBase = heapBase ? heapBase : heap;
        heapPeak = std::max(heapPeak, heap);
    });
    sample.start();

    ASSERT_TRUE(link.ConnectToAgw());
    engine.start(frames, total, 50000);
    ASSERT_TRUE(waitUntil([&] { return events == total; }, 240000))
        << events << " of " << total << " events";
    sample.stop();
    std::printf("registration flood: %d frames; heap %zu -> peak %zu bytes\n", total, heapBase,
                heapPeak);
    ASSERT_GT(heapBase, 0u);
    EXPECT_LT(heapPeak - heapBase, std::size_t{2} << 20);
    EXPECT_FALSE(link.RegisterCallsign(QStringLiteral("R29999")))
        << "the newest registration is remembered";
    EXPECT_EQ(link.eLastErr(), AGW_ERR::CALLSIGN_ALREADY_REGISTERED);
}
