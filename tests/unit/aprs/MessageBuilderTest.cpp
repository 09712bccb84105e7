// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprscodec/MessageBuilder.h"
#include "aprscodec/Decoder.h"

#include <gtest/gtest.h>

using namespace aprs;

namespace {

Packet decodedInfo(const std::string &info)
{
    Frame frame;
    frame.source.callsign = "N0ABC";
    frame.destination.callsign = "APZ36Q";
    frame.info = info;
    return decode(frame);
}

std::string refusal(const BuildResult &result)
{
    EXPECT_FALSE(result.info);
    return result.error;
}

} // namespace

TEST(MessageBuilder, FormsThatDecodeBack)
{
    BuildResult r = buildMessage("WU2Z", "Testing", "003");
    ASSERT_TRUE(r.info) << r.error;
    EXPECT_EQ(*r.info, ":WU2Z     :Testing{003");
    Packet p = decodedInfo(*r.info);
    EXPECT_EQ(p.type, PacketType::Message);
    EXPECT_EQ(p.addressee, "WU2Z");
    EXPECT_EQ(p.text, "Testing");
    EXPECT_EQ(p.messageNumber, "003");

    EXPECT_EQ(buildMessage("BLN1", "Pass at 14:05 UTC").info, ":BLN1     :Pass at 14:05 UTC");
    EXPECT_EQ(buildMessage("DL1ABC-10", std::string(67, 'x'), "A1b2C").info,
              ":DL1ABC-10:" + std::string(67, 'x') + "{A1b2C");

    r = buildAck("WU2Z", "003");
    EXPECT_EQ(r.info, ":WU2Z     :ack003");
    p = decodedInfo(*r.info);
    EXPECT_EQ(p.type, PacketType::Ack);
    EXPECT_EQ(p.messageNumber, "003");
    r = buildReject("WU2Z", "003");
    EXPECT_EQ(r.info, ":WU2Z     :rej003");
    EXPECT_EQ(decodedInfo(*r.info).type, PacketType::Reject);
}

TEST(MessageBuilder, Refused)
{
    EXPECT_EQ(refusal(buildMessage("", "x")), "addressee is empty");
    EXPECT_EQ(refusal(buildMessage("DL1ABC-100", "x")),
              "addressee is 10 characters; at most 9 fit");
    const std::string badAddressee =
        "addressee may hold printable characters only, no blank, \":\" or \"|\"";
    for (const char *addressee : {"DL1 ABC", "A:B", "A|B", "\xc4"})
        EXPECT_EQ(refusal(buildMessage(addressee, "x")), badAddressee) << addressee;

    EXPECT_EQ(refusal(buildMessage("WU2Z", "")), "message text is empty");
    EXPECT_EQ(refusal(buildMessage("WU2Z", std::string(68, 'x'))),
              "message text is 68 characters; at most 67 fit");
    const std::string badText =
        "message text may hold printable ASCII only, no \"|\", \"~\" or \"{\"";
    for (const char *text : {"a|b", "a~b", "a{b", "tab\there",
                             "Gr\xfc\xdf"
                             "e",
                             "cr\r"})
        EXPECT_EQ(refusal(buildMessage("WU2Z", text)), badText) << text;
    EXPECT_EQ(refusal(buildMessage("WU2Z", "ack12 no")),
              "message text may not start with \"ack\": it would read as an ack, reject or "
              "telemetry");
    EXPECT_EQ(refusal(buildMessage("WU2Z", "PARM.A,B")),
              "message text may not start with \"PARM.\": it would read as an ack, reject or "
              "telemetry");
    EXPECT_EQ(refusal(buildMessage("WU2Z", "?APRSP")),
              "message text may not start with \"?\": it would read as a query");

    const std::string badNumber = "message number must be 1-5 letters or digits";
    EXPECT_EQ(refusal(buildMessage("WU2Z", "x", "123456")), badNumber);
    EXPECT_EQ(refusal(buildAck("WU2Z", "")), badNumber);
    EXPECT_EQ(refusal(buildReject("WU2Z", "1}2")), badNumber);
    EXPECT_EQ(refusal(buildAck("", "1")), "addressee is empty");
}
