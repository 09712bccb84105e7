// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// What the terminal window needs of the main window: the station data and
// the AGWPE link, read at the moment of sending. The main window implements
// it; tests give a fake.
class TerminalHost
{
public:
    virtual ~TerminalHost() = default;

    // The station's callsign; empty until the operator has given one.
    virtual QString strCallsign() const = 0;
    // Latitude "DDMM.HHN"/"S" and longitude "DDDMM.HHE"/"W" as stored;
    // empty when not given.
    virtual QString strLat() const = 0;
    virtual QString strLong() const = 0;
    // Maidenhead locator; empty when not given.
    virtual QString strLoc() const = 0;
    // Beacon comment, may be empty.
    virtual QString strComment() const = 0;
    // Destination of beacons and of text sent without a destination.
    virtual QString strAprsDest() const = 0;
    // Whether the AGWPE link is up.
    virtual bool blnConectedToAgw() const = 0;
    // The control's number of AGWPE ports; 0 until the engine has told.
    virtual qint16 intPortCount() const = 0;
    // Sends one UI frame: port 1-based, own callsign, destination followed
    // by " " and the digipeater path (callsigns joined by ","; may be
    // empty), and the text. The main window turns the text into Latin-1
    // bytes for the control. The terminal does not look at the result.
    virtual bool SendUnproto(qint16 port, const QString &call, const QString &dest,
                             const QString &text) = 0;
};
