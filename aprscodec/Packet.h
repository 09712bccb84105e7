// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// What one APRS information field says, as decode() reads it. Fields that
// the packet does not carry, or carries in a form that cannot be read, are
// empty; `problem` then says why. Texts are Latin-1 bytes.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace aprs {

enum class PacketType {
    Position,  // '!' '=' '/' '@' (also weather reports), Mic-E '`' '\''
    Status,    // '>'
    Message,   // ':' to a station, a group or a bulletin
    Ack,       // ':' ... "ack" + number
    Reject,    // ':' ... "rej" + number
    Object,    // ';'
    Item,      // ')'
    Telemetry, // "T#" and the PARM. UNIT. EQNS. BITS. messages
    Other      // anything else; `text` holds the whole information field
};

// "position", "status", "message", "ack", "reject", "object", "item",
// "telemetry", "other".
std::string_view typeName(PacketType type);

// Where the position came from.
enum class PositionFormat { None, Uncompressed, Compressed, MicE, Locator };

struct Symbol
{
    char table = '/'; // '/' primary, '\\' alternate, or the overlay ('0'-'9', 'A'-'Z')
    char code = '-';  // '!' to '~'

    // Table character, then code character: "/>".
    std::string text() const { return {table, code}; }

    bool operator==(const Symbol &) const = default;
};

struct Timestamp
{
    enum class Form {
        DayHourMinuteUtc,   // "092345z"
        DayHourMinuteLocal, // "092345/"
        HourMinuteSecondUtc // "234517h"
    };
    Form form = Form::DayHourMinuteUtc;
    int day = 0; // 1-31; 0 in the HMS form
    int hour = 0;
    int minute = 0;
    int second = 0; // 0 in the DHM forms
};

struct MicEInfo
{
    // The three message bits of the destination: 7 "Off Duty" ... 1 "Priority";
    // 0 is "Emergency" whichever kind.
    int messageCode = 0;
    bool customMessage = false; // the bits were sent as custom (A-K) characters
    bool mixedMessage = false;  // standard and custom bits mixed: no defined message
    std::string_view status;    // "En Route", "Custom-3", "Emergency", ... ("" when the
                                // destination is no Mic-E one)
    std::string_view device;    // from the type bytes: "Kenwood TM-D710", ... ("" unknown)
};

struct Telemetry
{
    std::string sequence; // as sent (digits, or "MIC")
    std::array<std::optional<double>, 5> analog;
    std::string digital; // the eight '0'/'1' as sent (fewer when the packet is short)
};

struct Packet
{
    PacketType type = PacketType::Other;

    std::optional<double> latitude;  // degrees, north positive
    std::optional<double> longitude; // degrees, east positive
    PositionFormat format = PositionFormat::None;
    int ambiguity = 0;   // blanked latitude digits (read as zeros, as decode_aprs does)
    std::string locator; // Maidenhead locator of a status; the position is its centre

    std::optional<Symbol> symbol;
    bool symbolFromAddress = false; // none in the information field: from the destination
                                    // (GPSxyz, SPCxyz, SYMxyz) or the source SSID

    std::optional<Timestamp> timestamp;
    std::optional<int> courseDeg;     // degrees, 0-360, as sent
    std::optional<double> speedKnots; // knots (the unit APRS sends); see speedKmh()
    std::optional<double> altitudeM;  // metres

    std::string name;    // object or item name, trailing blanks removed
    bool killed = false; // object or item killed

    std::string addressee;     // message, ack, reject, telemetry metadata, query
    std::string messageNumber; // message number, or the number acked or rejected
    std::string replyAck;      // the "AA" of a reply-ack "{MM}AA"

    // Comment of a position, object or item with the data extensions taken out
    // (course/speed, PHG, RNG, DFS, /A=, !DAO!, frequency and tone, |telemetry|);
    // status text; message text without its number; telemetry comment; the
    // whole information field of Other.
    std::string text;

    std::optional<MicEInfo> micE;
    std::optional<Telemetry> telemetry;
    // A weather station's position or object (symbol code '_'): the weather
    // data after the position, unparsed; decode_aprs shows no comment for it.
    std::optional<std::string> weather;

    std::string problem; // why a field was left out; empty when all were read

    std::optional<double> speedKmh() const
    {
        if (!speedKnots)
            return std::nullopt;
        return *speedKnots * 1.852;
    }
};

} // namespace aprs
