// SPDX-License-Identifier: GPL-2.0-or-later
#include "pklink/AgwDispatcher.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace agw;

namespace {

std::string hex(const Bytes &data)
{
    std::string out;
    char digits[3];
    for (std::uint8_t b : data) {
        std::snprintf(digits, sizeof digits, "%02X", b);
        out += digits;
    }
    return out;
}

// Writes every event down as one "Name|param|..." line.
class Recorder : public AgwEvents
{
public:
    std::vector<std::string> lines;
    clsPortCapabilities lastCapabilities;

    void add(std::string line) { lines.push_back(std::move(line)); }
    static std::string n(int v) { return std::to_string(v); }

    void MonUFrame(std::int16_t p, const std::string &f, const std::string &t,
                   const Bytes &d) override
    {
        add("MonUFrame|" + n(p) + "|" + f + "|" + t + "|" + hex(d));
    }
    void MonKissFrame(std::int16_t p, const std::string &f, const std::string &t,
                      const Bytes &d) override
    {
        add("MonKissFrame|" + n(p) + "|" + f + "|" + t + "|" + hex(d));
    }
    void MonTFrame(std::int16_t p, const std::string &f, const std::string &t,
                   const Bytes &d) override
    {
        add("MonTFrame|" + n(p) + "|" + f + "|" + t + "|" + hex(d));
    }
    void MonSFrame(std::int16_t p, const Bytes &d) override
    {
        add("MonSFrame|" + n(p) + "|" + hex(d));
    }
    void MonIFrame(std::int16_t p, const Bytes &d) override
    {
        add("MonIFrame|" + n(p) + "|" + hex(d));
    }
    void Connected(std::int16_t p, const std::string &c, const std::string &s) override
    {
        add("Connected|" + n(p) + "|" + c + "|" + s);
    }
    void Disconnected(std::int16_t p, const std::string &c, const std::string &s) override
    {
        add("Disconnected|" + n(p) + "|" + c + "|" + s);
    }
    void OutStandingFramesForStation(std::int16_t p, const std::string &c, std::int16_t k) override
    {
        add("OutStandingFramesForStation|" + n(p) + "|" + c + "|" + n(k));
    }
    void OutStandingFramesForPort(std::int16_t p, std::int16_t k) override
    {
        add("OutStandingFramesForPort|" + n(p) + "|" + n(k));
    }
    void PortCapabilities(std::int16_t p, const clsPortCapabilities &c) override
    {
        lastCapabilities = c;
        add("PortCapabilities|" + n(p));
    }
    void CallsignRegistered(std::string const &c, bool ok) override
    {
        add("CallsignRegistered|" + c + "|" + (ok ? "True" : "False"));
    }
    void RxFrame(std::int16_t p, const std::string &f, const std::string &t, std::int16_t pid,
                 const Bytes &d) override
    {
        add("RxFrame|" + n(p) + "|" + f + "|" + t + "|" + n(pid) + "|" + hex(d));
    }
    void MhData(std::int16_t p, const std::string &h) override { add("MhData|" + n(p) + "|" + h); }
    void GotVersion(std::int32_t a, std::int32_t b, const std::string &v) override
    {
        add("GotVersion|" + n(a) + "|" + n(b) + "|" + v);
    }
    void GotPortInfo(const std::vector<std::string> &info) override
    {
        std::string line = "GotPortInfo";
        for (const std::string &e : info)
            line += "|" + e;
        add(line);
    }
};

class AgwDispatch : public ::testing::Test
{
protected:
    Recorder events;
    AgwDispatcher dispatcher{events};

    void frame(char kind, std::uint16_t port = 0, const std::string &from = {},
               const std::string &to = {}, const Bytes &data = {}, std::uint16_t pid = 0)
    {
        Bytes header = buildFrame(kind, port, from, to);
        header[6] = static_cast<std::uint8_t>(pid & 0xFF);
        header[7] = static_cast<std::uint8_t>(pid >> 8);
        const auto n = static_cast<std::uint32_t>(data.size());
        for (int i = 0; i < 4; ++i)
            header[28 + i] = static_cast<std::uint8_t>(n >> (8 * i));
        dispatcher.DispatchFrame(header.data(), data);
    }
    void frame(char kind, std::uint16_t port, const std::string &from, const std::string &to,
               const std::string &data)
    {
        frame(kind, port, from, to, Bytes(data.begin(), data.end()));
    }
    static Bytes le32(std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        return Bytes{static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                     static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
    }
    std::string last() const { return events.lines.empty() ? "" : events.lines.back(); }
};

Bytes systemTime(std::uint16_t y, std::uint16_t mo, std::uint16_t d, std::uint16_t h,
                 std::uint16_t mi, std::uint16_t s, std::uint16_t ms)
{
    const std::uint16_t parts[8] = {y, mo, 0, d, h, mi, s, ms};
    Bytes out;
    for (std::uint16_t p : parts) {
        out.push_back(static_cast<std::uint8_t>(p));
        out.push_back(static_cast<std::uint8_t>(p >> 8));
    }
    return out;
}

} // namespace

TEST_F(AgwDispatch, MonitorFramesLoseTheEngineClosingByte)
{
    frame('U', 0, "Q9ORV-1", "CQ", "0123456789");
    EXPECT_EQ(last(),
              "MonUFrame|1|Q9ORV-1|CQ|" + hex(Bytes{'0', '1', '2', '3', '4', '5', '6', '7', '8'}));
    frame('T', 1, "Q9ABC", "APZ324", std::string("ab\0", 3));
    EXPECT_EQ(last(), "MonTFrame|2|Q9ABC|APZ324|6162");
    frame('S', 0, "A", "B", "s!");
    EXPECT_EQ(last(), "MonSFrame|1|73");
    frame('I', 2, "A", "B", "i!");
    EXPECT_EQ(last(), "MonIFrame|3|69");
}

TEST_F(AgwDispatch, RawFramesLoseTheEngineCommandByte)
{
    frame('K', 0, "", "", Bytes{0x00, 0x82, 0xA0});
    EXPECT_EQ(last(), "MonKissFrame|1|||82A0");
}

TEST_F(AgwDispatch, FramesShorterThanTheirLayoutRaiseNothing)
{
    for (char kind : {'U', 'T', 'S', 'I', 'K', 'X'})
        frame(kind, 0, "A", "B", Bytes{});
    frame('R', 0, "", "", Bytes(7, 1));
    frame('g', 0, "", "", Bytes(9, 1));
    frame('Y', 0, "", "", Bytes(3, 1));
    frame('y', 0, "", "", Bytes(3, 1));
    EXPECT_TRUE(events.lines.empty());
    EXPECT_EQ(dispatcher.majorVersion(), 0);
    EXPECT_TRUE(dispatcher.registered().empty());
}

TEST_F(AgwDispatch, UnknownKindsAreIgnored)
{
    frame('Z', 0, "A", "B", "xyz");
    frame('u', 0, "A", "B", "xyz");
    EXPECT_TRUE(events.lines.empty());
}

TEST_F(AgwDispatch, ConnectedReportsTheEnginePortAndDisconnectedTheInterfacePort)
{
    frame('C', 0, "Q9XYZ", "Q9ABC", "*** CONNECTED With Station Q9XYZ\r");
    EXPECT_EQ(last(), "Connected|0|Q9XYZ|*** CONNECTED With Station Q9XYZ\r");
    EXPECT_TRUE(dispatcher.IsConnected(0, "Q9XYZ"));
    frame('d', 0, "Q9XYZ", "Q9ABC", "*** DISCONNECTED");
    EXPECT_EQ(last(), "Disconnected|1|Q9XYZ|*** DISCONNECTED");
    EXPECT_FALSE(dispatcher.IsConnected(0, "Q9XYZ"));
}

TEST_F(AgwDispatch, ConnectionListKeepsOnePairAndComparesPortAndCaseExactly)
{
    frame('C', 0, "Q9A", "", "");
    frame('C', 0, "Q9A", "", "");
    frame('C', 1, "Q9A", "", "");
    frame('C', 0, "Q9B", "", "");
    ASSERT_EQ(dispatcher.connections().size(), 3u);
    EXPECT_FALSE(dispatcher.IsConnected(0, "q9a"));
    frame('d', 1, "Q9A", "", "");
    EXPECT_EQ(dispatcher.connections(),
              (std::vector<AgwDispatcher::ConnectionEntry>{{0, "Q9A"}, {0, "Q9B"}}));
    // A "d" for no known pair changes nothing and still raises its event.
    events.lines.clear();
    frame('d', 3, "Q9C", "", "gone");
    EXPECT_EQ(last(), "Disconnected|4|Q9C|gone");
    EXPECT_EQ(dispatcher.connections().size(), 2u);
}

TEST_F(AgwDispatch, DisconnectOfARegisteredCallRaisesNoEventButStillRemovesThePair)
{
    frame('X', 0, "Q9ABC", "", Bytes{1});
    frame('C', 0, "Q9ABC", "", "");
    events.lines.clear();
    frame('d', 0, "Q9ABC", "", "bye");
    EXPECT_TRUE(events.lines.empty());
    EXPECT_FALSE(dispatcher.IsConnected(0, "Q9ABC"));
}

TEST_F(AgwDispatch, RegistrationAnswers)
{
    frame('X', 0, "Q9ABC", "", Bytes{1});
    EXPECT_EQ(last(), "CallsignRegistered|Q9ABC|True");
    frame('X', 0, "Q9ABC", "", Bytes{1});
    frame('X', 0, "Q9NO", "", Bytes{0});
    EXPECT_EQ(last(), "CallsignRegistered|Q9NO|False");
    frame('X', 0, "Q9NO2", "", Bytes{2});
    EXPECT_EQ(last(), "CallsignRegistered|Q9NO2|False");
    // A second confirmation of the same callsign is not appended again.
    EXPECT_EQ(dispatcher.registered(), (std::vector<std::string>{"Q9ABC"}));
    dispatcher.RemoveRegistered("Q9ABC");
    EXPECT_TRUE(dispatcher.registered().empty());
}

TEST_F(AgwDispatch, ListsKeepTheNewestFewHundredAndStillRaiseEveryEvent)
{
    const int reported = 300;
    for (int i = 0; i < reported; ++i) {
        frame('X', 0, "Q9R" + std::to_string(i), "", Bytes{1});
        frame('C', 1, "Q9C" + std::to_string(i), "", "up");
    }
    EXPECT_EQ(events.lines.size(), 2u * reported);
    EXPECT_EQ(last(), "Connected|1|Q9C299|up");

    const auto dropped = static_cast<int>(reported - AgwDispatcher::maxRegistered);
    ASSERT_EQ(dispatcher.registered().size(), AgwDispatcher::maxRegistered);
    EXPECT_EQ(dispatcher.registered().front(), "Q9R" + std::to_string(dropped));
    EXPECT_FALSE(dispatcher.IsRegistered("Q9R" + std::to_string(dropped - 1)));
    EXPECT_TRUE(dispatcher.IsRegistered("Q9R299"));
    ASSERT_EQ(dispatcher.connections().size(), AgwDispatcher::maxConnections);
    EXPECT_EQ(dispatcher.connections().front(),
              AgwDispatcher::ConnectionEntry(1, "Q9C" + std::to_string(dropped)));
    EXPECT_FALSE(dispatcher.IsConnected(1, "Q9C" + std::to_string(dropped - 1)));

    // A removed entry makes room: nothing more is dropped by the next one.
    dispatcher.RemoveConnection(1, "Q9C299");
    frame('C', 1, "Q9NEW", "", "up");
    EXPECT_TRUE(dispatcher.IsConnected(1, "Q9C" + std::to_string(dropped)));
    EXPECT_TRUE(dispatcher.IsConnected(1, "Q9NEW"));
}

TEST_F(AgwDispatch, ANewLinkForgetsRegistrationsConnectionsAndPorts)
{
    frame('G', 0, "", "", "2;Port1 a;Port2 b;");
    frame('X', 0, "Q9ABC", "", Bytes{1});
    frame('C', 0, "Q9XYZ", "", "");
    dispatcher.resetLinkState();
    EXPECT_TRUE(dispatcher.registered().empty());
    EXPECT_TRUE(dispatcher.connections().empty());
    EXPECT_EQ(dispatcher.portCount(), 0);
}

TEST_F(AgwDispatch, OutstandingCountsAreClampedToSixteenBits)
{
    frame('Y', 0, "Q9ABC", "Q9XYZ", le32(7));
    EXPECT_EQ(last(), "OutStandingFramesForStation|1|Q9XYZ|7");
    frame('y', 1, "", "", le32(40000));
    EXPECT_EQ(last(), "OutStandingFramesForPort|2|32767");
    frame('y', 1, "", "", le32(32767));
    EXPECT_EQ(last(), "OutStandingFramesForPort|2|32767");
    frame('y', 1, "", "", le32(-40000));
    EXPECT_EQ(last(), "OutStandingFramesForPort|2|-32768");
}

TEST_F(AgwDispatch, PortInformationIsResizedToTheAnnouncedCount)
{
    frame('G', 0, "", "", "2;Port1 a;Port2 b;Port3 c;");
    EXPECT_EQ(last(), "GotPortInfo|Port1 a|Port2 b");
    EXPECT_EQ(dispatcher.portCount(), 2);
    frame('G', 0, "", "", "3;only one");
    EXPECT_EQ(last(), "GotPortInfo|only one||");
    EXPECT_EQ(dispatcher.portInfo().size(), 3u);
    frame('G', 0, "", "", "1 no semicolon");
    EXPECT_EQ(last(), "GotPortInfo|1 no semicolon");
}

TEST_F(AgwDispatch, PortInformationWithoutALeadingDigitMeansNoPorts)
{
    frame('G', 0, "", "", "x;Port1;");
    EXPECT_EQ(last(), "GotPortInfo");
    EXPECT_EQ(dispatcher.portCount(), 0);
    frame('G', 0, "", "", "");
    EXPECT_EQ(last(), "GotPortInfo");
}

TEST_F(AgwDispatch, PortCapabilityBytesAreUnsigned)
{
    frame('g', 0, "", "", Bytes{0, 255, 30, 10, 63, 10, 7, 1, 0xFF, 0xFF});
    EXPECT_EQ(last(), "PortCapabilities|1");
    const clsPortCapabilities &c = events.lastCapabilities;
    EXPECT_EQ(c.intOnAirBaudRate(), 0);
    EXPECT_EQ(c.intTrafficLevel(), 255);
    EXPECT_EQ(c.intTxDelay(), 30);
    EXPECT_EQ(c.intTxTail(), 10);
    EXPECT_EQ(c.intPersist(), 63);
    EXPECT_EQ(c.intSlotTime(), 10);
    EXPECT_EQ(c.intMaxFrame(), 7);
    EXPECT_EQ(c.intAx25Channels(), 1);
    EXPECT_EQ(c.lngHowManyBytes(), 65535);
}

TEST_F(AgwDispatch, VersionIsKeptAndReported)
{
    Bytes data = le32(2005);
    const Bytes minor = le32(127);
    data.insert(data.end(), minor.begin(), minor.end());
    frame('R', 0, "", "", data);
    EXPECT_EQ(last(), "GotVersion|2005|127|2005.127");
    EXPECT_EQ(dispatcher.versionText(), "2005.127");
}

TEST_F(AgwDispatch, DataFramesCarryThePidAndTheWholeData)
{
    frame('D', 0, "Q9XYZ", "Q9ABC", Bytes{'h', 'i', 0}, 0xF0);
    EXPECT_EQ(last(), "RxFrame|1|Q9XYZ|Q9ABC|240|686900");
}

TEST_F(AgwDispatch, HeardListEntryIsFormatted)
{
    Bytes data{'Q', '9', 'X', 'Y', 'Z', ' ', 'h', 'e', 'a', 'r', 'd', 0, 9, 9};
    const Bytes a = systemTime(2026, 12, 7, 23, 59, 59, 999);
    const Bytes b = systemTime(2026, 1, 2, 3, 4, 5, 0);
    data.insert(data.end(), a.begin(), a.end());
    data.insert(data.end(), b.begin(), b.end());
    frame('H', 0, "  Q9XYZ ", "", data);
    EXPECT_EQ(last(), "MhData|1|    Q9XYZ 2026-Dec-08 00:00  2026-Jan-02 03:04");
}

TEST_F(AgwDispatch, HeardListEntryRunningPastTheDataRaisesNothing)
{
    Bytes data{'x', 0, 0, 0};
    const Bytes a = systemTime(2026, 12, 7, 23, 59, 59, 0);
    data.insert(data.end(), a.begin(), a.end());
    data.insert(data.end(), a.begin(), a.end() - 1); // one byte short
    frame('H', 0, "Q9XYZ", "", data);
    frame('H', 0, "Q9XYZ", "", "no zero byte at all, but long enough to hold two times easily");
    frame('H', 0, "", "", Bytes(40, 0)); // no callsign
    EXPECT_TRUE(events.lines.empty());
}
