// SPDX-License-Identifier: GPL-2.0-or-later
#include "pklink/AgwCodec.h"

#include <gtest/gtest.h>

#include <string>

using namespace agw;

namespace {

Bytes hexBytes(const std::string &hex)
{
    Bytes out;
    std::string digits;
    for (char c : hex)
        if (c != ' ')
            digits += c;
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2)
        out.push_back(static_cast<std::uint8_t>(std::stoi(digits.substr(i, 2), nullptr, 16)));
    return out;
}

Bytes bytesOf(const std::string &text)
{
    return Bytes(text.begin(), text.end());
}

std::string slice(const Bytes &frame, std::size_t from, std::size_t count)
{
    return std::string(frame.begin() + from, frame.begin() + from + count);
}

Destination parse(const std::string &text)
{
    return ParseDestination(text);
}

} // namespace

TEST(AgwFrameBuilding, SampleFrameOfTheHeaderComment)
{
    const auto frame = unprotoFrame(0, "Q9ZZZ", parse("CQ"), bytesOf("TEST"));
    ASSERT_TRUE(frame);
    EXPECT_EQ(*frame, hexBytes("00 00 00 00 4D 00 00 00 51 39 5A 5A 5A 00 00 00"
                               "00 00 43 51 00 00 00 00 00 00 00 00 04 00 00 00"
                               "00 00 00 00 54 45 53 54"));
}

TEST(AgwFrameBuilding, ConnectWithTwoDigipeatersIsKindSmallV)
{
    const Bytes frame = connectFrame(0, "Q9ABC", parse("Q9XYZ v R1 R2"));
    EXPECT_EQ(frame[4], 'v');
    EXPECT_EQ(readI32(frame.data() + 28), 21);
    ASSERT_EQ(frame.size(), 36u + 21u);
    EXPECT_EQ(frame[36], 2);
    EXPECT_EQ(slice(frame, 37, 10), std::string("R1\0\0\0\0\0\0\0\0", 10));
    EXPECT_EQ(slice(frame, 47, 10), std::string("R2\0\0\0\0\0\0\0\0", 10));
}

TEST(AgwFrameBuilding, LoginLongerThanItsFieldIsRefused)
{
    EXPECT_TRUE(loginFrame(std::string(255, 'a'), std::string(255, 'b')));
    EXPECT_FALSE(loginFrame(std::string(256, 'a'), "b"));
    EXPECT_FALSE(loginFrame("a", std::string(256, 'b')));
}

TEST(AgwFrameBuilding, DataPartsBeyondTheSixteenBitCountAreRefused)
{
    EXPECT_TRUE(unprotoFrame(0, "A", parse("B"), Bytes(32767)));
    EXPECT_FALSE(unprotoFrame(0, "A", parse("B"), Bytes(32768)));
    // The digipeater list counts: 1 + 10 bytes for one digipeater.
    EXPECT_TRUE(unprotoFrame(0, "A", parse("B C"), Bytes(32767 - 11)));
    EXPECT_FALSE(unprotoFrame(0, "A", parse("B C"), Bytes(32767 - 10)));
    EXPECT_TRUE(dataFrame(0, "A", "B", Bytes(32767)));
    EXPECT_FALSE(dataFrame(0, "A", "B", Bytes(32768)));
    // A raw frame counts the whole frame: 36 + 1 + n.
    EXPECT_TRUE(kissFrame(0, Bytes(32767 - 37)));
    EXPECT_FALSE(kissFrame(0, Bytes(32767 - 36)));
}

TEST(AgwCallsigns, PadCallsignUpperCasesLatin1AndFillsToTenBytes)
{
    EXPECT_EQ(PadCallsign("q9abc-1"), std::string("Q9ABC-1\0\0\0", 10));
    EXPECT_EQ(PadCallsign(""), std::string(10, '\0'));
    // e-acute becomes E-acute; sharp s and y-diaeresis have no Latin-1 capital.
    EXPECT_EQ(PadCallsign("\xE9\xDF\xFF"), std::string("\xC9\xDF\xFF\0\0\0\0\0\0\0", 10));
}

TEST(AgwCallsigns, ReceivedFieldIsCutAtItsFirstZeroByte)
{
    const std::uint8_t field[10] = {'Q', '9', 'Z', 0, 'X', 'Y', 0, 0, 0, 0};
    EXPECT_EQ(callsignText(field), "Q9Z");
}

TEST(AgwCallsigns, FieldOfTenLettersReadsAsItsFirstNine)
{
    const std::uint8_t field[10] = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J'};
    EXPECT_EQ(callsignText(field), "ABCDEFGHI");
}

struct DestinationCase
{
    const char *text;
    bool ok;
    const char *destination; // unpadded
    std::vector<std::string> digis;
};

class AgwDestination : public ::testing::TestWithParam<DestinationCase>
{
};

TEST_P(AgwDestination, IsSplitIntoDestinationAndDigipeaters)
{
    const DestinationCase &c = GetParam();
    const Destination d = ParseDestination(c.text);
    ASSERT_EQ(d.ok, c.ok);
    if (!c.ok)
        return;
    EXPECT_EQ(d.destinationField, *c.destination ? PadCallsign(c.destination) : std::string());
    ASSERT_EQ(d.digipeaterCount, static_cast<int>(c.digis.size()));
    std::string fields;
    for (const std::string &digi : c.digis)
        fields += PadCallsign(digi);
    EXPECT_EQ(d.digipeaterFields, fields);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AgwDestination,
    ::testing::Values(
        DestinationCase{"CQ", true, "CQ", {}}, DestinationCase{"  APZ324  ", true, "APZ324", {}},
        DestinationCase{"APZ324 via WIDE1-1,WIDE2-1", true, "APZ324", {"WIDE1-1", "WIDE2-1"}},
        DestinationCase{"APZ324 v WIDE1-1 WIDE2-1", true, "APZ324", {"WIDE1-1", "WIDE2-1"}},
        DestinationCase{"APZ324,WIDE1-1, WIDE2-1", true, "APZ324", {"WIDE1-1", "WIDE2-1"}},
        DestinationCase{"APZ324    WIDE1-1", true, "APZ324", {"WIDE1-1"}},
        // Only the lower-case words separate; VIA is a digipeater.
        DestinationCase{"CQ VIA RELAY", true, "CQ", {"VIA", "RELAY"}},
        DestinationCase{"cq via relay", true, "cq", {"relay"}},
        DestinationCase{"CQ via ABCDEFGHIJ", false, "", {}},
        DestinationCase{"ABCDEFGHIJ", false, "", {}},
        DestinationCase{"ABCDEFGHI", true, "ABCDEFGHI", {}}, DestinationCase{"", true, "", {}},
        DestinationCase{"   ", true, "", {}},
        DestinationCase{"CQ via 1,2,3,4,5,6,7,8,9",
                        true,
                        "CQ",
                        {"1", "2", "3", "4", "5", "6", "7", "8", "9"}}));

TEST(AgwHeardTime, MillisecondsAbove500CarryIntoTheNextMinute)
{
    SystemTime t{2026, 12, 2, 7, 23, 59, 59, 999};
    EXPECT_EQ(formatHeardTime(t), " 2026-Dec-08 00:00");
    t.milliseconds = 500;
    EXPECT_EQ(formatHeardTime(t), " 2026-Dec-07 23:59");
}

TEST(AgwHeardTime, DateCountsDaysSince1899_12_30)
{
    EXPECT_DOUBLE_EQ(*HeardTimeToDate(SystemTime{1899, 12, 0, 30, 0, 0, 0, 0}), 0.0);
    EXPECT_DOUBLE_EQ(*HeardTimeToDate(SystemTime{1900, 1, 0, 1, 12, 0, 0, 0}), 2.5);
}

TEST(AgwHeardTime, OutOfRangePartsRollOverOrAreRefused)
{
    EXPECT_EQ(formatHeardTime(SystemTime{2026, 13, 0, 1, 0, 0, 0, 0}), " 2027-Jan-01 00:00");
    EXPECT_EQ(formatHeardTime(SystemTime{2026, 3, 0, 0, 0, 0, 0, 0}), " 2026-Feb-28 00:00");
    EXPECT_FALSE(formatHeardTime(SystemTime{0, 1, 0, 1, 0, 0, 0, 0}));
    EXPECT_FALSE(formatHeardTime(SystemTime{65535, 12, 0, 31, 0, 0, 0, 0}));
}
