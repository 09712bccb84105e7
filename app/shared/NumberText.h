// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <optional>

// Numbers as the settings files and the input boxes write them.
namespace orvex {

// The leading number of a text: blanks, tabs and line feeds are skipped
// wherever they stand; then an optional sign, digits with at most one ".",
// and an optional exponent (E or D, optional sign, digits). Reading stops at
// the first other character; text without a number gives 0. Values beyond
// the range of a double give the largest finite double of their sign, never
// infinity or NaN. "  1 2.5E1x" gives 125.
double leadingNumber(const QString &text);

// The general number text of a value: no thousands separators, a decimal
// point only when there is a fraction, at most 15 significant digits, and an
// exponent (1E+15, 1E-05) only for very large or small magnitudes.
// 3000 gives "3000", 2.5 gives "2.5", -0.0 gives "0".
QString generalNumber(double value);

// The value rounded to the nearest integer, halves to the even neighbour;
// nullopt when the result does not fit (the conversion would overflow).
std::optional<qint16> roundToInt16(double value);
std::optional<qint32> roundToInt32(double value);

} // namespace orvex
