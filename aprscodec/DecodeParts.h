// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The decoder's pieces, shared by its source files; not for use outside
// aprscodec.

#include "aprscodec/Frame.h"
#include "aprscodec/Packet.h"

#include <optional>
#include <string>
#include <string_view>

namespace aprs::detail {

inline constexpr double feetToMetres = 0.3048;

// The symbol characters as read, before they are checked: table '/' and code
// ' ' mean none was read, as in decode_aprs, whose address fallback they trigger.
struct SymbolChars
{
    char table = '/';
    char code = ' ';
};

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}
inline bool isUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}
inline bool isLower(char c)
{
    return c >= 'a' && c <= 'z';
}
inline bool isBase91(char c)
{
    return c >= '!' && c <= '{';
}

// Keeps the first problem; later ones add nothing the operator needs.
void note(Packet &packet, std::string problem);

// "ddmm.hhN" / "dddmm.hhW" at the front of `field`, as decode_aprs reads them:
// blanks for ambiguity read as zeros, lower-case hemisphere letters accepted.
// Values beyond 90 or 180 degrees are refused.
std::optional<double> readLatitude(std::string_view field, int &ambiguity, std::string &error);
std::optional<double> readLongitude(std::string_view field, std::string &error);

// The 19 bytes of an uncompressed position from `body` (latitude, table,
// longitude, code) into `packet`; returns what follows them.
std::string_view readUncompressed(std::string_view body, Packet &packet, SymbolChars &symbol);

// The 13 bytes of a compressed position (table, latitude, longitude, code,
// course/speed or altitude or range, type); returns what follows them.
std::string_view readCompressed(std::string_view body, Packet &packet, SymbolChars &symbol);

// A position in either form followed by its comment, as positions and objects
// carry them: a weather station's data into `weather`, other comments through
// the data extension and the comment extensions into `text`.
void readPositionAndComment(std::string_view body, Packet &packet, SymbolChars &symbol,
                            bool weatherAllowed);

// The 7-byte data extension that may open the comment of an uncompressed
// position (course/speed, PHG, RNG, DFS, area), then the comment extensions.
std::string readDataExtension(std::string_view comment, Packet &packet);

// Takes out what decode_aprs takes out of a comment, in its order: frequency,
// tone / DCS / offset / range at the front, |base-91 telemetry|, !DAO! (which
// refines the position), /A=altitude.
void takeCommentExtensions(std::string &comment, Packet &packet);

// "ddhhmmz", "ddhhmm/" or "hhmmssh" (the last only where `hmsAllowed`).
std::optional<Timestamp> readTimestamp(std::string_view field, bool hmsAllowed);

// Mic-E: latitude and message from the destination, the rest from `frame.info`.
void decodeMicE(const Frame &frame, Packet &packet, SymbolChars &symbol);

// One trailing LF, then one trailing CR, dropped (as decode_aprs prints texts).
void dropLineEnd(std::string &text);

} // namespace aprs::detail
