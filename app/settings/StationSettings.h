// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "settings/clsCallsign.h"

#include <QList>
#include <QString>

// The main window's settings properties and procedures that the settings
// dialogs use. Each setter stores its value in the settings file at once.
// The dialogs reach the main window through this interface only.
class StationSettings
{
public:
    virtual ~StationSettings() = default;
    // Station callsign, e.g. "Q9ZZZ-5".
    virtual QString strCallsign() const = 0;
    virtual void setStrCallsign(const QString &) = 0;
    // Latitude "DDMM.HHN"/"DDMM.HHS", or empty.
    virtual QString strLat() const = 0;
    virtual void setStrLat(const QString &) = 0;
    // Longitude "DDDMM.HHE"/"DDDMM.HHW", or empty.
    virtual QString strLong() const = 0;
    virtual void setStrLong(const QString &) = 0;
    // Six-character Maidenhead locator.
    virtual QString strLoc() const = 0;
    virtual void setStrLoc(const QString &) = 0;
    // Beacon comment.
    virtual QString strComment() const = 0;
    virtual void setStrComment(const QString &) = 0;
    // Where AGWPE is reached.
    virtual QString strAgwHost() const = 0;
    virtual void setStrAgwHost(const QString &) = 0;
    virtual qint16 intAgwPort() const = 0;
    virtual void setIntAgwPort(qint16) = 0;
    virtual QString strAgwLoginId() const = 0;
    virtual void setStrAgwLoginId(const QString &) = 0;
    virtual QString strAgwPassword() const = 0;
    virtual void setStrAgwPassword(const QString &) = 0;
    // The callsign list; writing it rewrites the CALLSIGNS section.
    virtual QList<clsCallsign> cCallsigns() const = 0;
    virtual void setCCallsigns(const QList<clsCallsign> &) = 0;
    // Writes the default list to the CALLSIGNS section.
    virtual void InitCallsigns() = 0;
    // Reloads the main window's list from the CALLSIGNS section.
    virtual void LoadCallsigns() = 0;
    // Closes the link to AGWPE and opens it again with the current values.
    virtual void AgwReconnect() = 0;
};
