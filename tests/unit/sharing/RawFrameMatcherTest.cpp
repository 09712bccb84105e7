// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/RawFrameMatcher.h"
#include "Ax25TestFrames.h"

#include <gtest/gtest.h>

using namespace sharing;
using orvex::test::ax25UiFrame;
using orvex::test::monitorText;

namespace {

const QDateTime t0(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC);

QDateTime at(int ms)
{
    return t0.addMSecs(ms);
}

} // namespace

TEST(Ax25UiFrameParse, SourceWithSsidAndInfoAfterControlAndPid)
{
    const auto plain = parseUiFrame(ax25UiFrame("ORVEX-11", "TLM", "T#417,1,2"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->source, "ORVEX-11");
    EXPECT_EQ(plain->info, "T#417,1,2");

    // Digipeaters lie between the source and the control byte.
    const auto viaTwo = parseUiFrame(ax25UiFrame("ORVEXB", "TLM", "x", {"WIDE1-1", "RELAY"}));
    ASSERT_TRUE(viaTwo);
    EXPECT_EQ(viaTwo->source, "ORVEXB");
    EXPECT_EQ(viaTwo->info, "x");
}

TEST(Ax25UiFrameParse, RefusesWhatIsNoWholeUiFrame)
{
    const QByteArray ui = ax25UiFrame("ORVEX-11", "TLM", "T#1");
    QByteArray iFrame = ui;
    iFrame[14] = 0x10;                               // an I frame's control byte
    QByteArray endless = QByteArray(14 * 7, '\x82'); // no address ever marked as the last
    endless += QByteArray("\x03\xF0x", 3);
    const QByteArray cases[] = {QByteArray(), ui.left(13),
                                ui.left(15),  iFrame,
                                endless,      orvex::test::ax25Address("TLM", true) + "\x03\xF0x"};
    for (const QByteArray &bad : cases)
        EXPECT_FALSE(parseUiFrame(bad)) << bad.toHex().constData();
    // The P/F bit does not make a UI frame something else.
    QByteArray polled = ui;
    polled[14] = 0x13;
    EXPECT_TRUE(parseUiFrame(polled));
}

TEST(RawFrameMatcher, PairsInEitherOrderBySourceAndInfo)
{
    RawFrameMatcher matcher(5000);
    const QByteArray raw = ax25UiFrame("ORVEX-11", "TLM", "T#417,101\r");

    // The engine sends the raw frame first.
    EXPECT_FALSE(matcher.addRaw(raw, at(0)));
    const auto match =
        matcher.addMonitored("ORVEX-11", monitorText("ORVEX-11", "TLM", "T#417,101"), at(20));
    ASSERT_TRUE(match);
    EXPECT_EQ(match->rawFrame, raw);
    EXPECT_EQ(match->source, "ORVEX-11");
    EXPECT_EQ(match->heardUtc, at(0));

    // And the other way round.
    EXPECT_FALSE(
        matcher.addMonitored("ORVEX-11", monitorText("ORVEX-11", "TLM", "T#418"), at(100)));
    const auto second = matcher.addRaw(ax25UiFrame("ORVEX-11", "TLM", "T#418"), at(150));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->heardUtc, at(100));
    EXPECT_EQ(matcher.waitingRaw() + matcher.waitingMonitored(), 0u);
}

TEST(RawFrameMatcher, OtherSourceOrOtherInfoDoesNotPair)
{
    RawFrameMatcher matcher(5000);
    matcher.addRaw(ax25UiFrame("ORVEX-12", "TLM", "T#1"), at(0));
    matcher.addRaw(ax25UiFrame("ORVEX-11", "TLM", "T#2"), at(0));
    EXPECT_FALSE(matcher.addMonitored("ORVEX-11", monitorText("ORVEX-11", "TLM", "T#1"), at(10)));
    // The same text heard twice pairs with its raw frames in order of arrival.
    const QByteArray first = ax25UiFrame("ORVEX-11", "APRS", "T#3");
    const QByteArray again = ax25UiFrame("ORVEX-11", "TLM", "T#3");
    matcher.addRaw(first, at(20));
    matcher.addRaw(again, at(30));
    EXPECT_EQ(
        matcher.addMonitored("ORVEX-11", monitorText("ORVEX-11", "APRS", "T#3"), at(40))->rawFrame,
        first);
    EXPECT_EQ(
        matcher.addMonitored("ORVEX-11", monitorText("ORVEX-11", "TLM", "T#3"), at(50))->rawFrame,
        again);
}

TEST(RawFrameMatcher, UnpairedFramesAreDroppedAfterTheWindowAndCounted)
{
    RawFrameMatcher matcher(5000, 4);
    matcher.addRaw(ax25UiFrame("W1AW", "APRS", "traffic"), at(0));
    matcher.addMonitored("ORVEX-11", monitorText("ORVEX-11", "TLM", "T#9"), at(0));
    matcher.expire(at(5000));
    EXPECT_EQ(matcher.waitingRaw(), 1u);
    EXPECT_EQ(matcher.unmatchedMonitored(), 0);
    matcher.expire(at(5001));
    EXPECT_EQ(matcher.waitingRaw(), 0u);
    EXPECT_EQ(matcher.waitingMonitored(), 0u);
    EXPECT_EQ(matcher.unmatchedMonitored(), 1);
    // A late raw twin no longer pairs.
    EXPECT_FALSE(matcher.addRaw(ax25UiFrame("ORVEX-11", "TLM", "T#9"), at(5002)));

    // A flood keeps at most `capacity` waiting of each kind.
    for (int i = 0; i < 100; ++i) {
        matcher.addRaw(ax25UiFrame("W1AW", "APRS", QByteArray::number(i)), at(6000));
        matcher.addMonitored("ORVEX-11", QByteArray::number(i), at(6000));
    }
    EXPECT_EQ(matcher.waitingRaw(), 4u);
    EXPECT_EQ(matcher.waitingMonitored(), 4u);
    EXPECT_EQ(matcher.unmatchedMonitored(), 1 + 96);
}
