// SPDX-License-Identifier: GPL-2.0-or-later
// Our decoder against Dire Wolf's decode_aprs, run here on the packet table:
// field by field, positions to decode_aprs's printed precision. Where we differ
// on purpose, the exception list says why.
#include "DecodeAprsRun.h"
#include "PacketTable.h"

#include "aprscodec/Decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <optional>
#include <sstream>

using namespace aprs;
using namespace aprstest;

namespace {

enum class Field { Type, Symbol, Position, Speed, Course, Altitude, Number, Text };

struct Exception
{
    std::string_view label;
    Field field;
    std::string_view why;
};

// Where decode_aprs is plainly wrong or we must read otherwise.
constexpr Exception exceptions[] = {
    {"position comment with a slash", Field::Text,
     "decode_aprs takes any 7 bytes with '/' 4th for course/speed and drops \"Tom/Mar\"; "
     "we read course/speed only from digits, blanks and dots"},
    {"message that opens with ack", Field::Type,
     "decode_aprs reads every message text opening with \"ack\" as an ack; "
     "an ack number is 1-5 letters or digits"},
    {"message that opens with ack", Field::Number, "see above"},
    {"message that opens with ack", Field::Text, "see above"},
    {"NMEA", Field::Position,
     "decode_aprs reads the position of RMC and GGA sentences; we keep raw NMEA as other"},
    {"NMEA", Field::Speed, "see above"},
    {"NMEA", Field::Course, "see above"},
    {"T that is not telemetry", Field::Type,
     "decode_aprs calls every packet opening with 'T' telemetry; telemetry opens with \"T#\""},
    {"message cut short", Field::Type,
     "a message without its addressee is kept as other; decode_aprs calls it a message"},
    {"Mic-E cut short", Field::Speed,
     "decode_aprs reads speed and course from beyond the end of the field"},
    {"Mic-E cut short", Field::Course, "see above"},
};

bool excepted(std::string_view label, Field field)
{
    for (const Exception &e : exceptions)
        if (e.label == label && e.field == field)
            return true;
    return false;
}

// What decode_aprs names after the type when there is no symbol: the maker.
std::optional<std::string> makerWithoutSymbol(const Frame &frame, const Packet &packet)
{
    if (packet.micE)
        return packet.micE->device.empty() ? std::string("Unknown manufacturer")
                                           : std::string(packet.micE->device);
    const std::string dest = frame.destination.callsign;
    if (dest == "APRS")
        return std::string("Generic");
    if (dest.starts_with("GPS") || dest.starts_with("SPC") || dest.starts_with("SYM"))
        return std::string();
    return std::nullopt;
}

struct Decoded
{
    Frame frame;
    Packet packet;
};

class DireWolfAgreement : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        std::vector<std::string> input;
        for (const TablePacket &entry : packetTable) {
            const FrameResult parsed = parseMonitorLine(entry.line, InfoBytes::HexEscapes);
            ASSERT_TRUE(parsed.frame) << entry.label << ": " << parsed.error;
            decoded_.push_back({*parsed.frame, decode(*parsed.frame)});
            input.emplace_back(entry.line);
        }
        std::map<std::string, std::size_t> probeIndex;
        for (const Decoded &d : decoded_)
            if (d.packet.symbol && !probeIndex.count(d.packet.symbol->text())) {
                probeIndex[d.packet.symbol->text()] = input.size();
                input.push_back(probeLine(*d.packet.symbol));
            }
        std::string error;
        const std::vector<DecodeAprsRecord> records = runDecodeAprs(input, error);
        ASSERT_TRUE(error.empty()) << error;
        for (std::size_t i = 0; i < decoded_.size(); ++i)
            readings_.push_back(readingOf(records[i], decoded_[i].packet.weather.has_value()));
        for (const auto &[symbol, index] : probeIndex) {
            const std::string after = readingOf(records[index], false).afterKind;
            descriptions_[symbol] = between(after, ", ", ", Generic");
        }
    }

    static void TearDownTestSuite()
    {
        decoded_.clear();
        readings_.clear();
        descriptions_.clear();
    }

    static inline std::vector<Decoded> decoded_;
    static inline std::vector<Reading> readings_;
    static inline std::map<std::string, std::string> descriptions_;
};

TEST_F(DireWolfAgreement, TypeNameKilledAndAddressee)
{
    ASSERT_EQ(readings_.size(), std::size(packetTable));
    for (std::size_t i = 0; i < readings_.size(); ++i) {
        const std::string_view label = packetTable[i].label;
        const Packet &p = decoded_[i].packet;
        const Reading &r = readings_[i];
        if (!excepted(label, Field::Type)) {
            EXPECT_EQ(typeName(p.type), typeName(r.type)) << label;
            if (p.type == PacketType::Object || p.type == PacketType::Item) {
                EXPECT_EQ(p.name, r.name) << label;
                EXPECT_EQ(p.killed, r.killed) << label;
            }
        }
        if (p.type != PacketType::Other && !excepted(label, Field::Type)) {
            EXPECT_EQ(p.addressee, r.addressee) << label;
        }
    }
}

TEST_F(DireWolfAgreement, MessageNumbers)
{
    for (std::size_t i = 0; i < readings_.size(); ++i) {
        const std::string_view label = packetTable[i].label;
        const Packet &p = decoded_[i].packet;
        if (excepted(label, Field::Number) || p.type == PacketType::Other)
            continue;
        // decode_aprs keeps a reply-ack's "}AA" with the number.
        const std::string number = p.messageNumber + (p.replyAck.empty() ? "" : "}" + p.replyAck);
        EXPECT_EQ(number, readings_[i].number) << label;
    }
}

TEST_F(DireWolfAgreement, Symbols)
{
    for (std::size_t i = 0; i < readings_.size(); ++i) {
        const std::string_view label = packetTable[i].label;
        const Packet &p = decoded_[i].packet;
        const std::string &after = readings_[i].afterKind;
        if (excepted(label, Field::Symbol))
            continue;
        if (p.symbol) {
            const std::string expected = ", " + descriptions_[p.symbol->text()];
            EXPECT_TRUE(after.starts_with(expected) &&
                        (after.size() == expected.size() || after[expected.size()] == ','))
                << label << ": ours " << p.symbol->text() << " (" << expected << "), decode_aprs \""
                << after << "\"";
        } else {
            const auto maker = makerWithoutSymbol(decoded_[i].frame, p);
            ASSERT_TRUE(maker) << label << ": no maker known for its destination";
            EXPECT_TRUE(after.empty() || after.starts_with(", --no-symbol--") ||
                        (!maker->empty() && after.starts_with(", " + *maker)))
                << label << ": ours none, decode_aprs \"" << after << "\"";
        }
    }
}

TEST_F(DireWolfAgreement, PositionsToPrintedPrecision)
{
    // decode_aprs prints minutes to 4 decimals.
    const double tolerance = 0.5e-4 / 60 + 1e-9;
    for (std::size_t i = 0; i < readings_.size(); ++i) {
        const std::string_view label = packetTable[i].label;
        const Packet &p = decoded_[i].packet;
        const Reading &r = readings_[i];
        if (excepted(label, Field::Position))
            continue;
        EXPECT_EQ(p.latitude.has_value(), r.latitudeShown) << label;
        EXPECT_EQ(p.longitude.has_value(), r.longitudeShown) << label;
        if (p.latitude && r.latitudeShown) {
            EXPECT_NEAR(*p.latitude, r.latitude, tolerance) << label;
        }
        if (p.longitude && r.longitudeShown) {
            EXPECT_NEAR(*p.longitude, r.longitude, tolerance) << label;
        }
    }
}

TEST_F(DireWolfAgreement, SpeedCourseAltitude)
{
    constexpr double mphPerKnot = 1.15077945;
    for (std::size_t i = 0; i < readings_.size(); ++i) {
        const std::string_view label = packetTable[i].label;
        const Packet &p = decoded_[i].packet;
        const Reading &r = readings_[i];
        if (!excepted(label, Field::Speed)) {
            EXPECT_EQ(p.speedKnots.has_value(), r.mph.has_value()) << label;
            if (p.speedKnots && r.mph) {
                EXPECT_NEAR(*p.speedKnots * mphPerKnot, *r.mph, 0.5 + 1e-6) << label;
            }
        }
        if (!excepted(label, Field::Course)) {
            EXPECT_EQ(p.courseDeg.has_value(), r.course.has_value()) << label;
            if (p.courseDeg && r.course) {
                EXPECT_EQ(*p.courseDeg, *r.course) << label;
            }
        }
        if (!excepted(label, Field::Altitude)) {
            EXPECT_EQ(p.altitudeM.has_value(), r.feet.has_value()) << label;
            if (p.altitudeM && r.feet) {
                EXPECT_NEAR(*p.altitudeM / 0.3048, *r.feet, 0.5 + 1e-3) << label;
            }
        }
    }
}

TEST_F(DireWolfAgreement, TextsAndComments)
{
    for (std::size_t i = 0; i < readings_.size(); ++i) {
        const std::string_view label = packetTable[i].label;
        const Packet &p = decoded_[i].packet;
        // Other keeps the whole field, which decode_aprs does not show.
        if (excepted(label, Field::Text) || p.type == PacketType::Other)
            continue;
        std::string expected = p.text;
        // decode_aprs leaves the message number in the message text.
        if (p.type == PacketType::Message && !p.messageNumber.empty())
            expected += "{" + p.messageNumber + (p.replyAck.empty() ? "" : "}" + p.replyAck);
        EXPECT_EQ(expected, readings_[i].comment.value_or("")) << label;
    }
}

TEST_F(DireWolfAgreement, MicEMakerAndMessage)
{
    for (std::size_t i = 0; i < readings_.size(); ++i) {
        const Packet &p = decoded_[i].packet;
        if (!p.micE)
            continue;
        const std::string device = p.micE->device.empty() ? std::string("Unknown manufacturer")
                                                          : std::string(p.micE->device);
        EXPECT_NE(readings_[i].afterKind.find(", " + device + ", " + std::string(p.micE->status)),
                  std::string::npos)
            << packetTable[i].label << ": decode_aprs \"" << readings_[i].afterKind << "\"";
    }
}

TEST_F(DireWolfAgreement, RawFramesReadAsDireWolfReadsThem)
{
    // The raw form of each table frame, as an AGWPE 'K' frame carries it:
    // decode_aprs reads the hex bytes and prints the monitor line it sees.
    std::vector<std::string> input;
    std::vector<Frame> fromBytes;
    for (const Decoded &d : decoded_) {
        const std::vector<std::uint8_t> bytes = ax25Frame(d.frame);
        const FrameResult parsed = parseAx25Frame(bytes);
        ASSERT_TRUE(parsed.frame) << parsed.error;
        fromBytes.push_back(*parsed.frame);
        std::string hex;
        static constexpr char digits[] = "0123456789abcdef";
        for (std::uint8_t b : bytes) {
            hex += digits[b >> 4];
            hex += digits[b & 0x0F];
            hex += ' ';
        }
        hex.pop_back();
        input.push_back(hex);
    }
    std::string error;
    const std::vector<DecodeAprsRecord> records = runDecodeAprs(input, error);
    ASSERT_TRUE(error.empty()) << error;
    for (std::size_t i = 0; i < records.size(); ++i) {
        std::optional<std::string> monitor;
        for (const DecodeAprsLine &line : records[i])
            if (line.reading && line.opensWithColour) {
                monitor = line.text;
                break;
            }
        ASSERT_TRUE(monitor) << packetTable[i].label;
        const FrameResult theirs = parseMonitorLine(*monitor, InfoBytes::HexEscapes);
        ASSERT_TRUE(theirs.frame) << packetTable[i].label << ": " << theirs.error;
        EXPECT_EQ(*theirs.frame, fromBytes[i]) << packetTable[i].label << ": " << *monitor;
        EXPECT_EQ(fromBytes[i], decoded_[i].frame) << packetTable[i].label;
    }
}

} // namespace
