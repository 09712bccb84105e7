// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// The Simple Downlink Share Convention (SiDS): one frame heard by one station
// is shared as one HTTP POST, application/x-www-form-urlencoded, e.g.
//
//   noradID=26931&source=Q9ZZZ-5&timestamp=2026-12-08T11%3A15%3A05.123Z
//   &frame=A4A6...F0543123...&locator=longLat&longitude=8.5417E
//   &latitude=47.3769N&azimuth=123.4&elevation=12.3
//
// (one line on the wire). Any 2xx answer means the frame was taken.
namespace sharing {

// One frame as the station heard it, with what a SiDS server asks about it.
struct SidsReport
{
    QString noradId;         // the satellite's catalogue number, e.g. "26931"
    QString source;          // the station's callsign
    QDateTime heardUtc;      // when heard, UTC, milliseconds
    QByteArray frame;        // raw AX.25: addresses, control, PID, info (no flags, no FCS)
    double longitudeDeg = 0; // station, degrees east positive
    double latitudeDeg = 0;  // station, degrees north positive
    // Where the satellite stood, seen from the station, when known (degrees).
    std::optional<double> azimuthDeg;
    std::optional<double> elevationDeg;
};

// "2026-12-08T11:15:05.123Z"
QString sidsTimestamp(const QDateTime &utc);
// Decimal degrees with four places and the hemisphere letter: "8.5417E", "47.3769N".
QString sidsLongitude(double degreesEast);
QString sidsLatitude(double degreesNorth);

// The form fields in the order they are sent; azimuth and elevation only when known.
QList<QPair<QString, QString>> sidsFields(const SidsReport &report);
// The request body: every name and value percent-encoded (all but A-Z a-z 0-9 - . _ ~).
QByteArray sidsRequestBody(const SidsReport &report);

// Why `url` cannot be used as an upload address, or an empty text when it can
// (an absolute http or https URL with a host).
QString sidsUrlProblem(const QString &url);

} // namespace sharing
