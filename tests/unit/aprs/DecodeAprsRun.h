// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Runs Dire Wolf's decode_aprs over input lines and splits what it prints
// into one record per line. decode_aprs echoes each input line, then prints
// errors in red and its reading in blue: a first line (type, name, symbol,
// maker, Mic-E message, PHG, range), a location line (position, speed, course,
// altitude, frequency) when it has one, then weather, telemetry and comment
// lines. The first two begin with their colour code; the others continue it.

#include <string>
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

} // namespace aprstest
