// SPDX-License-Identifier: GPL-2.0-or-later
// Positions in their two plain forms, the data extension after them and the
// timestamps before them.
#include "aprscodec/DecodeParts.h"

#include <cmath>

namespace aprs::detail {
namespace {

constexpr std::size_t uncompressedLength = 19;
constexpr std::size_t compressedLength = 13;
constexpr std::size_t dataExtensionLength = 7;

// A digit or, for ambiguity, a blank (counted); `highest` bounds the digit.
bool readMinuteDigit(char c, char highest, int &value, int &blanks)
{
    if (c == ' ') {
        ++blanks;
        value = 0;
        return true;
    }
    if (c < '0' || c > highest)
        return false;
    value = c - '0';
    return true;
}

// "mm.hh" of either coordinate: minutes, blanks counted.
std::optional<double> readMinutes(std::string_view mm, int &blanks)
{
    int m0 = 0, m1 = 0, h0 = 0, h1 = 0;
    if (!readMinuteDigit(mm[0], '5', m0, blanks) || !readMinuteDigit(mm[1], '9', m1, blanks) ||
        mm[2] != '.' || !readMinuteDigit(mm[3], '9', h0, blanks) ||
        !readMinuteDigit(mm[4], '9', h1, blanks))
        return std::nullopt;
    return m0 * 10 + m1 + h0 * 0.1 + h1 * 0.01;
}

int base91(std::string_view four)
{
    int value = 0;
    for (char c : four)
        value = value * 91 + (c - '!');
    return value;
}

// decode_aprs reads these fields with sscanf("%3d"): leading blanks, then digits.
std::optional<int> leadingNumber(std::string_view field)
{
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    if (i == field.size() || !isDigit(field[i]))
        return std::nullopt;
    int value = 0;
    while (i < field.size() && isDigit(field[i]))
        value = value * 10 + (field[i++] - '0');
    return value;
}

bool isCourseSpeedChar(char c)
{
    return isDigit(c) || c == ' ' || c == '.';
}

} // namespace

std::optional<double> readLatitude(std::string_view field, int &ambiguity, std::string &error)
{
    if (field.size() < 8) {
        error = "latitude is cut short";
        return std::nullopt;
    }
    int blanks = 0;
    const auto minutes = readMinutes(field.substr(2, 5), blanks);
    if (!isDigit(field[0]) || !isDigit(field[1]) || !minutes) {
        error = "latitude is not ddmm.hh";
        return std::nullopt;
    }
    const char hemisphere = field[7];
    if (hemisphere != 'N' && hemisphere != 'n' && hemisphere != 'S' && hemisphere != 's') {
        error = "latitude hemisphere is not N or S";
        return std::nullopt;
    }
    const double degrees = (field[0] - '0') * 10 + (field[1] - '0') + *minutes / 60.0;
    if (degrees > 90) {
        error = "latitude beyond 90 degrees";
        return std::nullopt;
    }
    ambiguity = blanks;
    return hemisphere == 'S' || hemisphere == 's' ? -degrees : degrees;
}

std::optional<double> readLongitude(std::string_view field, std::string &error)
{
    if (field.size() < 9) {
        error = "longitude is cut short";
        return std::nullopt;
    }
    int blanks = 0;
    const auto minutes = readMinutes(field.substr(3, 5), blanks);
    if ((field[0] != '0' && field[0] != '1') || !isDigit(field[1]) || !isDigit(field[2]) ||
        !minutes) {
        error = "longitude is not dddmm.hh";
        return std::nullopt;
    }
    const char hemisphere = field[8];
    if (hemisphere != 'E' && hemisphere != 'e' && hemisphere != 'W' && hemisphere != 'w') {
        error = "longitude hemisphere is not E or W";
        return std::nullopt;
    }
    const double degrees =
        (field[0] - '0') * 100 + (field[1] - '0') * 10 + (field[2] - '0') + *minutes / 60.0;
    if (degrees > 180) {
        error = "longitude beyond 180 degrees";
        return std::nullopt;
    }
    return hemisphere == 'W' || hemisphere == 'w' ? -degrees : degrees;
}

std::string_view readUncompressed(std::string_view body, Packet &packet, SymbolChars &symbol)
{
    packet.format = PositionFormat::Uncompressed;
    std::string error;
    packet.latitude = readLatitude(body, packet.ambiguity, error);
    if (!packet.latitude)
        note(packet, error);
    if (body.size() > 8)
        symbol.table = body[8];
    packet.longitude = body.size() > 9 ? readLongitude(body.substr(9), error) : std::nullopt;
    if (!packet.longitude)
        note(packet, body.size() > 9 ? error : "longitude is cut short");
    if (body.size() >= uncompressedLength)
        symbol.code = body[18];
    else
        symbol.code = '\0';
    return body.size() > uncompressedLength ? body.substr(uncompressedLength) : std::string_view();
}

std::string_view readCompressed(std::string_view body, Packet &packet, SymbolChars &symbol)
{
    packet.format = PositionFormat::Compressed;
    if (body.size() < 10) {
        note(packet, "compressed position is cut short");
        symbol.code = '\0';
        return {};
    }
    const char table = body[0];
    if (table == '/' || table == '\\' || isUpper(table))
        symbol.table = table;
    else if (table >= 'a' && table <= 'j')
        symbol.table = static_cast<char>(table - 'a' + '0'); // overlays 0-9 sent as a-j
    else
        symbol.table = '/'; // decode_aprs falls back to the primary table
    symbol.code = body[9];

    const std::string_view y = body.substr(1, 4);
    const std::string_view x = body.substr(5, 4);
    const auto allBase91 = [](std::string_view s) {
        for (char c : s)
            if (!isBase91(c))
                return false;
        return true;
    };
    if (!allBase91(y)) {
        note(packet, "compressed latitude has a byte outside base 91");
    } else {
        const double latitude = 90 - base91(y) / 380926.0;
        if (latitude < -90)
            note(packet, "compressed latitude beyond 90 degrees");
        else
            packet.latitude = latitude;
    }
    if (!allBase91(x)) {
        note(packet, "compressed longitude has a byte outside base 91");
    } else {
        const double longitude = -180 + base91(x) / 190463.0;
        if (longitude > 180)
            note(packet, "compressed longitude beyond 180 degrees");
        else
            packet.longitude = longitude;
    }

    if (body.size() < compressedLength)
        return {};
    const char c = body[10], s = body[11], t = body[12];
    if (c == ' ')
        return body.substr(compressedLength); // no course/speed, altitude or range
    if (!isBase91(c) || !isBase91(s) || !isBase91(t)) {
        note(packet, "compressed course/speed bytes outside base 91");
        return body.substr(compressedLength);
    }
    if (((t - '!') & 0x18) == 0x10) {
        // The altitude form (GGA source): feet, 1.002 to the power cs.
        packet.altitudeM = std::pow(1.002, (c - '!') * 91 + (s - '!')) * feetToMetres;
    } else if (c == '{') {
        // Pre-calculated radio range: nothing the station keeps.
    } else {
        packet.courseDeg = (c - '!') * 4;
        packet.speedKnots = std::pow(1.08, s - '!') - 1.0;
    }
    return body.substr(compressedLength);
}

void readPositionAndComment(std::string_view body, Packet &packet, SymbolChars &symbol,
                            bool weatherAllowed)
{
    const bool uncompressed = !body.empty() && isDigit(body.front());
    const std::string_view rest = uncompressed ? readUncompressed(body, packet, symbol)
                                               : readCompressed(body, packet, symbol);
    if (weatherAllowed && symbol.code == '_') {
        // A weather station: decode_aprs shows its data instead of a comment,
        // and a compressed position's course and speed are the wind's.
        packet.weather = std::string(rest);
        dropLineEnd(*packet.weather);
        packet.courseDeg.reset();
        packet.speedKnots.reset();
        return;
    }
    if (uncompressed) {
        packet.text = readDataExtension(rest, packet);
    } else {
        packet.text = std::string(rest);
        takeCommentExtensions(packet.text, packet);
    }
}

std::string readDataExtension(std::string_view comment, Packet &packet)
{
    std::string text;
    // decode_aprs looks at neither extensions nor comment extensions in a
    // comment shorter than the data extension itself.
    if (comment.size() < dataExtensionLength)
        return std::string(comment);

    // Extensions taken out but not kept: area object "Tyy/Cxx", power/height/
    // gain, radio range, DF signal strength.
    const bool fixedExtension = (comment[0] == 'T' && comment[3] == '/' && comment[4] == 'C') ||
                                comment.starts_with("PHG") || comment.starts_with("RNG") ||
                                comment.starts_with("DFS");
    if (comment[3] == '/' && isCourseSpeedChar(comment[0]) && isCourseSpeedChar(comment[1]) &&
        isCourseSpeedChar(comment[2]) && isCourseSpeedChar(comment[4]) &&
        isCourseSpeedChar(comment[5]) && isCourseSpeedChar(comment[6])) {
        // Course/speed "ccc/sss", degrees and knots; "..." or blanks unknown.
        const auto course = leadingNumber(comment.substr(0, 3));
        if (course && *course > 360)
            note(packet, "course beyond 360 degrees");
        else
            packet.courseDeg = course;
        if (const auto speed = leadingNumber(comment.substr(4, 3)))
            packet.speedKnots = *speed;
        // A DF report's bearing and number/range/quality "/bbb/nrq" follow.
        if (comment.size() >= 12 && comment[7] == '/' && comment[11] == '/')
            text = comment.substr(std::min<std::size_t>(15, comment.size()));
        else
            text = comment.substr(dataExtensionLength);
    } else if (fixedExtension) {
        text = comment.substr(dataExtensionLength);
    } else {
        text = comment;
    }
    takeCommentExtensions(text, packet);
    return text;
}

std::optional<Timestamp> readTimestamp(std::string_view field, bool hmsAllowed)
{
    if (field.size() < 7)
        return std::nullopt;
    for (std::size_t i = 0; i < 6; ++i)
        if (!isDigit(field[i]))
            return std::nullopt;
    const int a = (field[0] - '0') * 10 + (field[1] - '0');
    const int b = (field[2] - '0') * 10 + (field[3] - '0');
    const int c = (field[4] - '0') * 10 + (field[5] - '0');
    Timestamp stamp;
    switch (field[6]) {
    case 'z':
    case '/':
        if (a < 1 || a > 31 || b > 23 || c > 59)
            return std::nullopt;
        stamp.form = field[6] == 'z' ? Timestamp::Form::DayHourMinuteUtc
                                     : Timestamp::Form::DayHourMinuteLocal;
        stamp.day = a;
        stamp.hour = b;
        stamp.minute = c;
        return stamp;
    case 'h':
        if (!hmsAllowed || a > 23 || b > 59 || c > 59)
            return std::nullopt;
        stamp.form = Timestamp::Form::HourMinuteSecondUtc;
        stamp.hour = a;
        stamp.minute = b;
        stamp.second = c;
        return stamp;
    default:
        return std::nullopt;
    }
}

} // namespace aprs::detail
