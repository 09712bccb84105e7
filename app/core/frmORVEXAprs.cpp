// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's part in the APRS traffic: the engine's raw UI frames go
// to the one decoder of the station, which hands them on to the parts that
// keep, list and answer them.
#include "aprs/AprsStore.h"
#include "aprs/AprsTraffic.h"
#include "aprs/HeardListWindow.h"
#include "aprs/HeardStations.h"
#include "core/frmORVEX.h"
#include "database/StationDatabase.h"
#include "history/OrbitSpans.h"
#include "orbit/TrackingContext.h"
#include "pklink/PKLINK.h"
#include "platform/DateTime.h"
#include "shared/clsIni.h"
#include "ui/ToolWindow.h"

#include <limits>

namespace {

// How far back the map shows the stations heard via the satellite, in
// hours (SETUP APRS_MAP_HOURS).
constexpr int defaultMapHours = 6;
constexpr qint64 msPerHour = 3600000;
// A pass of ORVEX lasts well under this; what "this pass" means when no
// pass can be computed.
constexpr qint64 passLengthMs = qint64{20} * 60000;

qint64 nowMs()
{
    return orvex::Clock::nowUtc().toMSecsSinceEpoch();
}

// Distances and bearings are from where the station is now.
void placeStation(aprs::HeardStations &stations, const TrackingContext *tracking)
{
    if (tracking && tracking->stationKnown())
        stations.setOwnPosition(tracking->stationLatitudeDeg(), tracking->stationLongitudeDeg());
    else
        stations.setOwnPosition(std::nullopt, std::nullopt);
}

} // namespace

void frmORVEX::startAprs()
{
    aprsTraffic_ = std::make_unique<aprs::AprsTraffic>();
    aprsStore_ = std::make_unique<aprs::AprsStore>(*database_);
    heardStations_ = std::make_unique<aprs::HeardStations>();
    // Raw frames are asked for on each new link: the engine forgets the
    // choice when the link ends.
    connect(pklink_, &PKLINK::WsConnected, this, [this] { pklink_->ReceiveRawFrames(true); });
    connect(pklink_, &PKLINK::MonKissFrame, this,
            [this](qint16, const QString &, const QString &, const QByteArray &bData) {
                aprsTraffic_->rawFrame(nowMs(), bData, false);
            });
    connect(aprsTraffic_.get(), &aprs::AprsTraffic::heard, this,
            [this](const aprs::HeardPacket &packet) {
                const aprs::StoredPacket stored = aprs::storedPacketOf(packet);
                aprsStore_->add(stored);
                heardStations_->add(stored);
                if (heardWindow_ && heardWindow_->isVisible()) {
                    placeStation(*heardStations_, tracking_.get());
                    heardWindow_->refresh();
                }
            });
}

void frmORVEX::loadHeardStations()
{
    if (!aprsStore_ || !heardStations_)
        return;
    for (const aprs::StoredPacket &packet :
         aprsStore_->heard(std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max()))
        heardStations_->add(packet);
}

qint64 frmORVEX::passStartMs() const
{
    const qint64 now = nowMs();
    if (tracking_) {
        const std::vector<history::TimeSpan> passes =
            history::OrbitSpans(*tracking_).passes(now - 12 * msPerHour, now);
        for (auto pass = passes.rbegin(); pass != passes.rend(); ++pass)
            if (pass->fromMs <= now)
                return pass->fromMs;
    }
    return now - passLengthMs;
}

void frmORVEX::showHeardStations()
{
    if (!heardStations_)
        return;
    placeStation(*heardStations_, tracking_.get());
    if (!heardWindow_) {
        heardWindow_ = new aprs::HeardListWindow(
            *heardStations_, nowMs, [this] { return passStartMs(); }, this);
        orvex::closeOnEscape(heardWindow_);
    }
    heardWindow_->refresh();
    orvex::showToolWindow(heardWindow_, this);
}

QList<MapStation> frmORVEX::heardStations() const
{
    QList<MapStation> stations;
    if (!heardStations_)
        return stations;
    int hours = defaultMapHours;
    if (clsIni *ini = cIni()) {
        bool ok = false;
        const int set =
            ini->GetIniStringWriteDefault(QStringLiteral("SETUP"), QStringLiteral("APRS_MAP_HOURS"),
                                          QString::number(defaultMapHours))
                .toInt(&ok);
        if (ok && set >= 0)
            hours = set;
    }
    const qint64 passStart = passStartMs();
    const qint64 since = std::min(passStart, nowMs() - hours * msPerHour);
    for (const aprs::HeardStation &station :
         heardStations_->stations(aprs::HeardVia::Satellite, since)) {
        if (!station.latitude || !station.longitude)
            continue;
        stations.append(
            {station.callsign, *station.latitude, *station.longitude, station.lastMs >= passStart});
    }
    return stations;
}
