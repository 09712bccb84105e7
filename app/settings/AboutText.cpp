// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/AboutText.h"

namespace orvex {

QString versionLine(int major, int minor, int revision, const QString &description)
{
    return QStringLiteral("Version %1.%2%3").arg(major).arg(minor).arg(revision) + description;
}

QString creditsText()
{
    return QStringLiteral(
        "Map picture: NASA Visible Earth, Blue Marble, as packaged in Debian's xplanet-images.\n"
        "Terminal font: GLYPHIX terminal font (DejaVu Sans Mono, Bitstream Vera licence).");
}

} // namespace orvex
