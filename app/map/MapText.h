// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/DateTime.h"

#include <QString>

// The texts the map window shows.
namespace MapText {

// The window caption for the current satellite's display name (the main
// window's location caption); when the world picture could not be read it
// says so after the usual text, naming picturePath when given.
QString caption(const QString &locationCaption, bool pictureRead = true,
                const QString &picturePath = QString());

// The time box text of a time already in display time (UTC or local):
// "yyyy-mmm-dd hh:nn:ss" with English month abbreviations, e.g.
// "2008-Sep-20 12:25:00".
QString timeText(orvex::Date shown);

// The time box text when no picture could be computed for that time.
QString failureText(orvex::Date shown, const QString &satelliteName, const QString &reason);

} // namespace MapText
