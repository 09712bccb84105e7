// SPDX-License-Identifier: GPL-2.0-or-later
// Mic-E: the latitude, the message bits, north/south, the longitude offset and
// west/east in the six destination characters; longitude, speed, course and
// symbol in the eight information bytes after the data type identifier; then
// the type bytes, an optional "xxx}" altitude and the comment.
//
//   destination  char 1-3: digit '0'-'9', custom 'A'-'J' ('K' blank), standard
//                'P'-'Y' ('Z' blank), 'L' blank; chars 4-6: '0'-'9' / 'L' for
//                south, +0, east, 'P'-'Y' / 'Z' for north, +100, west.
//   information  d+28 m+28 h+28 (longitude), SP+28 DC+28 SE+28, code, table.
#include "aprscodec/DecodeParts.h"

#include <array>

namespace aprs::detail {
namespace {

struct DestinationDigit
{
    int value = 0;
    bool blank = false;
    enum class Kind { Plain, Custom, Standard } kind = Kind::Plain;
};

std::optional<DestinationDigit> destinationDigit(char c, bool messageBitsAllowed)
{
    using Kind = DestinationDigit::Kind;
    if (isDigit(c))
        return DestinationDigit{c - '0', false, Kind::Plain};
    if (c == 'L')
        return DestinationDigit{0, true, Kind::Plain};
    if (c >= 'P' && c <= 'Y')
        return DestinationDigit{c - 'P', false, Kind::Standard};
    if (c == 'Z')
        return DestinationDigit{0, true, Kind::Standard};
    if (!messageBitsAllowed)
        return std::nullopt;
    if (c >= 'A' && c <= 'J')
        return DestinationDigit{c - 'A', false, Kind::Custom};
    if (c == 'K')
        return DestinationDigit{0, true, Kind::Custom};
    return std::nullopt;
}

constexpr std::array<std::string_view, 8> standardStatus = {"Emergency", "Priority",  "Special",
                                                            "Committed", "Returning", "In Service",
                                                            "En Route",  "Off Duty"};
constexpr std::array<std::string_view, 8> customStatus = {"Emergency", "Custom-6", "Custom-5",
                                                          "Custom-4",  "Custom-3", "Custom-2",
                                                          "Custom-1",  "Custom-0"};

// The latitude and message from the destination; false if it is not a Mic-E one.
bool readDestination(std::string_view dest, Packet &packet, MicEInfo &mic, bool &north,
                     bool &offset100, bool &west)
{
    if (dest.size() < 6)
        return false;
    std::array<DestinationDigit, 6> d;
    int standardBits = 0, customBits = 0, blanks = 0;
    for (std::size_t i = 0; i < 6; ++i) {
        const auto digit = destinationDigit(dest[i], i < 3);
        if (!digit)
            return false;
        d[i] = *digit;
        const int bit = i < 3 ? 4 >> i : 0;
        if (digit->kind == DestinationDigit::Kind::Standard)
            standardBits |= bit;
        else if (digit->kind == DestinationDigit::Kind::Custom)
            customBits |= bit;
        if (digit->blank)
            ++blanks;
    }
    packet.ambiguity = blanks;
    north = d[3].kind == DestinationDigit::Kind::Standard;
    offset100 = d[4].kind == DestinationDigit::Kind::Standard;
    west = d[5].kind == DestinationDigit::Kind::Standard;

    if (standardBits != 0 && customBits != 0) {
        mic.mixedMessage = true;
        mic.status = "Unknown MIC-E Message Type";
    } else if (customBits != 0) {
        mic.customMessage = true;
        mic.messageCode = customBits;
        mic.status = customStatus[static_cast<std::size_t>(customBits)];
    } else {
        mic.messageCode = standardBits;
        mic.status = standardStatus[static_cast<std::size_t>(standardBits)];
    }

    if (d[2].value > 5) {
        note(packet, "Mic-E latitude minutes beyond 59");
        return true;
    }
    const double degrees =
        d[0].value * 10 + d[1].value +
        (d[2].value * 10 + d[3].value + d[4].value * 0.1 + d[5].value * 0.01) / 60.0;
    if (degrees > 90)
        note(packet, "Mic-E latitude beyond 90 degrees");
    else
        packet.latitude = north ? degrees : -degrees;
    return true;
}

std::optional<double> readLongitude(std::string_view bytes, bool offset100)
{
    const int d = static_cast<unsigned char>(bytes[0]);
    const int m = static_cast<unsigned char>(bytes[1]);
    const int h = static_cast<unsigned char>(bytes[2]);
    int degrees = 0;
    if (offset100 && d >= 118 && d <= 127)
        degrees = d - 118; // 0-9
    else if (!offset100 && d >= 38 && d <= 127)
        degrees = d - 38 + 10; // 10-99
    else if (offset100 && d >= 108 && d <= 117)
        degrees = d - 108 + 100; // 100-109
    else if (offset100 && d >= 38 && d <= 107)
        degrees = d - 38 + 110; // 110-179
    else
        return std::nullopt;
    int minutes = 0;
    if (m >= 88 && m <= 97)
        minutes = m - 88; // 0-9
    else if (m >= 38 && m <= 87)
        minutes = m - 38 + 10; // 10-59
    else
        return std::nullopt;
    if (h < 28 || h > 127)
        return std::nullopt;
    return degrees + (minutes + (h - 28) / 100.0) / 60.0;
}

struct DeviceRule
{
    char first;           // type byte after the symbol
    std::string_view end; // the last bytes it pairs with ("" for none)
    std::string_view device;
};

// The type bytes as decode_aprs knows them, most specific first; a rule's end
// bytes are taken off the comment with its first byte.
constexpr std::array<DeviceRule, 22> deviceRules = {{
    {' ', "", "Original MIC-E"},
    {'>', "=", "Kenwood TH-D72"},
    {'>', "^", "Kenwood TH-D74"},
    {'>', "", "Kenwood TH-D7A"},
    {']', "=", "Kenwood TM-D710"},
    {']', "", "Kenwood TM-D700"},
    {'`', "_ ", "Yaesu VX-8"},
    {'`', "_\"", "Yaesu FTM-350"},
    {'`', "_#", "Yaesu VX-8G"},
    {'`', "_$", "Yaesu FT1D"},
    {'`', "_%", "Yaesu FTM-400DR"},
    {'`', "_)", "Yaesu FTM-100D"},
    {'`', "_(", "Yaesu FT2D"},
    {'`', "_0", "Yaesu FT3D"},
    {'`', " X", "AP510"},
    {'`', "(5", "Anytone D578UV"},
    {'`', "", "Mic-Emsg"},
    {'\'', "(8", "Anytone D878UV"},
    {'\'', "|3", "Byonics TinyTrack3"},
    {'\'', "|4", "Byonics TinyTrack4"},
    {'\'', ":4", "SCS GmbH & Co. P4dragon DR-7400 modems"},
    {'\'', ":8", "SCS GmbH & Co. P4dragon DR-7800 modems"},
}};

// The one rule for a "'" that matches no end above.
constexpr DeviceRule mcTrackr = {'\'', "", "McTrackr"};

const DeviceRule *deviceRule(std::string_view rest)
{
    if (rest.empty())
        return nullptr;
    for (const DeviceRule &rule : deviceRules) {
        if (rule.first != rest.front())
            continue;
        if (rule.end.empty() || (rest.size() > rule.end.size() && rest.ends_with(rule.end)))
            return &rule;
    }
    return rest.front() == '\'' ? &mcTrackr : nullptr;
}

} // namespace

void decodeMicE(const Frame &frame, Packet &packet, SymbolChars &symbol)
{
    packet.format = PositionFormat::MicE;
    MicEInfo mic;
    bool north = false, offset100 = false, west = false;
    const bool destinationOk =
        readDestination(frame.destination.callsign, packet, mic, north, offset100, west);
    if (!destinationOk)
        note(packet, "destination is not a Mic-E latitude (six of 0-9, A-L, P-Z)");

    const std::string_view info = frame.info;
    if (info.size() < 9)
        note(packet, "Mic-E information field is cut short");

    if (info.size() >= 4 && destinationOk) {
        if (const auto longitude = readLongitude(info.substr(1, 3), offset100))
            packet.longitude = west ? -*longitude : *longitude;
        else
            note(packet, "Mic-E longitude byte out of range");
    }

    if (info.size() >= 7) {
        const int sp = static_cast<unsigned char>(info[4]) - 28;
        const int dc = static_cast<unsigned char>(info[5]) - 28;
        const int se = static_cast<unsigned char>(info[6]) - 28;
        if (sp < 0 || sp > 99 || dc < 0 || dc > 99 || se < 0 || se > 99) {
            note(packet, "Mic-E speed/course byte out of range");
        } else {
            int knots = sp * 10 + dc / 10;
            if (knots >= 800)
                knots -= 800;
            int course = (dc % 10) * 100 + se;
            if (course >= 400)
                course -= 400;
            packet.speedKnots = knots;
            // 0 is "unknown", 360 north.
            if (course == 360)
                packet.courseDeg = 0;
            else if (course > 0 && course < 360)
                packet.courseDeg = course;
            else if (course > 360)
                note(packet, "Mic-E course beyond 360 degrees");
        }
    }

    if (info.size() >= 9) {
        symbol.code = info[7];
        const char table = info[8];
        symbol.table =
            table == '/' || table == '\\' || isUpper(table) || isDigit(table) ? table : '/';
    } else {
        symbol.code = '\0';
    }

    std::string_view rest = info.size() > 9 ? info.substr(9) : std::string_view();
    if (!rest.empty() && rest.back() == '\r')
        rest.remove_suffix(1);
    if (const DeviceRule *rule = deviceRule(rest)) {
        mic.device = rule->device;
        rest.remove_prefix(1);
        rest.remove_suffix(std::min(rule->end.size(), rest.size()));
    }

    if (rest.size() >= 4 && rest[3] == '}') {
        if (isBase91(rest[0]) && isBase91(rest[1]) && isBase91(rest[2]))
            packet.altitudeM =
                (rest[0] - '!') * 91 * 91 + (rest[1] - '!') * 91 + (rest[2] - '!') - 10000;
        else
            note(packet, "Mic-E altitude byte outside base 91");
        rest.remove_prefix(4);
    }
    packet.micE = mic;
    packet.text = std::string(rest);
    takeCommentExtensions(packet.text, packet);
}

} // namespace aprs::detail
