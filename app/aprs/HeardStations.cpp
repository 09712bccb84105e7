// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/HeardStations.h"

#include "settings/StationCoordinates.h"

#include <QStringLiteral>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace aprs {

namespace {

constexpr double earthRadiusKm = 6371.0088; // mean radius (IUGG)
constexpr double degToRad = std::numbers::pi / 180.0;

bool saysOfItself(const QString &type)
{
    return type == QStringLiteral("position") || type == QStringLiteral("status");
}

} // namespace

double distanceKm(double fromLatitude, double fromLongitude, double toLatitude, double toLongitude)
{
    // Haversine: well conditioned for short distances too.
    const double phi1 = fromLatitude * degToRad;
    const double phi2 = toLatitude * degToRad;
    const double dPhi = phi2 - phi1;
    const double dLambda = (toLongitude - fromLongitude) * degToRad;
    const double h = std::pow(std::sin(dPhi / 2), 2) +
                     std::cos(phi1) * std::cos(phi2) * std::pow(std::sin(dLambda / 2), 2);
    return 2 * earthRadiusKm * std::asin(std::min(1.0, std::sqrt(h)));
}

double bearingDeg(double fromLatitude, double fromLongitude, double toLatitude, double toLongitude)
{
    const double phi1 = fromLatitude * degToRad;
    const double phi2 = toLatitude * degToRad;
    const double dLambda = (toLongitude - fromLongitude) * degToRad;
    const double y = std::sin(dLambda) * std::cos(phi2);
    const double x =
        std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dLambda);
    const double degrees = std::atan2(y, x) / degToRad;
    return std::fmod(degrees + 360.0, 360.0);
}

void HeardStations::add(const StoredPacket &packet)
{
    if (packet.transmitted || packet.source.isEmpty())
        return;
    auto found = index_.constFind(packet.source);
    if (found == index_.constEnd()) {
        found = index_.insert(packet.source, static_cast<int>(order_.size()));
        order_.push_back({});
        order_.back().last.callsign = packet.source;
    }
    Record &record = order_[static_cast<std::size_t>(*found)];
    // Stored packets come oldest first, live ones after them; a packet
    // older than the latest hearing still counts but says nothing newer.
    const bool latest = record.hearings.empty() || packet.utcMs >= record.hearings.back().utcMs;
    Hearing hearing{packet.utcMs, packet.viaSatellite};
    if (latest)
        record.hearings.push_back(hearing);
    else
        record.hearings.insert(
            std::upper_bound(record.hearings.begin(), record.hearings.end(), hearing,
                             [](const Hearing &a, const Hearing &b) { return a.utcMs < b.utcMs; }),
            hearing);
    if (!saysOfItself(packet.type))
        return;
    HeardStation &last = record.last;
    if (packet.latitude && packet.longitude && packet.utcMs >= last.positionMs) {
        last.latitude = packet.latitude;
        last.longitude = packet.longitude;
        last.positionMs = packet.utcMs;
    }
    if (latest) {
        if (!packet.symbol.isEmpty())
            last.symbol = packet.symbol;
        if (!packet.text.isEmpty())
            last.comment = packet.text;
    }
}

void HeardStations::setOwnPosition(std::optional<double> latitude, std::optional<double> longitude)
{
    ownLatitude_ = latitude;
    ownLongitude_ = longitude;
}

std::vector<HeardStation> HeardStations::stations(HeardVia via, qint64 sinceMs) const
{
    std::vector<HeardStation> list;
    for (const Record &record : order_) {
        HeardStation station = record.last;
        for (const Hearing &hearing : record.hearings) {
            if (hearing.utcMs < sinceMs)
                continue;
            if ((via == HeardVia::Satellite && !hearing.viaSatellite) ||
                (via == HeardVia::Direct && hearing.viaSatellite))
                continue;
            if (station.count == 0)
                station.firstMs = hearing.utcMs;
            ++station.count;
            station.lastMs = hearing.utcMs;
            station.lastViaSatellite = hearing.viaSatellite;
            (hearing.viaSatellite ? station.viaSatellite : station.direct) = true;
        }
        if (station.count == 0)
            continue;
        if (station.latitude && station.longitude) {
            station.locator =
                orvex::locatorFromMinutes(static_cast<float>(*station.latitude * 60),
                                          static_cast<float>(*station.longitude * 60));
            if (ownLatitude_ && ownLongitude_) {
                station.distanceKm = distanceKm(*ownLatitude_, *ownLongitude_, *station.latitude,
                                                *station.longitude);
                station.bearingDeg = bearingDeg(*ownLatitude_, *ownLongitude_, *station.latitude,
                                                *station.longitude);
            }
        }
        list.push_back(std::move(station));
    }
    std::sort(list.begin(), list.end(),
              [](const HeardStation &a, const HeardStation &b) { return a.lastMs > b.lastMs; });
    return list;
}

} // namespace aprs
