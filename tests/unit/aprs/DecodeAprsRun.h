// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Runs Dire Wolf's decode_aprs over input lines and splits what it prints
// into one record per line. decode_aprs echoes each input line, then prints
// errors in red and its reading in blue: a first line (type, name, symbol,
// maker, Mic-E message, PHG, range), a location line (position, speed, course,
// altitude, frequency) when it has one, then weather, telemetry and comment
// lines. The first two begin with their colour code; the others continue it.

#include "aprscodec/Packet.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace aprstest {

struct DecodeAprsLine
{
    std::string text;             // without colour codes
    bool reading = false;         // printed in the colour of decoded fields
    bool opensWithColour = false; // a colour code starts the line
};

// The lines decode_aprs printed after echoing one input line.
using DecodeAprsRecord = std::vector<DecodeAprsLine>;

// One record per input line, in order; empty and `error` set when
// decode_aprs cannot be run or its output does not echo every input line.
std::vector<DecodeAprsRecord> runDecodeAprs(const std::vector<std::string> &inputLines,
                                            std::string &error);

// Text with decode_aprs's "<0xNN>" escapes turned back into bytes.
std::string unescape(const std::string &text);

// decode_aprs's reading of one packet, taken from its printed lines.
struct Reading
{
    aprs::PacketType type = aprs::PacketType::Other;
    bool killed = false;
    std::string name;
    std::string addressee;
    std::string number;
    std::string afterKind; // the first line after its type and name: ", symbol, maker, ..."
    bool latitudeShown = false, longitudeShown = false;
    double latitude = 0, longitude = 0;
    std::optional<double> mph, course, feet;
    std::optional<std::string> comment;
};

// The reading of one record; `weather`: the packet carries weather data, whose
// line decode_aprs prints before the comment.
Reading readingOf(const DecodeAprsRecord &record, bool weather);

// The text of `s` between `from` and the next `to` (or its end); empty
// when `from` is not in it.
std::string between(const std::string &s, std::string_view from, std::string_view to);

// A position packet with `symbol`, whose reading names the symbol: how
// decode_aprs describes a symbol is learnt from it.
std::string probeLine(const aprs::Symbol &symbol);

} // namespace aprstest
