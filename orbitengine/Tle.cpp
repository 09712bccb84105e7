// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Tle.h"

#include "orbitengine/ElementLines.h"

#include <charconv>
#include <cmath>

namespace orbit {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

std::string_view columns(std::string_view line, size_t first, size_t last)
{
    // 1-based, inclusive; the line is known to be long enough
    return line.substr(first - 1, last - first + 1);
}

// A plain decimal number: optional sign, digits, at most one point; no
// exponent, no "inf"/"nan". Blank gives `blankValue` when one is allowed.
std::optional<double> decimal(std::string_view field, std::optional<double> blankValue = {})
{
    field = trim(field);
    if (field.empty())
        return blankValue;
    bool negative = false;
    if (field.front() == '+' || field.front() == '-') {
        negative = field.front() == '-';
        field.remove_prefix(1);
    }
    int digits = 0, points = 0;
    for (char c : field) {
        if (isDigit(c))
            ++digits;
        else if (c == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<int> integer(std::string_view field, std::optional<int> blankValue = {})
{
    field = trim(field);
    if (field.empty())
        return blankValue;
    for (char c : field)
        if (!isDigit(c))
            return std::nullopt;
    int value = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || end != field.data() + field.size())
        return std::nullopt;
    return value;
}

// The packed form " 12345-3" = +0.12345e-3 of ndot/6, bstar. Blank is 0.
std::optional<double> packedExponent(std::string_view field)
{
    if (trim(field).empty())
        return 0.0;
    // sign, five mantissa digits, exponent sign, one exponent digit; the
    // leading sign may be missing in short fields, so read from the right.
    field = trim(field);
    if (field.size() < 3)
        return std::nullopt;
    const char expDigit = field.back();
    const char expSign = field[field.size() - 2];
    if (!isDigit(expDigit) || (expSign != '+' && expSign != '-'))
        return std::nullopt;
    std::string_view mantissa = field.substr(0, field.size() - 2);
    double sign = 1;
    if (!mantissa.empty() && (mantissa.front() == '+' || mantissa.front() == '-')) {
        sign = mantissa.front() == '-' ? -1 : 1;
        mantissa.remove_prefix(1);
    }
    if (mantissa.empty() || mantissa.size() > 6)
        return std::nullopt;
    double m = 0;
    for (char c : mantissa) {
        if (!isDigit(c))
            return std::nullopt;
        m = m * 10 + (c - '0');
    }
    m /= std::pow(10.0, static_cast<double>(mantissa.size()));
    const int exponent = (expSign == '-' ? -1 : 1) * (expDigit - '0');
    return sign * m * std::pow(10.0, exponent);
}

// Julian date of 1 January 00:00 UTC of a Gregorian year.
double julianDateOfYearStart(int year)
{
    const int y = year - 1;
    const int leapDays = y / 4 - y / 100 + y / 400; // whole leap years before it
    return 1721425.5 + 365.0 * y + leapDays;
}

std::string_view stripLineEnd(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.remove_suffix(1);
    return line;
}

} // namespace

std::string normaliseName(std::string_view nameLine)
{
    nameLine = trim(nameLine);
    std::string out;
    out.reserve(nameLine.size());
    bool inBlank = false;
    for (char c : nameLine) {
        if (c == ' ' || c == '\t') {
            inBlank = true;
            continue;
        }
        if (inBlank)
            out.push_back(' ');
        inBlank = false;
        out.push_back(c);
    }
    return out;
}

int lineChecksum(std::string_view line)
{
    int sum = 0;
    for (size_t i = 0; i < line.size() && i < 68; ++i) {
        if (isDigit(line[i]))
            sum += line[i] - '0';
        else if (line[i] == '-')
            sum += 1;
    }
    return sum % 10;
}

std::optional<int> decodeCatalogNumber(std::string_view field)
{
    field = trim(field);
    if (field.empty() || field.size() > 5)
        return std::nullopt;
    const char first = field.front();
    if (first >= 'A' && first <= 'Z') {
        if (field.size() != 5)
            return std::nullopt;
        if (first == 'I' || first == 'O')
            return std::nullopt;
        int lead = first - 'A' + 10;
        if (first > 'I')
            --lead;
        if (first > 'O')
            --lead;
        const auto rest = field.substr(1);
        for (char c : rest)
            if (!isDigit(c))
                return std::nullopt;
        return lead * 10000 + *integer(rest);
    }
    return integer(field);
}

ElementHeadResult readElementHead(std::string_view line1, std::string_view line2,
                                  bool verifyChecksums)
{
    ElementHeadResult result;
    const auto fail = [&result](std::string reason) {
        result.head.reset();
        result.error = std::move(reason);
        return result;
    };
    line1 = stripLineEnd(line1);
    line2 = stripLineEnd(line2);
    const size_t needed = verifyChecksums ? 69 : 68;
    if (line1.size() < needed)
        return fail("line 1: shorter than " + std::to_string(needed) + " columns");
    if (line2.size() < needed)
        return fail("line 2: shorter than " + std::to_string(needed) + " columns");
    if (line1[0] != '1' || line1[1] != ' ')
        return fail("line 1: does not begin with \"1 \"");
    if (line2[0] != '2' || line2[1] != ' ')
        return fail("line 2: does not begin with \"2 \"");
    if (verifyChecksums) {
        if (!isDigit(line1[68]) || line1[68] - '0' != lineChecksum(line1))
            return fail("line 1: bad checksum");
        if (!isDigit(line2[68]) || line2[68] - '0' != lineChecksum(line2))
            return fail("line 2: bad checksum");
    }
    const auto number1 = decodeCatalogNumber(columns(line1, 3, 7));
    const auto number2 = decodeCatalogNumber(columns(line2, 3, 7));
    if (!number1)
        return fail("line 1: unreadable catalogue number");
    if (!number2)
        return fail("line 2: unreadable catalogue number");
    if (*number1 != *number2)
        return fail("line 2: catalogue number differs from line 1");
    const auto year = integer(columns(line1, 19, 20));
    const auto day = decimal(columns(line1, 21, 32));
    if (!year || !day || *day < 1.0 || *day >= 367.0)
        return fail("line 1: unreadable epoch");
    ElementHead head;
    head.catalogNumber = *number1;
    head.epochYear = *year < 57 ? 2000 + *year : 1900 + *year;
    head.epochDayOfYear = *day;
    head.epochJdWhole = julianDateOfYearStart(head.epochYear);
    head.epochJdFraction = *day - 1.0;
    result.head = head;
    return result;
}

ElementSetResult parseElementSet(std::string_view nameLine, std::string_view line1,
                                 std::string_view line2, bool verifyChecksums)
{
    ElementSetResult result;
    const auto fail = [&result](std::string reason) {
        result.set.reset();
        result.error = std::move(reason);
        return result;
    };
    const ElementHeadResult head = readElementHead(line1, line2, verifyChecksums);
    if (!head.head)
        return fail(head.error);
    line1 = stripLineEnd(line1);
    line2 = stripLineEnd(line2);

    ElementSet e;
    e.name = normaliseName(nameLine);
    e.catalogNumber = head.head->catalogNumber;
    e.classification = line1[7] == ' ' ? 'U' : line1[7];
    e.designator = std::string(trim(columns(line1, 10, 17)));
    e.epochYear = head.head->epochYear;
    e.epochDayOfYear = head.head->epochDayOfYear;
    e.epochJdWhole = head.head->epochJdWhole;
    e.epochJdFraction = head.head->epochJdFraction;

    const auto ndot = decimal(columns(line1, 34, 43), 0.0);
    const auto nddot = packedExponent(columns(line1, 45, 52));
    const auto bstar = packedExponent(columns(line1, 54, 61));
    const auto ephemeris = integer(columns(line1, 63, 63), 0);
    const auto elementNumber = integer(columns(line1, 65, 68), 0);
    if (!ndot)
        return fail("line 1: unreadable first derivative of mean motion");
    if (!nddot)
        return fail("line 1: unreadable second derivative of mean motion");
    if (!bstar)
        return fail("line 1: unreadable drag term");
    if (!ephemeris || !elementNumber)
        return fail("line 1: unreadable ephemeris type or element number");
    e.meanMotionDot = *ndot;
    e.meanMotionDdot = *nddot;
    e.bstar = *bstar;
    e.ephemerisType = *ephemeris;
    e.elementNumber = *elementNumber;

    const auto incl = decimal(columns(line2, 9, 16));
    const auto raan = decimal(columns(line2, 18, 25));
    const auto eccDigits = trim(columns(line2, 27, 33));
    const auto argp = decimal(columns(line2, 35, 42));
    const auto anomaly = decimal(columns(line2, 44, 51));
    const auto motion = decimal(columns(line2, 53, 63));
    const auto revolution = integer(columns(line2, 64, 68), 0);
    if (!incl)
        return fail("line 2: unreadable inclination");
    if (!raan)
        return fail("line 2: unreadable right ascension of the node");
    std::optional<int> ecc;
    if (!eccDigits.empty() && eccDigits.size() <= 7)
        ecc = integer(eccDigits);
    if (!ecc)
        return fail("line 2: unreadable eccentricity");
    if (!argp)
        return fail("line 2: unreadable argument of perigee");
    if (!anomaly)
        return fail("line 2: unreadable mean anomaly");
    if (!motion)
        return fail("line 2: unreadable mean motion");
    if (!revolution)
        return fail("line 2: unreadable revolution number");
    e.inclinationDeg = *incl;
    e.raanDeg = *raan;
    e.eccentricity = *ecc / std::pow(10.0, static_cast<double>(eccDigits.size()));
    e.argPerigeeDeg = *argp;
    e.meanAnomalyDeg = *anomaly;
    e.meanMotion = *motion;
    e.revolutionNumber = *revolution;
    result.set = std::move(e);
    return result;
}

ElementText readElementText(std::string_view text)
{
    ElementText out;
    ElementLineReader reader([&out](const ElementLines &lines) {
        auto result = parseElementSet(lines.name, lines.line1, lines.line2);
        if (result.set) {
            out.sets.push_back(std::move(*result.set));
            return;
        }
        // "line 1: ..." of the set becomes the line number in the text.
        out.skipped.push_back(setFailureReason(lines.line1Number, result.error));
    });
    reader.feed(text);
    reader.finish();
    return out;
}

std::string setFailureReason(std::uint64_t line1Number, const std::string &error)
{
    std::uint64_t lineNumber = line1Number;
    std::string reason = error;
    if (reason.rfind("line 2: ", 0) == 0)
        ++lineNumber;
    if (reason.rfind("line ", 0) == 0 && reason.size() > 8)
        reason = reason.substr(8);
    return "line " + std::to_string(lineNumber) + ": " + reason;
}

} // namespace orbit
