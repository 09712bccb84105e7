// SPDX-License-Identifier: GPL-2.0-or-later
// What decode_aprs takes out of a comment before it shows it, in its order and
// with its patterns (written out by hand: no regular expressions on the hot path).
#include "aprscodec/DecodeParts.h"

#include <algorithm>

namespace aprs::detail {
namespace {

bool isOneOf(char c, std::string_view set)
{
    return set.find(c) != std::string_view::npos;
}

bool isDigitIn(char c, char highest)
{
    return c >= '0' && c <= highest;
}

// Length of `pattern` matched at the front of `s`, or 0. Pattern letters:
// 'd' a digit, 'o' an octal digit, 'f' a digit or blank, anything else a set
// given in `sets` by its index ('0' - '9').
std::size_t matchAt(std::string_view s, std::string_view pattern,
                    std::initializer_list<std::string_view> sets = {})
{
    if (s.size() < pattern.size())
        return 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char p = pattern[i];
        const char c = s[i];
        bool ok = false;
        if (p == 'd')
            ok = isDigit(c);
        else if (p == 'o')
            ok = isDigitIn(c, '7');
        else if (p == 'f')
            ok = isDigit(c) || c == ' ';
        else if (p >= '0' && p <= '9')
            ok = isOneOf(c, *(sets.begin() + (p - '0')));
        else
            ok = c == p;
        if (!ok)
            return 0;
    }
    return pattern.size();
}

// A pattern that may follow one "/" or blank at the start of the comment
// (decode_aprs's "^[/ ]?..."): the length taken from the front, or 0.
std::size_t frontMatch(std::string_view comment, std::string_view pattern,
                       std::initializer_list<std::string_view> sets = {})
{
    const std::size_t lead = !comment.empty() && (comment[0] == '/' || comment[0] == ' ') ? 1 : 0;
    const std::size_t n = matchAt(comment.substr(lead), pattern, sets);
    return n == 0 ? 0 : lead + n;
}

constexpr std::string_view frequencyLead = "0123456789ABCDEFGHIJKLMNO";
constexpr std::string_view toneLetters = "TtCc";

// A frequency "146.520MHz" at the front (the lead letters A-O stand for GHz bands).
std::size_t frequencyAt(std::string_view comment)
{
    return frontMatch(comment, "0dd.ddf123", {frequencyLead, "Mm", "Hh", "Zz"});
}

// One of tone "T100", tone off "Toff", DCS "D023", offset "+060", range "R25m".
std::size_t radioFieldAt(std::string_view comment)
{
    if (std::size_t n = frontMatch(comment, "01dd", {toneLetters, "012"}))
        return n;
    if (std::size_t n = frontMatch(comment, "0123", {toneLetters, "Oo", "Ff", "Ff"}))
        return n;
    if (std::size_t n = frontMatch(comment, "0ooo", {"Dd"}))
        return n;
    if (std::size_t n = frontMatch(comment, "0ddd", {"+-"}))
        return n;
    return frontMatch(comment, "0dd1", {"Rr", "mk"});
}

// "|ss1122...|": 4 to 14 base-91 bytes between bars. Returns the start, or npos.
std::size_t base91TelemetryAt(std::string_view comment, std::size_t &length)
{
    for (std::size_t i = 0; i < comment.size(); ++i) {
        if (comment[i] != '|')
            continue;
        std::size_t run = 0;
        while (i + 1 + run < comment.size() && isBase91(comment[i + 1 + run]))
            ++run;
        if (run >= 4 && run <= 14 && i + 1 + run < comment.size() && comment[i + 1 + run] == '|') {
            length = run + 2;
            return i;
        }
    }
    return std::string_view::npos;
}

bool isDaoBody(char d, char a, char o)
{
    const auto digitOrBlank = [](char c) { return isDigit(c) || c == ' '; };
    const auto base91OrBlank = [](char c) { return isBase91(c) || c == ' '; };
    if (isUpper(d) && digitOrBlank(a) && digitOrBlank(o))
        return true;
    if (isLower(d) && base91OrBlank(a) && base91OrBlank(o))
        return true;
    return d == 'T' && (digitOrBlank(a) || a == 'B') && digitOrBlank(o);
}

double awayFromZero(double value)
{
    return value >= 0 ? 1.0 : -1.0;
}

// The !DAO! datum extension: one more digit of minutes (upper-case datum
// letter) or almost two in base 91 (lower case). "T" is APRStt's own.
void refineByDao(char d, char a, char o, Packet &packet)
{
    if (d == 'T')
        return;
    double latStep = 0, lonStep = 0;
    if (isUpper(d)) {
        latStep = isDigit(a) ? (a - '0') / 60000.0 : 0;
        lonStep = isDigit(o) ? (o - '0') / 60000.0 : 0;
    } else {
        latStep = isBase91(a) ? (a - '!') * 1.1 / 600000.0 : 0;
        lonStep = isBase91(o) ? (o - '!') * 1.1 / 600000.0 : 0;
    }
    if (packet.latitude)
        packet.latitude =
            std::clamp(*packet.latitude + latStep * awayFromZero(*packet.latitude), -90.0, 90.0);
    if (packet.longitude)
        packet.longitude = std::clamp(*packet.longitude + lonStep * awayFromZero(*packet.longitude),
                                      -180.0, 180.0);
}

} // namespace

void takeCommentExtensions(std::string &comment, Packet &packet)
{
    if (const std::size_t n = frequencyAt(comment))
        comment.erase(0, n);
    while (const std::size_t n = radioFieldAt(comment))
        comment.erase(0, n);

    std::size_t length = 0;
    if (const std::size_t at = base91TelemetryAt(comment, length); at != std::string::npos)
        comment.erase(at, length);

    for (std::size_t i = 0; i + 4 < comment.size(); ++i) {
        if (comment[i] == '!' && comment[i + 4] == '!' &&
            isDaoBody(comment[i + 1], comment[i + 2], comment[i + 3])) {
            refineByDao(comment[i + 1], comment[i + 2], comment[i + 3], packet);
            comment.erase(i, 5);
            break;
        }
    }

    for (std::size_t i = 0; i + 9 <= comment.size(); ++i) {
        if (matchAt(std::string_view(comment).substr(i), "/A=dddddd")) {
            int feet = 0;
            for (std::size_t k = i + 3; k < i + 9; ++k)
                feet = feet * 10 + (comment[k] - '0');
            packet.altitudeM = feet * feetToMetres;
            comment.erase(i, 9);
            break;
        }
    }
}

} // namespace aprs::detail
