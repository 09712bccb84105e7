// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprscodec/Frame.h"

#include <gtest/gtest.h>

using namespace aprs;

namespace {

Frame frameOf(std::string_view line, InfoBytes info = InfoBytes::Raw)
{
    const FrameResult result = parseMonitorLine(line, info);
    EXPECT_TRUE(result.frame) << line << ": " << result.error;
    return result.frame.value_or(Frame());
}

std::string monitorError(std::string_view line)
{
    const FrameResult result = parseMonitorLine(line);
    EXPECT_FALSE(result.frame) << line;
    return result.error;
}

std::string rawError(std::vector<std::uint8_t> bytes)
{
    const FrameResult result = parseAx25Frame(bytes);
    EXPECT_FALSE(result.frame);
    return result.error;
}

// N0CALL-9>APRS,ORVEX-1*,WIDE2-1: in raw form, as the header of Frame.h shows it.
const std::vector<std::uint8_t> sampleAddresses = {
    0x82, 0xA0, 0xA4, 0xA6, 0x40, 0x40, 0xE0, 0x9C, 0x60, 0x86, 0x82, 0x98, 0x98, 0x72,
    0x9E, 0xA4, 0xAC, 0x8A, 0xB0, 0x40, 0xE2, 0xAE, 0x92, 0x88, 0x8A, 0x64, 0x40, 0x63};

} // namespace

TEST(MonitorLine, AddressesPathAndRepeatedDigipeaters)
{
    const Frame f = frameOf("N0CALL-9>APRS,WIDE1-1,ORVEX-1*,WIDE2-1:!4903.50N/07201.75W>");
    EXPECT_EQ(f.source.text(), "N0CALL-9");
    EXPECT_EQ(f.destination.text(), "APRS");
    ASSERT_EQ(f.path.size(), 3u);
    // "*" marks the last repeater and every one before it.
    EXPECT_TRUE(f.path[0].repeated);
    EXPECT_TRUE(f.path[1].repeated);
    EXPECT_FALSE(f.path[2].repeated);
    EXPECT_EQ(f.path[1].callsign, "ORVEX");
    EXPECT_EQ(f.path[1].ssid, 1);
    EXPECT_EQ(f.info, "!4903.50N/07201.75W>");
    EXPECT_TRUE(f.repeatedBy("ORVEX-1"));
    EXPECT_FALSE(f.repeatedBy("WIDE2-1"));
    EXPECT_FALSE(f.repeatedBy("ORVEX-2"));
    EXPECT_FALSE(frameOf("N0CALL>APRS,ORVEX-1:>direct").repeatedBy("ORVEX-1"));
}

TEST(MonitorLine, WrittenWithTheStarAfterTheLastRepeater)
{
    Frame f = frameOf("N0CALL-0>APRS,WIDE1-1,ORVEX-1*:a:b\r");
    EXPECT_EQ(monitorLine(f), "N0CALL>APRS,WIDE1-1,ORVEX-1*:a:b\r");
    f.path[0].repeated = false; // not expressible: the star still follows ORVEX-1
    EXPECT_EQ(monitorLine(f), "N0CALL>APRS,WIDE1-1,ORVEX-1*:a:b\r");
}

TEST(MonitorLine, HexEscapesBothWays)
{
    const Frame f = frameOf("N0CALL>T2TP0S:`(_f<0x1c><0x7F>Oj/x<0x41>y", InfoBytes::HexEscapes);
    EXPECT_EQ(f.info, std::string("`(_f\x1c\x7fOj/xAy"));
    Frame g;
    g.source.callsign = "N0CALL";
    g.destination.callsign = "APRS";
    g.info = std::string("a\0b\r<0x41>\xe9", 11);
    const std::string line = monitorLine(g, InfoBytes::HexEscapes);
    EXPECT_EQ(line, "N0CALL>APRS:a<0x00>b<0x0d><0x3c>0x41>\xe9");
    EXPECT_EQ(frameOf(line, InfoBytes::HexEscapes), g);
    EXPECT_EQ(frameOf("A>B:<0x41>").info, "<0x41>"); // raw: as it is
}

TEST(MonitorLine, Refused)
{
    EXPECT_EQ(monitorError("N0CALL>APRS"), "no \":\" before the information field");
    EXPECT_EQ(monitorError("N0CALL APRS:x"), "no \">\" after the source");
    EXPECT_EQ(monitorError("N0CALLXY>APRS:x"), "source: \"N0CALLXY\" is not 1-6 characters");
    EXPECT_EQ(monitorError(">APRS:x"), "source: \"\" is not 1-6 characters");
    EXPECT_EQ(monitorError("N0CALL-16>APRS:x"), "source: SSID \"16\" is not 0-15");
    EXPECT_EQ(monitorError("N0CALL->APRS:x"), "source: SSID \"\" is not 0-15");
    EXPECT_EQ(monitorError("N0CALL-99999999999>APRS:x"),
              "source: SSID \"99999999999\" is not 0-15");
    EXPECT_EQ(monitorError("N0CAL*>APRS:x"),
              "source: \"N0CAL*\" holds a character other than a letter or digit");
    EXPECT_EQ(monitorError("N0CALL>AP RS:x"),
              "destination: \"AP RS\" holds a character other than a letter or digit");
    EXPECT_EQ(monitorError("N0CALL>APRS,WIDE1-1,,WIDE2:x"),
              "digipeater 2: \"\" is not 1-6 characters");
    EXPECT_EQ(monitorError("N0CALL>APRS,A,B,C,D,E,F,G,H,I:x"), "more than 8 digipeaters");
}

TEST(RawFrame, SampleOfTheHeader)
{
    const Frame f = frameOf("N0CALL-9>APRS,ORVEX-1*,WIDE2-1:!4903.50N/07201.75W>Car");
    std::vector<std::uint8_t> expected = sampleAddresses;
    for (std::uint8_t b : std::string_view("\x03\xf0!4903.50N/07201.75W>Car"))
        expected.push_back(b);
    EXPECT_EQ(ax25Frame(f), expected);
    EXPECT_EQ(parseAx25Frame(expected).frame, f);
}

TEST(RawFrame, PidAndPollBitKept)
{
    std::vector<std::uint8_t> bytes = sampleAddresses;
    bytes.insert(bytes.end(), {0x13, 0xCF, 'x'}); // UI with the poll bit, PID NET/ROM
    const FrameResult r = parseAx25Frame(bytes);
    ASSERT_TRUE(r.frame) << r.error;
    EXPECT_EQ(r.frame->pid, 0xCF);
    EXPECT_EQ(r.frame->info, "x");
}

TEST(RawFrame, Refused)
{
    std::vector<std::uint8_t> bytes = sampleAddresses;
    EXPECT_EQ(rawError({sampleAddresses.begin(), sampleAddresses.begin() + 13}),
              "frame ends inside its address field");
    EXPECT_EQ(rawError(bytes), "frame ends before its control and PID bytes");
    bytes.push_back(0x03);
    EXPECT_EQ(rawError(bytes), "frame ends before its control and PID bytes");
    bytes.back() = 0x00;
    bytes.push_back(0xF0);
    EXPECT_EQ(rawError(bytes), "not a UI frame (control 0x00)");

    std::vector<std::uint8_t> single(sampleAddresses.begin(), sampleAddresses.begin() + 7);
    single[6] |= 0x01;
    EXPECT_EQ(rawError(single), "fewer than two addresses");

    std::vector<std::uint8_t> endless;
    for (int i = 0; i < 11; ++i)
        endless.insert(endless.end(), sampleAddresses.begin(), sampleAddresses.begin() + 7);
    EXPECT_EQ(rawError(endless), "more than 8 digipeaters");

    std::vector<std::uint8_t> bad = sampleAddresses;
    bad[8] = '#' << 1; // not a letter, digit or blank
    EXPECT_EQ(rawError(bad), "source: callsign byte 2 is not a letter or digit");
    bad = sampleAddresses;
    bad[1] = 0x40; // blank inside the callsign
    EXPECT_EQ(rawError(bad), "destination: callsign byte 3 is not a letter or digit");
    bad = sampleAddresses;
    bad[2] |= 0x01; // address extension bit before the SSID byte
    EXPECT_EQ(rawError(bad), "destination: address ends before its seventh byte");
}

TEST(ThirdParty, InnerFrame)
{
    const Frame outer = frameOf("N0ABC>APRS:}W1AW>APRS,TCPIP,N0ABC*:!4903.50N/07201.75W-x");
    const FrameResult inner = thirdPartyFrame(outer);
    ASSERT_TRUE(inner.frame) << inner.error;
    EXPECT_EQ(inner.frame->source.text(), "W1AW");
    EXPECT_TRUE(inner.frame->path[1].repeated);
    EXPECT_EQ(inner.frame->info, "!4903.50N/07201.75W-x");
    EXPECT_EQ(thirdPartyFrame(frameOf("N0ABC>APRS:>x")).error, "not a third-party packet");
}
