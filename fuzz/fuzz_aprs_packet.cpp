// SPDX-License-Identifier: GPL-2.0-or-later
// Heard packets are outside input: any bytes, read as monitor text (plain
// and with <0xNN> escapes) and as a raw AX.25 frame, must parse or fail, and
// what parses must write back to itself and decode to fields within their
// ranges. The same bytes, cut at LF into addressee, text and number, feed the
// message builders, whose output must decode back to what was built.
#include "aprscodec/Decoder.h"
#include "aprscodec/MessageBuilder.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool isAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isNumber(const std::string &s, std::size_t least)
{
    if (s.size() < least || s.size() > 5)
        return false;
    for (char c : s)
        if (!isAlnum(c))
            return false;
    return true;
}

void checkPacket(const aprs::Frame &frame, const aprs::Packet &p)
{
    using aprs::PacketType;
    if (p.latitude)
        check(std::isfinite(*p.latitude) && *p.latitude >= -90 && *p.latitude <= 90);
    if (p.longitude)
        check(std::isfinite(*p.longitude) && *p.longitude >= -180 && *p.longitude <= 180);
    if (p.courseDeg)
        check(*p.courseDeg >= 0 && *p.courseDeg <= 360);
    if (p.speedKnots)
        check(std::isfinite(*p.speedKnots) && *p.speedKnots >= 0);
    if (p.altitudeM)
        check(std::isfinite(*p.altitudeM));
    if (p.symbol) {
        const char t = p.symbol->table;
        check(t == '/' || t == '\\' || (t >= '0' && t <= '9') || (t >= 'A' && t <= 'Z'));
        check(p.symbol->code >= '!' && p.symbol->code <= '~');
    }
    if (p.timestamp) {
        check(p.timestamp->day >= 0 && p.timestamp->day <= 31);
        check(p.timestamp->hour <= 23 && p.timestamp->minute <= 59 && p.timestamp->second <= 59);
    }
    check(p.name.size() <= 9 && p.addressee.size() <= 9);
    check(p.text.size() <= frame.info.size());
    if (p.type == PacketType::Other)
        check(p.text == frame.info);
    if (p.type == PacketType::Ack || p.type == PacketType::Reject)
        check(isNumber(p.messageNumber, 1) && isNumber(p.replyAck, 0));
    if (p.type == PacketType::Message && !p.messageNumber.empty())
        check(isNumber(p.messageNumber, 1) && isNumber(p.replyAck, 0));
    if (p.micE)
        check(!p.micE->status.empty() || !p.problem.empty());
    (void)p.speedKmh();
    (void)aprs::typeName(p.type);
}

// A frame the parsers made writes back to itself in both forms.
void checkFrame(const aprs::Frame &frame, bool starsExact)
{
    const std::vector<std::uint8_t> raw = aprs::ax25Frame(frame);
    const aprs::FrameResult again = aprs::parseAx25Frame(raw);
    check(again.frame && *again.frame == frame);

    const std::string line = aprs::monitorLine(frame, aprs::InfoBytes::HexEscapes);
    const aprs::FrameResult text = aprs::parseMonitorLine(line, aprs::InfoBytes::HexEscapes);
    check(text.frame.has_value());
    if (starsExact) {
        check(*text.frame == frame);
    } else {
        check(text.frame->info == frame.info && text.frame->path.size() == frame.path.size());
        for (std::size_t i = 0; i < frame.path.size(); ++i)
            check(text.frame->path[i].text() == frame.path[i].text());
    }
    checkPacket(frame, aprs::decode(frame));
}

void checkBuilders(std::string_view input)
{
    const std::size_t a = input.find('\n');
    const std::string_view addressee = input.substr(0, std::min<std::size_t>(a, 12));
    const std::string_view rest =
        a == std::string_view::npos ? std::string_view() : input.substr(a + 1);
    const std::size_t b = rest.find('\n');
    const std::string_view text = rest.substr(0, std::min<std::size_t>(b, 80));
    const std::string_view number =
        b == std::string_view::npos ? std::string_view() : rest.substr(b + 1, 7);

    aprs::Frame frame;
    frame.source.callsign = "N0CALL";
    frame.destination.callsign = "APRS";
    const aprs::BuildResult message = aprs::buildMessage(addressee, text, number);
    check(message.info.has_value() != !message.error.empty());
    if (message.info) {
        frame.info = *message.info;
        const aprs::Packet p = aprs::decode(frame);
        check(p.type == aprs::PacketType::Message && p.addressee == addressee && p.text == text &&
              p.messageNumber == number);
    }
    for (const bool ack : {true, false}) {
        const aprs::BuildResult answer =
            ack ? aprs::buildAck(addressee, number) : aprs::buildReject(addressee, number);
        check(answer.info.has_value() != !answer.error.empty());
        if (answer.info) {
            frame.info = *answer.info;
            const aprs::Packet p = aprs::decode(frame);
            check(p.type == (ack ? aprs::PacketType::Ack : aprs::PacketType::Reject) &&
                  p.addressee == addressee && p.messageNumber == number);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    for (const auto form : {aprs::InfoBytes::Raw, aprs::InfoBytes::HexEscapes}) {
        const aprs::FrameResult text = aprs::parseMonitorLine(input, form);
        check(text.frame.has_value() != !text.error.empty());
        if (text.frame)
            checkFrame(*text.frame, true);
    }
    const aprs::FrameResult raw = aprs::parseAx25Frame({data, size});
    check(raw.frame.has_value() != !raw.error.empty());
    if (raw.frame) {
        checkFrame(*raw.frame, false);
        if (const aprs::FrameResult inner = aprs::thirdPartyFrame(*raw.frame); inner.frame)
            checkPacket(*inner.frame, aprs::decode(*inner.frame));
    }
    checkBuilders(input);
    return 0;
}
