// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Element sets in the two-line form, with or without the name line in front.
// Pure functions over text, so that they can be fuzzed.
namespace orbit {

struct ElementSet
{
    std::string name;      // name line, trimmed, runs of blanks folded to one ("" if none)
    int catalogNumber = 0; // Alpha-5 decoded: "A0000" is 100000, "Z9999" 339999
    char classification = 'U';
    std::string designator;    // international designator, columns 10-17, trimmed
    int epochYear = 0;         // four digits: 57-99 are 19xx, 00-56 are 20xx
    double epochDayOfYear = 0; // 1.0 = 1 January 00:00 UTC
    double epochJdWhole = 0;   // Julian date of the epoch (UTC) = whole + fraction
    double epochJdFraction = 0;
    double meanMotionDot = 0;  // first derivative of mean motion / 2, rev/day^2
    double meanMotionDdot = 0; // second derivative / 6, rev/day^3
    double bstar = 0;          // drag term, 1/Earth radii
    int ephemerisType = 0;
    int elementNumber = 0;
    double inclinationDeg = 0;
    double raanDeg = 0; // right ascension of the ascending node, degrees
    double eccentricity = 0;
    double argPerigeeDeg = 0;
    double meanAnomalyDeg = 0;
    double meanMotion = 0; // revolutions per day
    int revolutionNumber = 0;

    double epochJd() const { return epochJdWhole + epochJdFraction; }
};

struct ElementSetResult
{
    std::optional<ElementSet> set; // empty on failure
    std::string error;             // reason when empty, e.g. "line 1: bad checksum"
};

// The name line as it is looked up: trimmed, every run of blanks and tabs one blank.
std::string normaliseName(std::string_view nameLine);

// Checksum of the first 68 columns of an element line: digits count their
// value, "-" counts 1, everything else 0; modulo 10.
int lineChecksum(std::string_view line);

// Five columns of a catalogue number: digits (blanks in front allowed) or the
// Alpha-5 form (a letter A-Z without I and O for the ten-thousands, then four digits).
std::optional<int> decodeCatalogNumber(std::string_view field);

// What locates an element set and decides between two of one name, read
// without the rest of its fields: catalogue number and epoch.
struct ElementHead
{
    int catalogNumber = 0;
    int epochYear = 0;
    double epochDayOfYear = 0;
    double epochJdWhole = 0;
    double epochJdFraction = 0;

    double epochJd() const { return epochJdWhole + epochJdFraction; }
};

struct ElementHeadResult
{
    std::optional<ElementHead> head; // empty on failure
    std::string error;               // reason when empty, as parseElementSet gives it
};

// The checks of the two lines' shape, checksums, catalogue numbers and epoch,
// the first that parseElementSet makes, and the fields they read.
ElementHeadResult readElementHead(std::string_view line1, std::string_view line2,
                                  bool verifyChecksums = true);

// Reads one element set from its two lines (trailing CR and blanks allowed).
// With verifyChecksums false the checksum column is not looked at.
ElementSetResult parseElementSet(std::string_view nameLine, std::string_view line1,
                                 std::string_view line2, bool verifyChecksums = true);

struct ElementText
{
    std::vector<ElementSet> sets;     // in file order
    std::vector<std::string> skipped; // one reason per set not taken, "line N: ..."
};

// Reads every element set in the three-line form (name, line 1, line 2) from
// a text with CR LF or LF line ends; blank lines and other text around the
// sets are skipped, a set with a bad checksum or field is skipped with a reason.
ElementText readElementText(std::string_view text);

// A set's failure "line 1: reason" or "line 2: reason" as the line of the
// text it is on, "line N: reason", given the number of its line 1.
std::string setFailureReason(std::uint64_t line1Number, const std::string &error);

} // namespace orbit
