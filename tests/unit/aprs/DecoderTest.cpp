// SPDX-License-Identifier: GPL-2.0-or-later
// The decoder's own choices: units, timestamps, where it reads otherwise than
// decode_aprs, and faulty packets. Agreement with decode_aprs on the packet
// table is DireWolfAgreementTest's.
#include "PacketTable.h"

#include "aprscodec/Decoder.h"

#include <gtest/gtest.h>

using namespace aprs;

namespace {

Packet decoded(std::string_view line)
{
    const FrameResult frame = parseMonitorLine(line, InfoBytes::HexEscapes);
    EXPECT_TRUE(frame.frame) << line << ": " << frame.error;
    return frame.frame ? decode(*frame.frame) : Packet();
}

Packet decodedInfo(std::string info, std::string destination = "APRS")
{
    Frame frame;
    frame.source.callsign = "N0ABC";
    frame.destination.callsign = std::move(destination);
    frame.info = std::move(info);
    return decode(frame);
}

} // namespace

TEST(PacketTypes, NamesOfTheExport)
{
    const std::pair<PacketType, std::string_view> names[] = {
        {PacketType::Position, "position"}, {PacketType::Status, "status"},
        {PacketType::Message, "message"},   {PacketType::Ack, "ack"},
        {PacketType::Reject, "reject"},     {PacketType::Object, "object"},
        {PacketType::Item, "item"},         {PacketType::Telemetry, "telemetry"},
        {PacketType::Other, "other"}};
    for (const auto &[type, name] : names)
        EXPECT_EQ(typeName(type), name);
}

TEST(DecoderUnits, KnotsKilometresPerHourAndMetres)
{
    const Packet p = decodedInfo("=4903.50N/07201.75W>088/036/A=001234");
    EXPECT_EQ(p.courseDeg, 88);
    EXPECT_DOUBLE_EQ(*p.speedKnots, 36);
    EXPECT_DOUBLE_EQ(*p.speedKmh(), 66.672);
    EXPECT_DOUBLE_EQ(*p.altitudeM, 1234 * 0.3048);
    // Mic-E altitude is metres above -10000 in base 91: 1 * 91^2 + 19 * 91 + 45 - 10000.
    EXPECT_DOUBLE_EQ(*decoded("N1ABC-9>TR3P0W:`c_V<0x1f>ZO>/]\"4N}x=").altitudeM, 55);
    EXPECT_FALSE(decodedInfo(">status").speedKmh());
}

TEST(DecoderDetails, TimestampsAmbiguityAndSources)
{
    Packet p = decodedInfo("@092345z4903.50N/07201.75W>");
    ASSERT_TRUE(p.timestamp);
    EXPECT_EQ(p.timestamp->form, Timestamp::Form::DayHourMinuteUtc);
    EXPECT_EQ(p.timestamp->day, 9);
    EXPECT_EQ(p.timestamp->hour, 23);
    EXPECT_EQ(p.timestamp->minute, 45);
    EXPECT_EQ(decodedInfo("/092345/4903.50N/07201.75W>").timestamp->form,
              Timestamp::Form::DayHourMinuteLocal);
    p = decodedInfo("/234517h4903.50N/07201.75W>");
    EXPECT_EQ(p.timestamp->form, Timestamp::Form::HourMinuteSecondUtc);
    EXPECT_EQ(p.timestamp->second, 17);
    EXPECT_FALSE(decodedInfo(">234517hstatus").timestamp); // not a status form

    // A day 32 is no time, but the position after it still is one.
    p = decodedInfo("@322345z4903.50N/07201.75W>");
    EXPECT_FALSE(p.timestamp);
    EXPECT_TRUE(p.latitude);
    EXPECT_EQ(p.problem, "position timestamp is not ddhhmmz, ddhhmm/ or hhmmssh");

    p = decodedInfo("!49  .  N/072  .  W-");
    EXPECT_EQ(p.ambiguity, 4);
    EXPECT_EQ(p.format, PositionFormat::Uncompressed);
    EXPECT_EQ(decoded("N0ABC>TXPXLL:`'>Q\"<0x1d>0>/]").ambiguity, 2);

    p = decodedInfo(">IO91SX/G");
    EXPECT_EQ(p.format, PositionFormat::Locator);
    EXPECT_EQ(p.locator, "IO91SX");
    EXPECT_FALSE(p.symbolFromAddress);
    EXPECT_TRUE(decoded("N0ABC-9>APRS:>en route").symbolFromAddress);
}

// Each case decode_aprs reads otherwise (DireWolfAgreementTest's exceptions).
TEST(DecoderDeviations, WhereDecodeAprsIsWrong)
{
    Packet p = decodedInfo("!4200.00N/07100.00W-Tom/Mary mobile");
    EXPECT_EQ(p.text, "Tom/Mary mobile");
    EXPECT_FALSE(p.courseDeg);
    p = decodedInfo("!4200.00N/07100.00W- 88/..5 blank and dots");
    EXPECT_EQ(p.courseDeg, 88);
    EXPECT_FALSE(p.speedKnots);
    EXPECT_EQ(p.text, " blank and dots");

    p = decodedInfo(":N0ABC    :acknowledged, see you");
    EXPECT_EQ(p.type, PacketType::Message);
    EXPECT_EQ(p.text, "acknowledged, see you");
    EXPECT_EQ(decodedInfo(":N0ABC    :ack").type, PacketType::Message);

    p = decodedInfo(":N0ABC    :Hi{12345678901");
    EXPECT_EQ(p.text, "Hi{12345678901");
    EXPECT_EQ(p.messageNumber, "");
    EXPECT_EQ(p.problem, "message number is not 1-5 letters or digits");

    p = decodedInfo("Test beacon");
    EXPECT_EQ(p.type, PacketType::Other);
    EXPECT_EQ(p.text, "Test beacon");
    EXPECT_EQ(decodedInfo(":WU2").type, PacketType::Other);
    EXPECT_EQ(decodedInfo("$GPRMC,063909,A,3349.4302,N,11700.3721,W,43.0,89.3,291099,,*52").type,
              PacketType::Other);
}

TEST(DecoderDeviations, MessageTextWithoutItsNumber)
{
    Packet p = decodedInfo(":DL1ABC-9 :Copy that{AB}CD\r\n");
    EXPECT_EQ(p.text, "Copy that");
    EXPECT_EQ(p.messageNumber, "AB");
    EXPECT_EQ(p.replyAck, "CD");
    p = decodedInfo(":DL1ABC-9 :ackAB}\r");
    EXPECT_EQ(p.type, PacketType::Ack);
    EXPECT_EQ(p.messageNumber, "AB");
    EXPECT_EQ(p.replyAck, "");
}

TEST(DecoderFaults, TruncatedFields)
{
    // Every packet of the table cut at every length decodes.
    for (const aprstest::TablePacket &entry : aprstest::packetTable) {
        const Frame whole = *parseMonitorLine(entry.line, InfoBytes::HexEscapes).frame;
        for (std::size_t n = 0; n < whole.info.size(); ++n) {
            Frame cut = whole;
            cut.info.resize(n);
            EXPECT_NO_THROW(decode(cut)) << entry.label << " cut at " << n;
        }
    }
    Packet p = decodedInfo("!4903.50N/0720");
    EXPECT_TRUE(p.latitude);
    EXPECT_FALSE(p.longitude);
    EXPECT_FALSE(p.symbol);
    EXPECT_EQ(p.problem, "longitude is cut short");
    p = decoded("N0ABC>TR3V0P:`c.<0x1c>");
    EXPECT_TRUE(p.longitude);
    EXPECT_FALSE(p.speedKnots);
    EXPECT_EQ(p.problem, "Mic-E information field is cut short");
    EXPECT_EQ(decodedInfo(";OBJ").type, PacketType::Other);
    EXPECT_EQ(decodedInfo(")TOOLONGNAME!4903.50N/07201.75WA").type, PacketType::Other);
    p = decodedInfo("T#005,199,000");
    EXPECT_EQ(p.telemetry->analog[1], 0);
    EXPECT_FALSE(p.telemetry->analog[2]);
    EXPECT_EQ(p.problem, "telemetry has fewer than five values and the digital bits");
}

TEST(DecoderFaults, OutOfRangeCoordinates)
{
    Packet p = decodedInfo("!9103.50N/07201.75W-");
    EXPECT_FALSE(p.latitude);
    EXPECT_TRUE(p.longitude);
    EXPECT_EQ(p.problem, "latitude beyond 90 degrees");
    p = decodedInfo("!4903.50N/18001.75W-");
    EXPECT_FALSE(p.longitude);
    EXPECT_EQ(p.problem, "longitude beyond 180 degrees");
    EXPECT_FALSE(decodedInfo("!4963.50N/07201.75W-").latitude); // minutes beyond 59
    p = decodedInfo("={{{{{{{{>7P[");
    EXPECT_FALSE(p.latitude);
    EXPECT_FALSE(p.longitude);
    // 90 degrees and a DAO digit more stays at the pole.
    EXPECT_DOUBLE_EQ(*decodedInfo("!9000.00N/07201.75W-!W9 !").latitude, 90);
    const std::string micE = std::string("`'>Q\"\x1d") + "0>/]";
    p = decodedInfo(micE, "YYPPPP");
    EXPECT_FALSE(p.latitude);
    EXPECT_TRUE(p.longitude);
    EXPECT_EQ(p.problem, "Mic-E latitude beyond 90 degrees");
    EXPECT_EQ(decodedInfo(micE, "4760XY").problem, "Mic-E latitude minutes beyond 59");
}

TEST(DecoderFaults, BadMicEDestinations)
{
    for (const char *destination : {"T2SP", "T2SA0W", "T2SPMW", "T2SP0A"}) {
        const Packet p = decodedInfo("`c_V\x1fZO>/]\"4N}text", destination);
        EXPECT_EQ(p.type, PacketType::Position);
        EXPECT_FALSE(p.latitude) << destination;
        EXPECT_FALSE(p.longitude) << destination;
        EXPECT_EQ(p.problem, "destination is not a Mic-E latitude (six of 0-9, A-L, P-Z)");
        EXPECT_EQ(p.micE->status, "") << destination; // no message bits to read
        EXPECT_EQ(p.speedKnots, 36) << destination;   // the information field is still read
        EXPECT_EQ(p.text, "text");
    }
}

TEST(DecoderFaults, NulsAndBytesAbove127)
{
    Packet p = decodedInfo(std::string("!4903.50N/07201.75W-a\0b\xb0\xfc", 25));
    EXPECT_EQ(p.text, std::string("a\0b\xb0\xfc", 5)); // decode_aprs stops at the NUL
    EXPECT_FALSE(decodedInfo(std::string("!49") + '\0' + "03.50N/07201.75W-").latitude);
    p = decodedInfo("!4903.50N/07201.75W\xe9");
    EXPECT_TRUE(p.latitude);
    EXPECT_FALSE(p.symbol);
    p = decoded("N0ABC>TR3V0P:`c.<0x1c><0xe0><0x1c>v>/]");
    EXPECT_TRUE(p.longitude);
    EXPECT_FALSE(p.speedKnots);
    EXPECT_FALSE(p.courseDeg);
    EXPECT_EQ(p.problem, "Mic-E speed/course byte out of range");
    EXPECT_EQ(decodedInfo(std::string(":N0ABC    :\xc4rger") + '\0').text,
              std::string("\xc4rger") + '\0');
}

TEST(DecoderFaults, VeryLongFields)
{
    const std::string comment(2000, 'x');
    EXPECT_EQ(decodedInfo("!4903.50N/07201.75W-" + comment).text, comment);
    EXPECT_EQ(decodedInfo(":N0ABC    :" + comment + "{12").text, comment);
    EXPECT_EQ(decodedInfo(">" + comment).text, comment);
    EXPECT_EQ(decodedInfo(";" + comment).type, PacketType::Other);
    EXPECT_EQ(decodedInfo(")" + comment).type, PacketType::Other);
    const Packet p = decodedInfo(":" + comment);
    EXPECT_EQ(p.type, PacketType::Other);
    EXPECT_EQ(p.text.size(), comment.size() + 1);
}
