// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/TrackPoints.h"

#include "orbit/clsSats.h"

TrackPoints TrackPoints::compute(clsSats &sats, const QString &satelliteName, orvex::Date baseUtc)
{
    TrackPoints track;
    track.latitudes.reserve(lastIndex + 1);
    track.longitudes.reserve(lastIndex + 1);
    for (int i = 0; i <= lastIndex; ++i) {
        qint16 inView = 0;
        double azimuth = 0, elevation = 0, longitude = 0, latitude = 0, altitude = 0;
        QString longitudeText, latitudeText;
        const orbit::Status status =
            sats.GetSatInfo(inView, satelliteName, baseUtc + i / orvex::minutesPerDay, azimuth,
                            elevation, longitude, latitude, longitudeText, latitudeText, altitude);
        if (!status) {
            track.status = status;
            return track;
        }
        track.latitudes.append(latitude);
        track.longitudes.append(longitude);
        if (i == 0)
            track.altitudeKm = altitude;
    }
    return track;
}
