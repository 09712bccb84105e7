// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprscodec/Frame.h"

namespace aprs {
namespace {

constexpr std::size_t addressBytes = 7;
constexpr std::size_t callsignLength = 6;
constexpr std::uint8_t uiControl = 0x03;
constexpr std::uint8_t pollFinal = 0x10;
constexpr std::uint8_t commandOrRepeated = 0x80;
constexpr std::uint8_t reservedBits = 0x60;
constexpr std::uint8_t lastAddress = 0x01;

bool isCallsignChar(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

constexpr char hexDigits[] = "0123456789abcdef";

std::string hexByte(std::uint8_t byte)
{
    return {hexDigits[byte >> 4], hexDigits[byte & 0x0F]};
}

bool isHex(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

// "<0xNN>" at the front of `s`.
bool startsWithHexEscape(std::string_view s)
{
    return s.size() >= 6 && s[0] == '<' && s[1] == '0' && s[2] == 'x' && isHex(s[3]) &&
           isHex(s[4]) && s[5] == '>';
}

// One address of monitor text: CALL[-SSID][*]. `what` names it in errors.
std::optional<Ax25Address> readAddress(std::string_view text, bool starAllowed,
                                       std::string_view what, std::string &error)
{
    Ax25Address address;
    if (starAllowed && !text.empty() && text.back() == '*') {
        address.repeated = true;
        text.remove_suffix(1);
    }
    const std::size_t dash = text.find('-');
    const std::string_view call = text.substr(0, dash);
    if (call.empty() || call.size() > callsignLength) {
        error = std::string(what) + ": \"" + std::string(call) + "\" is not 1-6 characters";
        return std::nullopt;
    }
    for (char c : call)
        if (!isCallsignChar(c)) {
            error = std::string(what) + ": \"" + std::string(call) +
                    "\" holds a character other than a letter or digit";
            return std::nullopt;
        }
    address.callsign = std::string(call);
    if (dash != std::string_view::npos) {
        const std::string_view digits = text.substr(dash + 1);
        int ssid = 0;
        bool ok = !digits.empty() && digits.size() <= 2;
        for (std::size_t i = 0; ok && i < digits.size(); ++i) {
            ok = digits[i] >= '0' && digits[i] <= '9';
            ssid = ssid * 10 + (digits[i] - '0');
        }
        if (!ok || ssid > 15) {
            error = std::string(what) + ": SSID \"" + std::string(digits) + "\" is not 0-15";
            return std::nullopt;
        }
        address.ssid = ssid;
    }
    return address;
}

std::string decodeEscapes(std::string_view info)
{
    std::string out;
    out.reserve(info.size());
    for (std::size_t i = 0; i < info.size();) {
        if (startsWithHexEscape(info.substr(i))) {
            out += static_cast<char>(hexValue(info[i + 3]) * 16 + hexValue(info[i + 4]));
            i += 6;
        } else {
            out += info[i++];
        }
    }
    return out;
}

void appendEscaped(std::string &out, std::string_view info)
{
    for (std::size_t i = 0; i < info.size(); ++i) {
        const auto byte = static_cast<unsigned char>(info[i]);
        if (byte < 0x20 || byte == 0x7F || (byte == '<' && startsWithHexEscape(info.substr(i)))) {
            out += "<0x" + hexByte(byte) + '>';
        } else {
            out += info[i];
        }
    }
}

// One 7-byte address of a raw frame.
std::optional<Ax25Address> readRawAddress(std::span<const std::uint8_t> bytes,
                                          std::string_view what, std::string &error)
{
    Ax25Address address;
    bool padding = false;
    for (std::size_t i = 0; i < callsignLength; ++i) {
        const std::uint8_t byte = bytes[i];
        const char c = static_cast<char>(byte >> 1);
        if ((byte & 1) != 0) {
            error = std::string(what) + ": address ends before its seventh byte";
            return std::nullopt;
        }
        if (c == ' ') {
            padding = true;
            continue;
        }
        if (padding || !isCallsignChar(c)) {
            error = std::string(what) + ": callsign byte " + std::to_string(i + 1) +
                    " is not a letter or digit";
            return std::nullopt;
        }
        address.callsign += c;
    }
    if (address.callsign.empty()) {
        error = std::string(what) + ": empty callsign";
        return std::nullopt;
    }
    address.ssid = (bytes[6] >> 1) & 0x0F;
    address.repeated = (bytes[6] & commandOrRepeated) != 0;
    return address;
}

void appendRawAddress(std::vector<std::uint8_t> &out, const Ax25Address &address, bool highBit,
                      bool last)
{
    for (std::size_t i = 0; i < callsignLength; ++i) {
        const char c = i < address.callsign.size() ? address.callsign[i] : ' ';
        out.push_back(static_cast<std::uint8_t>(static_cast<unsigned char>(c) << 1));
    }
    std::uint8_t ssidByte = reservedBits | static_cast<std::uint8_t>((address.ssid & 0x0F) << 1);
    if (highBit)
        ssidByte |= commandOrRepeated;
    if (last)
        ssidByte |= lastAddress;
    out.push_back(ssidByte);
}

} // namespace

std::string Ax25Address::text() const
{
    if (ssid == 0)
        return callsign;
    return callsign + '-' + std::to_string(ssid);
}

bool Frame::repeatedBy(std::string_view station) const
{
    for (const Ax25Address &digi : path)
        if (digi.repeated && digi.text() == station)
            return true;
    return false;
}

FrameResult parseMonitorLine(std::string_view line, InfoBytes info)
{
    FrameResult result;
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        result.error = "no \":\" before the information field";
        return result;
    }
    const std::string_view header = line.substr(0, colon);
    const std::size_t arrow = header.find('>');
    if (arrow == std::string_view::npos) {
        result.error = "no \">\" after the source";
        return result;
    }
    Frame frame;
    auto source = readAddress(header.substr(0, arrow), false, "source", result.error);
    if (!source)
        return result;
    frame.source = *source;

    std::string_view rest = header.substr(arrow + 1);
    std::size_t comma = rest.find(',');
    auto destination = readAddress(rest.substr(0, comma), false, "destination", result.error);
    if (!destination)
        return result;
    frame.destination = *destination;

    while (comma != std::string_view::npos) {
        rest = rest.substr(comma + 1);
        comma = rest.find(',');
        if (frame.path.size() == maxDigipeaters) {
            result.error = "more than 8 digipeaters";
            return result;
        }
        const std::string what = "digipeater " + std::to_string(frame.path.size() + 1);
        auto digi = readAddress(rest.substr(0, comma), true, what, result.error);
        if (!digi)
            return result;
        // "*" marks the last repeater heard; those before it have repeated too.
        if (digi->repeated)
            for (Ax25Address &earlier : frame.path)
                earlier.repeated = true;
        frame.path.push_back(*digi);
    }

    const std::string_view infoText = line.substr(colon + 1);
    frame.info = info == InfoBytes::HexEscapes ? decodeEscapes(infoText) : std::string(infoText);
    result.frame = std::move(frame);
    return result;
}

std::string monitorLine(const Frame &frame, InfoBytes info)
{
    std::size_t lastRepeated = 0; // 1-based; 0 when none
    for (std::size_t i = 0; i < frame.path.size(); ++i)
        if (frame.path[i].repeated)
            lastRepeated = i + 1;

    std::string out = frame.source.text() + '>' + frame.destination.text();
    for (std::size_t i = 0; i < frame.path.size(); ++i) {
        out += ',';
        out += frame.path[i].text();
        if (i + 1 == lastRepeated)
            out += '*';
    }
    out += ':';
    if (info == InfoBytes::HexEscapes)
        appendEscaped(out, frame.info);
    else
        out += frame.info;
    return out;
}

FrameResult parseAx25Frame(std::span<const std::uint8_t> bytes)
{
    FrameResult result;
    std::size_t count = 0;
    while (true) {
        if (bytes.size() < (count + 1) * addressBytes) {
            result.error = "frame ends inside its address field";
            return result;
        }
        const bool last = (bytes[(count + 1) * addressBytes - 1] & lastAddress) != 0;
        ++count;
        if (last)
            break;
        if (count == 2 + maxDigipeaters) {
            result.error = "more than 8 digipeaters";
            return result;
        }
    }
    if (count < 2) {
        result.error = "fewer than two addresses";
        return result;
    }

    Frame frame;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string what = i == 0   ? std::string("destination")
                                 : i == 1 ? std::string("source")
                                          : "digipeater " + std::to_string(i - 1);
        auto address =
            readRawAddress(bytes.subspan(i * addressBytes, addressBytes), what, result.error);
        if (!address)
            return result;
        if (i == 0) {
            address->repeated = false; // the command bit, not a repeat
            frame.destination = *address;
        } else if (i == 1) {
            address->repeated = false;
            frame.source = *address;
        } else {
            frame.path.push_back(*address);
        }
    }

    const std::size_t control = count * addressBytes;
    if (bytes.size() < control + 2) {
        result.error = "frame ends before its control and PID bytes";
        return result;
    }
    if ((bytes[control] & ~pollFinal) != uiControl) {
        result.error = "not a UI frame (control 0x" + hexByte(bytes[control]) + ")";
        return result;
    }
    frame.pid = bytes[control + 1];
    const auto infoBytes = bytes.subspan(control + 2);
    frame.info.assign(infoBytes.begin(), infoBytes.end());
    result.frame = std::move(frame);
    return result;
}

std::vector<std::uint8_t> ax25Frame(const Frame &frame)
{
    std::vector<std::uint8_t> out;
    out.reserve((2 + frame.path.size()) * addressBytes + 2 + frame.info.size());
    appendRawAddress(out, frame.destination, true, false);
    appendRawAddress(out, frame.source, false, frame.path.empty());
    for (std::size_t i = 0; i < frame.path.size(); ++i)
        appendRawAddress(out, frame.path[i], frame.path[i].repeated, i + 1 == frame.path.size());
    out.push_back(uiControl);
    out.push_back(frame.pid);
    out.insert(out.end(), frame.info.begin(), frame.info.end());
    return out;
}

FrameResult thirdPartyFrame(const Frame &frame)
{
    if (frame.info.empty() || frame.info.front() != '}')
        return {std::nullopt, "not a third-party packet"};
    return parseMonitorLine(std::string_view(frame.info).substr(1));
}

} // namespace aprs
