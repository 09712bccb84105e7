// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/MapText.h"

#include <QDir>
#include <QLocale>

namespace MapText {

QString caption(const QString &locationCaption, bool pictureRead, const QString &picturePath)
{
    QString text = QStringLiteral("Current Location of ") + locationCaption +
                   QStringLiteral(" Right-click for menu");
    if (!pictureRead)
        text += QStringLiteral(" - the map picture ") +
                (picturePath.isEmpty() ? QStringLiteral("world.gif")
                                       : QDir::toNativeSeparators(picturePath)) +
                QStringLiteral(" could not be read");
    return text;
}

QString timeText(orvex::Date shown)
{
    return QLocale::c().toString(orvex::dateToWallClock(shown),
                                 QStringLiteral("yyyy-MMM-dd HH:mm:ss"));
}

QString failureText(orvex::Date shown, const QString &satelliteName, const QString &reason)
{
    return timeText(shown) + QStringLiteral("  No position of ") + satelliteName +
           QStringLiteral(": ") + reason;
}

} // namespace MapText
