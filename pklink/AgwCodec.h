// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The AGWPE TCP/IP frame codec: plain C++ over byte buffers, no Qt.
//
// Every message in either direction is a frame: a 36-byte header, then a data
// part whose length the header gives. Integers are little-endian.
//
//   offset size field
//     0     2   port       engine port, 0-based (0 in frames about no port)
//     2     2   reserved   0
//     4     1   kind       one ASCII letter, case-sensitive ('M', 'U', ...)
//     5     1   reserved   0
//     6     1   PID        written 0; bytes 6-7 are read as the PID of 'D'
//     7     1   reserved   0
//     8    10   from-call  callsign, upper case, zero-filled (or all zero)
//    18    10   to-call    callsign, upper case, zero-filled (or all zero)
//    28     4   data length, signed 32-bit
//    32     4   user       0
//
// Sample: a UI frame "TEST" from Q9ZZZ to CQ on port 1 (engine port 0),
// kind 'M', 40 bytes:
//
//   00 00 00 00 4D 00 00 00  51 39 5A 5A 5A 00 00 00   ....M...Q9ZZZ...
//   00 00 43 51 00 00 00 00  00 00 00 00 04 00 00 00   ..CQ............
//   00 00 00 00 54 45 53 54                            ....TEST
//
// Texts (callsigns, login) are Latin-1, one byte per character; they travel
// here as std::string holding those bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace agw {

using Bytes = std::vector<std::uint8_t>;

// The wire constants keep the names of the AGWPE documentation.
// NOLINTBEGIN(readability-identifier-naming)
inline constexpr std::size_t HeaderSize = 36;
inline constexpr std::size_t CallsignFieldSize = 10;
// No frame we send carries more data than a signed 16-bit count holds.
inline constexpr std::size_t MaxSentDataLength = 32767;
// No engine sends frames with more data than this; a longer (or negative)
// received length means the stream is garbage.
inline constexpr std::int32_t MaxReceivedDataLength = 8192;
// Each of the login id and the password takes a 255-byte field.
inline constexpr std::size_t LoginFieldSize = 255;
inline constexpr int MaxDigipeaters = 8;

namespace offset {
inline constexpr std::size_t Port = 0;
inline constexpr std::size_t Kind = 4;
inline constexpr std::size_t Pid = 6;
inline constexpr std::size_t FromCall = 8;
inline constexpr std::size_t ToCall = 18;
inline constexpr std::size_t DataLength = 28;
} // namespace offset
// NOLINTEND(readability-identifier-naming)

// A received header, read.
struct Header
{
    std::uint16_t port = 0;
    char kind = 0;
    std::int16_t pid = 0;
    std::string fromCall;
    std::string toCall;
    std::int32_t dataLength = 0;
};

// Reads the 36 bytes at `header`.
Header readHeader(const std::uint8_t *header);

std::uint16_t readU16(const std::uint8_t *p);
std::int32_t readI32(const std::uint8_t *p);

// Latin-1 upper case: a-z and the accented lower-case letters that have an
// upper-case form in Latin-1 (not the German sharp s, not y-diaeresis).
std::string upperLatin1(std::string_view text);

// The 10-byte callsign field: upper-cased, zero-filled. Callers pass 1 to 9
// characters; anything past ten is cut off.
std::string PadCallsign(std::string_view callsign);

// The callsign text of a received 10-byte field: cut before the first zero
// byte, at most 9 characters.
std::string callsignText(const std::uint8_t *field);

// A frame: header with `kind`, `port`, the given (already padded, or empty
// for all zero) callsign fields and the data length, then `data`.
Bytes buildFrame(char kind, std::uint16_t port, std::string_view fromField,
                 std::string_view toField, const std::uint8_t *data = nullptr,
                 std::size_t dataSize = 0);

// The login frame 'P'; nothing when the id or the password is longer than 255.
std::optional<Bytes> loginFrame(std::string_view loginId, std::string_view password);

// The result of reading a destination text such as "APZ324 via WIDE1-1,WIDE2-1".
struct Destination
{
    bool ok = false;
    std::string destinationField; // 10 bytes, or empty when no destination was given
    std::string digipeaterFields; // 10 bytes per digipeater, in order
    int digipeaterCount = 0;
};

// Separators between destination and digipeaters: blanks, ",", and the lower-
// case words " via " and " v ". A part longer than 9 characters fails.
Destination ParseDestination(std::string_view text);

// The digipeater list of 'v' and 'V': the count byte, then the fields.
Bytes digipeaterList(const Destination &destination);

// 'C' (no digipeaters) or 'v'.
Bytes connectFrame(std::uint16_t port, std::string_view ownCall, const Destination &destination);
// 'M' (no digipeaters) or 'V'; nothing when the data part would pass 32767 bytes.
std::optional<Bytes> unprotoFrame(std::uint16_t port, std::string_view ownCall,
                                  const Destination &destination, const Bytes &data);
// 'D'; nothing when the data passes 32767 bytes.
std::optional<Bytes> dataFrame(std::uint16_t port, std::string_view ownCall,
                               std::string_view remoteCall, const Bytes &data);
// 'K' with the raw frame block (a zero byte, then the frame); nothing when the
// whole frame would pass 32767 bytes.
std::optional<Bytes> kissFrame(std::uint16_t port, const Bytes &rawFrame);

// A Windows SYSTEMTIME as the engine sends it in heard-list answers.
struct SystemTime
{
    std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0;
    std::uint16_t hour = 0, minute = 0, second = 0, milliseconds = 0;
};

SystemTime readSystemTime(const std::uint8_t *p);

// Days since 1899-12-30 00:00 (the day of the week is ignored, milliseconds
// above 500 round the second up, months and days out of range roll over into
// the next ones). Nothing for a date outside the years 100 to 9999.
std::optional<double> HeardTimeToDate(const SystemTime &time);

// Three-letter month abbreviations, January first, one byte per character.
using MonthNames = std::array<std::string, 12>;
const MonthNames &englishMonthNames();

// " yyyy-mmm-dd hh:nn" of a heard time, with the month's abbreviation from
// `months`. Nothing for a time HeardTimeToDate refuses.
std::optional<std::string> formatHeardTime(const SystemTime &time,
                                           const MonthNames &months = englishMonthNames());

// The MhData line of a heard-list answer: the callsign right-aligned in 9
// characters, then the two times; a time that cannot be formatted is left
// blank (as many blanks as a time takes). Nothing when the callsign is empty,
// the data has no zero byte, or the times run past its end.
std::optional<std::string> heardLine(std::string_view fromCall, const Bytes &data,
                                     const MonthNames &months = englishMonthNames());

} // namespace agw
