// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

namespace orvex {

// The version line of the about box: "Version " major "." minor revision
// description, nothing between minor and revision. 2, 4, 2, "" gives
// "Version 2.42".
QString versionLine(int major, int minor, int revision, const QString &description);

// The credits for what the program ships that others made.
QString creditsText();

// Where this run keeps its settings, Keps and logs.
QString dataFolderText(const QString &folder);

} // namespace orvex
