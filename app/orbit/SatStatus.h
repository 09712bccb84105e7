// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class clsSats;

// What the main window's status panel shows for the current satellite now.
struct SatStatus
{
    QString latitudeText; // sub-satellite point, as clsSats formats it
    QString longitudeText;
    // The station's location is known: azimuth, elevation and due are shown.
    bool locationKnown = false;
    bool inView = false;
    QString azimuthText = QStringLiteral("-");   // whole degrees while in view, else "-"
    QString elevationText = QStringLiteral("-"); // whole degrees while in view, else "-"
    QString dueText = QStringLiteral("-");       // next pass start; "-" without a location
    // Seconds until the next update: 5 while in view, 10 otherwise; without
    // a location the period stays what it was.
    qint16 refreshPeriod = 10;
    // Where the satellite is could be computed; when not, every field is
    // blank (never a made-up position) and `problem` says why.
    bool positionKnown = true;
    QString problem;
};

// The status of `satelliteName` at clsSats' current UTC time, seen from the
// observer set in `sats`. `currentPeriod` is the refresh period so far.
SatStatus computeSatStatus(clsSats &sats, const QString &satelliteName, bool locationKnown,
                           qint16 currentPeriod);
