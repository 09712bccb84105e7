// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/AboutText.h"

#include <QDir>

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

QString dataFolderText(const QString &folder)
{
    return QStringLiteral("Settings, Keps and logs are kept in ") +
           QDir::toNativeSeparators(folder) + QLatin1Char('.');
}

} // namespace orvex
