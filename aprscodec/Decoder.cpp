// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprscodec/Decoder.h"

#include "aprscodec/DecodeParts.h"

#include <array>

namespace aprs {

std::string_view typeName(PacketType type)
{
    switch (type) {
    case PacketType::Position:
        return "position";
    case PacketType::Status:
        return "status";
    case PacketType::Message:
        return "message";
    case PacketType::Ack:
        return "ack";
    case PacketType::Reject:
        return "reject";
    case PacketType::Object:
        return "object";
    case PacketType::Item:
        return "item";
    case PacketType::Telemetry:
        return "telemetry";
    case PacketType::Other:
        break;
    }
    return "other";
}

namespace detail {

void note(Packet &packet, std::string problem)
{
    if (packet.problem.empty())
        packet.problem = std::move(problem);
}

void dropLineEnd(std::string &text)
{
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    if (!text.empty() && text.back() == '\r')
        text.pop_back();
}

} // namespace detail

namespace {

using namespace detail;

// `s` from byte `n` on; empty when it is shorter.
std::string_view after(std::string_view s, std::size_t n)
{
    return n < s.size() ? s.substr(n) : std::string_view();
}

char charAt(std::string_view s, std::size_t i)
{
    return i < s.size() ? s[i] : '\0';
}

bool isAlnum(char c)
{
    return isDigit(c) || isUpper(c) || isLower(c);
}

char upper(char c)
{
    return isLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string_view dropTrailing(std::string_view s, std::string_view what)
{
    while (!s.empty() && what.find(s.back()) != std::string_view::npos)
        s.remove_suffix(1);
    return s;
}

// A message number: 1-5 letters or digits, then optionally the reply-ack form
// "}" and 0-5 more. Trailing blanks and line ends are not part of it.
bool readNumber(std::string_view field, Packet &packet)
{
    field = dropTrailing(field, " \r\n");
    const std::size_t brace = field.find('}');
    const std::string_view number = field.substr(0, brace);
    const std::string_view reply =
        brace == std::string_view::npos ? std::string_view() : field.substr(brace + 1);
    const auto alnumRun = [](std::string_view s, std::size_t least) {
        if (s.size() < least || s.size() > 5)
            return false;
        for (char c : s)
            if (!isAlnum(c))
                return false;
        return true;
    };
    if (!alnumRun(number, 1) || !alnumRun(reply, 0))
        return false;
    packet.messageNumber = std::string(number);
    packet.replyAck = std::string(reply);
    return true;
}

void decodeMessage(std::string_view info, Packet &packet)
{
    if (info.size() < 11 || info[10] != ':') {
        packet.type = PacketType::Other;
        note(packet, "message without a 9-character addressee between colons");
        packet.text = std::string(info);
        return;
    }
    packet.addressee = std::string(dropTrailing(info.substr(1, 9), " "));
    const std::string_view body = info.substr(11);

    static constexpr std::array<std::string_view, 4> metadata = {"PARM.", "UNIT.", "EQNS.",
                                                                 "BITS."};
    for (std::string_view prefix : metadata)
        if (body.starts_with(prefix)) {
            packet.type = PacketType::Telemetry; // names, units, equations or bit sense
            return;
        }
    if (body.starts_with('?')) {
        packet.type = PacketType::Other; // a query directed to the addressee
        packet.text = std::string(info);
        return;
    }
    if ((body.starts_with("ack") || body.starts_with("rej")) &&
        readNumber(body.substr(3), packet)) {
        packet.type = body.starts_with("ack") ? PacketType::Ack : PacketType::Reject;
        return;
    }
    packet.type = PacketType::Message;
    const std::size_t brace = body.find('{');
    if (brace != std::string_view::npos && readNumber(body.substr(brace + 1), packet)) {
        packet.text = std::string(body.substr(0, brace));
        return;
    }
    if (brace != std::string_view::npos)
        note(packet, "message number is not 1-5 letters or digits");
    packet.text = std::string(body);
}

void decodeObject(std::string_view info, Packet &packet, SymbolChars &symbol)
{
    if (info.size() < 11 || (info[10] != '*' && info[10] != '_')) {
        packet.type = PacketType::Other;
        note(packet, "object without a 9-character name and \"*\" or \"_\"");
        packet.text = std::string(info);
        return;
    }
    packet.type = PacketType::Object;
    packet.name = std::string(dropTrailing(info.substr(1, 9), " "));
    packet.killed = info[10] == '_';
    packet.timestamp = readTimestamp(after(info, 11), true);
    if (!packet.timestamp)
        note(packet, "object timestamp is not ddhhmmz, ddhhmm/ or hhmmssh");
    readPositionAndComment(after(info, 18), packet, symbol, true);
}

void decodeItem(std::string_view info, Packet &packet, SymbolChars &symbol)
{
    std::size_t end = 1;
    while (end < info.size() && end < 10 && info[end] != '!' && info[end] != '_')
        ++end;
    if (end == info.size() || (info[end] != '!' && info[end] != '_')) {
        packet.type = PacketType::Other;
        note(packet, "item name is not ended by \"!\" or \"_\" within 9 characters");
        packet.text = std::string(info);
        return;
    }
    packet.type = PacketType::Item;
    packet.name = std::string(info.substr(1, end - 1));
    packet.killed = info[end] == '_';
    readPositionAndComment(after(info, end + 1), packet, symbol, false);
}

// The Maidenhead locator of 4 or 6 characters at the front of `s`, or 0.
std::size_t locatorLength(std::string_view s)
{
    const auto field = [](char c) { return upper(c) >= 'A' && upper(c) <= 'R'; };
    const auto square = [](char c) { return upper(c) >= 'A' && upper(c) <= 'X'; };
    if (s.size() < 4 || !field(s[0]) || !field(s[1]) || !isDigit(s[2]) || !isDigit(s[3]))
        return 0;
    return s.size() >= 6 && square(s[4]) && square(s[5]) ? 6 : 4;
}

void locatorCentre(std::string_view locator, Packet &packet)
{
    double lon = (upper(locator[0]) - 'A') * 20 - 180 + (locator[2] - '0') * 2;
    double lat = (upper(locator[1]) - 'A') * 10 - 90 + (locator[3] - '0');
    if (locator.size() == 6) {
        lon += (upper(locator[4]) - 'A') * 5 / 60.0 + 2.5 / 60.0;
        lat += (upper(locator[5]) - 'A') * 2.5 / 60.0 + 1.25 / 60.0;
    } else {
        lon += 1;
        lat += 0.5;
    }
    packet.latitude = lat;
    packet.longitude = lon;
}

void decodeStatus(std::string_view info, Packet &packet, SymbolChars &symbol)
{
    packet.type = PacketType::Status;
    bool stamped = info.size() >= 8 && info[7] == 'z';
    for (std::size_t i = 1; stamped && i < 7; ++i)
        stamped = isDigit(info[i]);
    std::size_t textStart = 1;
    if (stamped) {
        packet.timestamp = readTimestamp(info.substr(1, 7), false);
        if (!packet.timestamp)
            note(packet, "status timestamp is not a day and time");
        textStart = 8;
    } else if (const std::size_t n = locatorLength(after(info, 1))) {
        // ">IO91SX/- text": locator, symbol table and code, a blank.
        packet.format = PositionFormat::Locator;
        packet.locator = std::string(info.substr(1, n));
        locatorCentre(packet.locator, packet);
        const char table = charAt(info, 1 + n);
        symbol.table =
            table == '/' || table == '\\' || isUpper(table) || isDigit(table) ? table : '/';
        symbol.code = charAt(info, 2 + n);
        textStart = 4 + n;
    }
    packet.text = std::string(after(info, textStart));
    // "^hp" at the very end: beam heading and power of a meteor-scatter station.
    if (packet.text.size() >= 3 && packet.text[packet.text.size() - 3] == '^')
        packet.text.resize(packet.text.size() - 3);
}

std::optional<double> analogValue(std::string_view field)
{
    while (!field.empty() && field.front() == ' ')
        field.remove_prefix(1);
    while (!field.empty() && field.back() == ' ')
        field.remove_suffix(1);
    if (field.empty())
        return std::nullopt;
    std::size_t i = field.front() == '-' || field.front() == '+' ? 1 : 0;
    double value = 0, scale = 0;
    int digits = 0;
    for (; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '.' && scale == 0) {
            scale = 1;
        } else if (isDigit(c)) {
            ++digits;
            if (scale == 0) {
                value = value * 10 + (c - '0');
            } else {
                scale /= 10;
                value += (c - '0') * scale;
            }
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    return field.front() == '-' ? -value : value;
}

void decodeTelemetry(std::string_view info, Packet &packet)
{
    if (!info.starts_with("T#")) {
        packet.type = PacketType::Other;
        packet.text = std::string(info);
        return;
    }
    packet.type = PacketType::Telemetry;
    Telemetry telemetry;
    std::string_view rest = dropTrailing(info.substr(2), "\r\n");
    std::size_t comma = rest.find(',');
    telemetry.sequence = std::string(rest.substr(0, comma));
    std::size_t analogCount = 0;
    while (comma != std::string_view::npos && analogCount < telemetry.analog.size()) {
        rest = rest.substr(comma + 1);
        comma = rest.find(',');
        const std::string_view field = rest.substr(0, comma);
        telemetry.analog[analogCount] = analogValue(field);
        if (!telemetry.analog[analogCount] && !field.empty())
            note(packet, "telemetry value " + std::to_string(analogCount + 1) + " is not a number");
        ++analogCount;
    }
    if (analogCount < telemetry.analog.size() || comma == std::string_view::npos) {
        note(packet, "telemetry has fewer than five values and the digital bits");
    } else {
        const std::string_view bits = rest.substr(comma + 1);
        telemetry.digital = std::string(bits.substr(0, 8));
        packet.text = std::string(after(bits, 8));
    }
    packet.telemetry = std::move(telemetry);
}

// APRS 1.0.1 chapter 20: a symbol in a GPSxyz, SPCxyz or SYMxyz destination
// (xy the two-character code of appendix 2, z an overlay), or the source SSID.
std::optional<SymbolChars> symbolFromDestination(std::string_view dest)
{
    if (dest.size() < 5)
        return std::nullopt;
    if (dest.starts_with("GPSC") || dest.starts_with("GPSE")) {
        int n = 0;
        for (std::size_t i = 4; i < dest.size() && isDigit(dest[i]) && n < 1000; ++i)
            n = n * 10 + (dest[i] - '0');
        if (n >= 1 && n <= 94)
            return SymbolChars{dest[3] == 'C' ? '/' : '\\', static_cast<char>(' ' + n)};
    }
    if (!dest.starts_with("GPS") && !dest.starts_with("SPC") && !dest.starts_with("SYM"))
        return std::nullopt;
    const char x = dest[3], y = dest[4];
    const auto span = [y](char first, char last, char base) -> char {
        return y >= first && y <= last ? static_cast<char>(base + (y - first)) : '\0';
    };
    // The groups of the table: ! to /, 0 to 9, : to @, A to Z, [ to `, a to z, { to ~.
    const auto code = [&](std::string_view letters) -> char {
        if (x == letters[0])
            return span('B', 'P', '!');
        if (x == letters[1])
            return isDigit(y) ? y : span('A', 'Z', 'A');
        if (x == letters[2])
            return span('R', 'X', ':');
        if (x == letters[3])
            return span('S', 'X', '[');
        if (x == letters[4])
            return span('A', 'Z', 'a');
        if (x == letters[5])
            return span('1', '4', '{');
        return '\0';
    };
    if (const char primary = code("BPMHLJ"))
        return SymbolChars{'/', primary};
    if (const char alternate = code("OANDSQ")) {
        const char z = charAt(dest, 5);
        return SymbolChars{isUpper(z) || isDigit(z) ? z : '\\', alternate};
    }
    return std::nullopt;
}

constexpr std::array<char, 16> ssidSymbols = {' ', 'a', 'U', 'f', 'b', 'Y', 'X', '\'',
                                              's', '>', '<', 'O', 'j', 'R', 'k', 'v'};

void symbolFromAddress(const Frame &frame, bool micE, SymbolChars &symbol, Packet &packet)
{
    std::optional<SymbolChars> found;
    if (!micE)
        found = symbolFromDestination(frame.destination.callsign);
    if (!found && frame.source.ssid >= 1 && frame.source.ssid <= 15)
        found = SymbolChars{'/', ssidSymbols[static_cast<std::size_t>(frame.source.ssid)]};
    if (found) {
        symbol = *found;
        packet.symbolFromAddress = true;
    }
}

bool isSymbolTable(char c)
{
    return c == '/' || c == '\\' || isDigit(c) || isUpper(c);
}

} // namespace

Packet decode(const Frame &frame)
{
    Packet packet;
    SymbolChars symbol;
    const std::string_view info = frame.info;
    const char type = charAt(info, 0);
    switch (type) {
    case '!':
    case '=':
        if (info.starts_with("!!")) { // an Ultimeter weather station's log line
            packet.text = std::string(info);
            break;
        }
        packet.type = PacketType::Position;
        readPositionAndComment(after(info, 1), packet, symbol, true);
        break;
    case '/':
    case '@':
        packet.type = PacketType::Position;
        packet.timestamp = readTimestamp(after(info, 1), true);
        if (!packet.timestamp)
            note(packet, "position timestamp is not ddhhmmz, ddhhmm/ or hhmmssh");
        readPositionAndComment(after(info, 8), packet, symbol, true);
        break;
    case '`':
    case '\'':
        packet.type = PacketType::Position;
        decodeMicE(frame, packet, symbol);
        break;
    case ':':
        decodeMessage(info, packet);
        break;
    case ';':
        decodeObject(info, packet, symbol);
        break;
    case ')':
        decodeItem(info, packet, symbol);
        break;
    case '>':
        decodeStatus(info, packet, symbol);
        break;
    case 'T':
        decodeTelemetry(info, packet);
        break;
    default:
        packet.text = std::string(info);
        break;
    }

    if (symbol.table == ' ' || symbol.code == ' ')
        symbolFromAddress(frame, type == '`' || type == '\'', symbol, packet);
    if (isSymbolTable(symbol.table) && symbol.code >= '!' && symbol.code <= '~')
        packet.symbol = Symbol{symbol.table, symbol.code};

    if (packet.type != PacketType::Other)
        dropLineEnd(packet.text);
    return packet;
}

} // namespace aprs
