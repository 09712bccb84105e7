// SPDX-License-Identifier: GPL-2.0-or-later
#include "pklink/AgwCodec.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace agw {

namespace {

void writeU16(Bytes &frame, std::size_t at, std::uint16_t value)
{
    frame[at] = static_cast<std::uint8_t>(value & 0xFF);
    frame[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void writeU32(Bytes &frame, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        frame[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void putField(Bytes &frame, std::size_t at, std::string_view field)
{
    const std::size_t n = std::min(field.size(), CallsignFieldSize);
    for (std::size_t i = 0; i < n; ++i)
        frame[at + i] = static_cast<std::uint8_t>(field[i]);
}

// Blanks only, as the destination rules have it (no tabs).
std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    for (std::size_t hit; (hit = text.find(from, at)) != std::string_view::npos;
         at = hit + from.size()) {
        out.append(text.substr(at, hit - at));
        out.append(to);
    }
    out.append(text.substr(at));
    return out;
}

// Days from 1899-12-30 to the given proleptic Gregorian date.
std::int64_t daysFromCivil(std::int64_t y, std::int64_t m, std::int64_t d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468 + 25569; // 1970-01-01 is day 25569
}

void civilFromDays(std::int64_t days, std::int64_t &y, int &m, int &d)
{
    const std::int64_t z = days - 25569 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The heard time as whole seconds since 1899-12-30 00:00.
std::optional<std::int64_t> heardSeconds(const SystemTime &t)
{
    // Month and day roll over like a calendar date built from parts: month 13
    // is January of the next year, day 0 the last day of the month before.
    const std::int64_t months = static_cast<std::int64_t>(t.year) * 12 + t.month - 1;
    const std::int64_t year = months / 12;
    const std::int64_t month = months % 12 + 1;
    const std::int64_t days = daysFromCivil(year, month, 1) + t.day - 1;
    std::int64_t seconds = days * 86400 + t.hour * 3600LL + t.minute * 60LL + t.second;
    if (t.milliseconds > 500)
        ++seconds;
    std::int64_t y = 0;
    int m = 0, d = 0;
    civilFromDays(floorDiv(seconds, 86400), y, m, d);
    if (y < 100 || y > 9999)
        return std::nullopt;
    return seconds;
}

} // namespace

std::uint16_t readU16(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int32_t readI32(const std::uint8_t *p)
{
    const std::uint32_t v = std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) |
                            (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}

Header readHeader(const std::uint8_t *header)
{
    Header h;
    h.port = readU16(header + offset::Port);
    h.kind = static_cast<char>(header[offset::Kind]);
    h.pid = static_cast<std::int16_t>(readU16(header + offset::Pid));
    h.fromCall = callsignText(header + offset::FromCall);
    h.toCall = callsignText(header + offset::ToCall);
    h.dataLength = readI32(header + offset::DataLength);
    return h;
}

std::string upperLatin1(std::string_view text)
{
    std::string out(text);
    for (char &c : out) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7))
            c = static_cast<char>(u - 0x20);
    }
    return out;
}

std::string PadCallsign(std::string_view callsign)
{
    std::string field = upperLatin1(callsign.substr(0, CallsignFieldSize));
    field.resize(CallsignFieldSize, '\0');
    return field;
}

std::string callsignText(const std::uint8_t *field)
{
    std::size_t n = 0;
    while (n < CallsignFieldSize && field[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char *>(field), std::min<std::size_t>(n, 9));
}

Bytes buildFrame(char kind, std::uint16_t port, std::string_view fromField,
                 std::string_view toField, const std::uint8_t *data, std::size_t dataSize)
{
    Bytes frame(HeaderSize, 0);
    frame.reserve(HeaderSize + dataSize);
    writeU16(frame, offset::Port, port);
    frame[offset::Kind] = static_cast<std::uint8_t>(kind);
    putField(frame, offset::FromCall, fromField);
    putField(frame, offset::ToCall, toField);
    writeU32(frame, offset::DataLength, static_cast<std::uint32_t>(dataSize));
    if (dataSize > 0)
        frame.insert(frame.end(), data, data + dataSize);
    return frame;
}

std::optional<Bytes> loginFrame(std::string_view loginId, std::string_view password)
{
    if (loginId.size() > LoginFieldSize || password.size() > LoginFieldSize)
        return std::nullopt;
    Bytes block(2 * LoginFieldSize, 0);
    std::copy(loginId.begin(), loginId.end(), block.begin());
    std::copy(password.begin(), password.end(), block.begin() + LoginFieldSize);
    return buildFrame('P', 0, {}, {}, block.data(), block.size());
}

Destination ParseDestination(std::string_view text)
{
    std::string s(trimBlanks(text));
    s = replaceAll(s, " via ", " ");
    s = std::string(trimBlanks(s));
    s = replaceAll(s, " v ", " ");
    s = std::string(trimBlanks(s));
    s = replaceAll(s, ",", " ");
    while (s.find("  ") != std::string::npos) {
        s = std::string(trimBlanks(s));
        s = replaceAll(s, "  ", " ");
    }

    Destination result;
    int position = 0;
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t end = s.find(' ', start);
        if (end == std::string::npos)
            end = s.size();
        const std::string_view part = trimBlanks(std::string_view(s).substr(start, end - start));
        start = end + 1;
        if (part.empty())
            continue;
        if (part.size() > 9)
            return Destination{};
        if (position == 0) {
            result.destinationField = PadCallsign(part);
        } else {
            result.digipeaterFields += PadCallsign(part);
            ++result.digipeaterCount;
        }
        ++position;
    }
    result.ok = true;
    return result;
}

Bytes digipeaterList(const Destination &destination)
{
    Bytes list;
    list.reserve(1 + destination.digipeaterFields.size());
    list.push_back(static_cast<std::uint8_t>(destination.digipeaterCount));
    list.insert(list.end(), destination.digipeaterFields.begin(),
                destination.digipeaterFields.end());
    return list;
}

Bytes connectFrame(std::uint16_t port, std::string_view ownCall, const Destination &destination)
{
    if (destination.digipeaterCount == 0)
        return buildFrame('C', port, PadCallsign(ownCall), destination.destinationField);
    const Bytes list = digipeaterList(destination);
    return buildFrame('v', port, PadCallsign(ownCall), destination.destinationField, list.data(),
                      list.size());
}

std::optional<Bytes> unprotoFrame(std::uint16_t port, std::string_view ownCall,
                                  const Destination &destination, const Bytes &data)
{
    if (destination.digipeaterCount == 0) {
        if (data.size() > MaxSentDataLength)
            return std::nullopt;
        return buildFrame('M', port, PadCallsign(ownCall), destination.destinationField,
                          data.data(), data.size());
    }
    Bytes part = digipeaterList(destination);
    if (part.size() + data.size() > MaxSentDataLength)
        return std::nullopt;
    part.insert(part.end(), data.begin(), data.end());
    return buildFrame('V', port, PadCallsign(ownCall), destination.destinationField, part.data(),
                      part.size());
}

std::optional<Bytes> dataFrame(std::uint16_t port, std::string_view ownCall,
                               std::string_view remoteCall, const Bytes &data)
{
    if (data.size() > MaxSentDataLength)
        return std::nullopt;
    return buildFrame('D', port, PadCallsign(ownCall), PadCallsign(remoteCall), data.data(),
                      data.size());
}

std::optional<Bytes> kissFrame(std::uint16_t port, const Bytes &rawFrame)
{
    if (HeaderSize + 1 + rawFrame.size() > MaxSentDataLength)
        return std::nullopt;
    Bytes block;
    block.reserve(1 + rawFrame.size());
    block.push_back(0);
    block.insert(block.end(), rawFrame.begin(), rawFrame.end());
    return buildFrame('K', port, {}, {}, block.data(), block.size());
}

SystemTime readSystemTime(const std::uint8_t *p)
{
    SystemTime t;
    t.year = readU16(p);
    t.month = readU16(p + 2);
    t.dayOfWeek = readU16(p + 4);
    t.day = readU16(p + 6);
    t.hour = readU16(p + 8);
    t.minute = readU16(p + 10);
    t.second = readU16(p + 12);
    t.milliseconds = readU16(p + 14);
    return t;
}

std::optional<double> HeardTimeToDate(const SystemTime &time)
{
    const auto seconds = heardSeconds(time);
    if (!seconds)
        return std::nullopt;
    return static_cast<double>(*seconds) / 86400.0;
}

const MonthNames &englishMonthNames()
{
    static const MonthNames names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return names;
}

std::optional<std::string> formatHeardTime(const SystemTime &time, const MonthNames &months)
{
    const auto seconds = heardSeconds(time);
    if (!seconds)
        return std::nullopt;
    std::int64_t y = 0;
    int m = 0, d = 0;
    const std::int64_t day = floorDiv(*seconds, 86400);
    civilFromDays(day, y, m, d);
    const std::int64_t ofDay = *seconds - day * 86400;
    char text[32];
    std::snprintf(text, sizeof text, " %04d-%s-%02d %02d:%02d", static_cast<int>(y),
                  months[static_cast<std::size_t>(m - 1)].c_str(), d,
                  static_cast<int>(ofDay / 3600), static_cast<int>(ofDay / 60 % 60));
    return std::string(text);
}

std::optional<std::string> heardLine(std::string_view fromCall, const Bytes &data,
                                     const MonthNames &months)
{
    const std::string_view call = trimBlanks(fromCall);
    if (call.empty())
        return std::nullopt;
    const auto zero = std::find(data.begin(), data.end(), 0);
    if (zero == data.end())
        return std::nullopt;
    const std::size_t z = static_cast<std::size_t>(zero - data.begin());
    if (z + 19 + 16 > data.size())
        return std::nullopt;
    // The entry is worth showing even when the engine's clock is nonsense.
    const std::string blank(std::string_view(" yyyy-mmm-dd hh:nn").size(), ' ');
    const auto first = formatHeardTime(readSystemTime(data.data() + z + 3), months);
    const auto second = formatHeardTime(readSystemTime(data.data() + z + 19), months);
    std::string line;
    if (call.size() < 9)
        line.assign(9 - call.size(), ' ');
    line += call;
    line += first.value_or(blank);
    line += ' ';
    line += second.value_or(blank);
    return line;
}

} // namespace agw
