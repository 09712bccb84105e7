// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <optional>

// The station coordinate texts of the station information dialog.
//
//              stored (settings)   display (text box)
//   latitude   "3859.50N"          "38.59.50N"
//   longitude  "07701.23W"         "077.01.23W"
namespace orvex {

// Stored form to display form: a point after the degrees. Empty stays empty.
QString coordinateDisplayText(const QString &stored, bool longitude);
// Display form to stored form: the character after the degrees dropped.
QString coordinateStoredText(const QString &display, bool longitude);

// Reads what the operator typed into a coordinate box: degrees, optionally
// ".", minutes, optionally ".", hundredths of a minute (".5" = 50), then the
// hemisphere letter (N/S or E/W, upper case). Degrees and minutes run
// together ("3859.50N") are too many degrees. Gives the display form
// ("38.59.5N" gives "38.59.50N"), an empty text for blank input when
// `emptyAllowed`, and nullopt when the text is no valid coordinate.
std::optional<QString> coordinateFromInput(const QString &text, bool longitude, bool emptyAllowed);

// How a typed coordinate is understood, for showing beside its box:
// "38° 59.50′ N"; "not a latitude" when it is none; empty for blank text.
QString coordinateMeaning(const QString &text, bool longitude);

// The six-character Maidenhead locator (upper case) of a position given in
// minutes of arc, north and east positive; empty text when the position
// lies outside the globe. 38 deg 59.50 min N, 77 deg 1.23 min W gives "FM18LX".
QString locatorFromMinutes(float latitudeMinutes, float longitudeMinutes);

} // namespace orvex
