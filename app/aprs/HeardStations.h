// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "aprs/AprsStore.h"

#include <QHash>
#include <QString>
#include <QtGlobal>

#include <limits>
#include <optional>
#include <vector>

namespace aprs {

// Great-circle distance (km, on a sphere of the Earth's mean radius) and
// initial bearing (degrees from north through east, [0, 360)) from one
// point to another, both in degrees, north and east positive.
double distanceKm(double fromLatitude, double fromLongitude, double toLatitude, double toLongitude);
double bearingDeg(double fromLatitude, double fromLongitude, double toLatitude, double toLongitude);

// Which hearings count.
enum class HeardVia { Satellite, Direct, Both };

// One station of the heard list, over the hearings that count.
struct HeardStation
{
    QString callsign;
    qint64 firstMs = 0;
    qint64 lastMs = 0;
    int count = 0;
    bool lastViaSatellite = false; // the latest hearing was through the satellite
    bool viaSatellite = false;     // at least one hearing was
    bool direct = false;           // at least one hearing was direct
    // The latest position the station sent of itself (not of an object).
    std::optional<double> latitude;
    std::optional<double> longitude;
    qint64 positionMs = 0;
    QString locator;                  // six characters, empty without a position
    std::optional<double> distanceKm; // from the station's own position, when both are known
    std::optional<double> bearingDeg;
    QString symbol;  // of the latest position or status
    QString comment; // of the latest position or status that had one
};

// Every station heard, built from the stored packets at start and from the
// live traffic after: per station when it was heard and through what, and
// what it said of itself last. Packets this station sent are left out.
class HeardStations
{
public:
    void add(const StoredPacket &packet);
    // The station's own position, for distance and bearing; none when unknown.
    void setOwnPosition(std::optional<double> latitude, std::optional<double> longitude);

    // The stations with a hearing at or after `sinceMs` by `via`, with
    // first and last heard and the count over those hearings; most
    // recently heard first.
    std::vector<HeardStation> stations(HeardVia via,
                                       qint64 sinceMs = std::numeric_limits<qint64>::min()) const;
    int size() const { return static_cast<int>(order_.size()); }

private:
    struct Hearing
    {
        qint64 utcMs;
        bool viaSatellite;
    };
    struct Record
    {
        HeardStation last; // callsign, position, symbol, comment
        std::vector<Hearing> hearings;
    };
    QHash<QString, int> index_;
    std::vector<Record> order_;
    std::optional<double> ownLatitude_;
    std::optional<double> ownLongitude_;
};

} // namespace aprs
