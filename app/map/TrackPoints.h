// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/Status.h"
#include "platform/DateTime.h"

#include <QList>
#include <QString>

class clsSats;

// The points of the map's ground track: where the satellite stands at the
// base time and every minute after it, for 102 minutes (103 points).
struct TrackPoints
{
    static constexpr int lastIndex = 102;

    QList<double> latitudes;  // degrees north, point 0 first
    QList<double> longitudes; // degrees east, (-180, 180]
    double altitudeKm = 0;    // of point 0
    // The first failed orbit request; the lists then hold only the points
    // before it.
    orbit::Status status;

    bool isOk() const { return status.isOk(); }

    // Asks `sats` for every point of the track of `satelliteName` from
    // `baseUtc` on; stops at the first failure.
    static TrackPoints compute(clsSats &sats, const QString &satelliteName, orvex::Date baseUtc);
};
