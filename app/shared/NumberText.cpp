// SPDX-License-Identifier: GPL-2.0-or-later
#include "shared/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace orvex {
namespace {

bool isSkipped(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Exponents beyond this already overflow or underflow any double, so longer
// exponent digit strings need not be read in full.
constexpr long exponentCap = 100000;

} // namespace

double leadingNumber(const QString &text)
{
    std::u16string chars;
    chars.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text)
        if (!isSkipped(c.unicode()))
            chars.push_back(c.unicode());

    size_t i = 0;
    bool negative = false;
    if (i < chars.size() && (chars[i] == u'+' || chars[i] == u'-')) {
        negative = chars[i] == u'-';
        ++i;
    }
    std::string mantissa;
    bool seenPoint = false;
    bool seenDigit = false;
    // Decimal position of the first significant digit: the magnitude of the
    // mantissa lies in [10^lead, 10^(lead+1)).
    long lead = 0;
    long integerDigits = 0;
    long fractionZeros = 0;
    bool seenSignificant = false;
    for (; i < chars.size(); ++i) {
        const char16_t c = chars[i];
        if (isDigit(c)) {
            seenDigit = true;
            if (!seenPoint) {
                if (seenSignificant || c != u'0') {
                    seenSignificant = true;
                    ++integerDigits;
                }
            } else if (!seenSignificant) {
                if (c == u'0')
                    ++fractionZeros;
                else
                    seenSignificant = true;
            }
            mantissa.push_back(static_cast<char>(c));
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            mantissa.push_back('.');
        } else {
            break;
        }
    }
    if (!seenDigit || !seenSignificant)
        return 0.0;
    lead = integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);

    long exponent = 0;
    if (i < chars.size() &&
        (chars[i] == u'E' || chars[i] == u'e' || chars[i] == u'D' || chars[i] == u'd')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < chars.size() && (chars[j] == u'+' || chars[j] == u'-')) {
            negativeExponent = chars[j] == u'-';
            ++j;
        }
        if (j < chars.size() && isDigit(chars[j])) {
            for (; j < chars.size() && isDigit(chars[j]); ++j)
                exponent = std::min(exponentCap, exponent * 10 + (chars[j] - u'0'));
            if (negativeExponent)
                exponent = -exponent;
        }
    }

    const std::string number = mantissa + 'e' + std::to_string(exponent);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range)
        value = lead + exponent > 0 ? std::numeric_limits<double>::max() : 0.0;
    else if (error != std::errc() || !std::isfinite(value))
        value = 0.0;
    if (value == 0.0)
        return 0.0;
    return negative ? -value : value;
}

QString generalNumber(double value)
{
    if (std::isnan(value) || value == 0.0)
        return QStringLiteral("0");
    if (std::isinf(value))
        value =
            value > 0 ? std::numeric_limits<double>::max() : -std::numeric_limits<double>::max();
    QString text = QString::number(value, 'g', 15);
    return text.toUpper();
}

std::optional<qint16> roundToInt16(double value)
{
    const double rounded = std::nearbyint(value); // default mode: halves to even
    if (!(rounded >= std::numeric_limits<qint16>::min() &&
          rounded <= std::numeric_limits<qint16>::max()))
        return std::nullopt;
    return static_cast<qint16>(rounded);
}

std::optional<qint32> roundToInt32(double value)
{
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<qint32>::min() &&
          rounded <= std::numeric_limits<qint32>::max()))
        return std::nullopt;
    return static_cast<qint32>(rounded);
}

} // namespace orvex
