// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// Callsign rules and the station coordinate conversions shared by the whole
// program.
namespace ORXUtil {

// An AX.25 station address: a base of one to six characters A-Z or 0-9,
// optionally "-" and an SSID of one or two digits, 0 to 15. Lower case is
// not accepted. "Q9ZZZ-5", "Q9ZZZ-05" and "NODIGI" are valid.
bool IsValidCallsign(const QString &text);

// True when the key may be typed into a callsign box: control codes up to 13
// (backspace, tab, return), digits, upper-case letters and "-".
bool IsCallsignKey(int code);

// The key filter every callsign and coordinate box applies first: a to z
// become A to Z, every other code is returned unchanged.
int UpperCaseKey(int code);

// Stored latitude "DDMM.HHN" / "DDMM.HHS" to degrees, north positive.
// Text not ending in N or S (upper case) gives 0.
double LatToDegrees(const QString &text);

// Stored longitude "DDDMM.HHE" / "DDDMM.HHW" to degrees, east positive.
// Text not ending in E or W (upper case) gives 0.
double LongToDegrees(const QString &text);

} // namespace ORXUtil
