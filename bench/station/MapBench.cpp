// SPDX-License-Identifier: GPL-2.0-or-later
// One refresh of the world map: the 103 track positions of the ISS, then the
// picture drawn afresh by the map window (footprint, track, symbol) into its
// 720 x 360 world picture. The window is never shown.
#include "map/MapHost.h"
#include "map/TrackPoints.h"
#include "map/frmMap.h"
#include "orbit/clsSats.h"
#include "platform/DateTime.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

namespace {

const QString satellite = QStringLiteral("ISS (ZARYA)");

// A program folder with world.gif and one element set of the ISS in Keps,
// as the main window offers it to the map.
class BenchHost : public MapHost
{
public:
    BenchHost()
    {
        const QString keps = folder_.filePath(QStringLiteral("Keps"));
        QFile elements(keps + QStringLiteral("/iss.txt"));
        const QByteArray text =
            "ISS (ZARYA)\r\n"
            "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927\r\n"
            "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537\r\n";
        const bool ok = folder_.isValid() && QDir().mkpath(keps) &&
                        elements.open(QIODevice::WriteOnly) &&
                        elements.write(text) == text.size() && (elements.close(), true) &&
                        QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/data/world.gif"),
                                    folder_.filePath(QStringLiteral("world.gif"))) &&
                        sats_.setStrKeplerPath(keps).isOk();
        if (!ok) {
            std::fprintf(stderr, "could not prepare the map's program folder\n");
            std::abort();
        }
    }

    clsSats *cSats() const override { return &sats_; }
    clsIni *cIni() const override { return nullptr; }
    QString strAppPath() const override { return folder_.path() + QLatin1Char('/'); }
    qint16 intObjIndex() const override { return 1; }
    QString strObject() const override { return satellite; }
    QString MakeLocationCaption() const override { return QStringLiteral("ISS"); }
    void ChangeSat() override {}

    clsSats &sats() const { return sats_; }

private:
    QTemporaryDir folder_;
    mutable clsSats sats_;
};

// Half an hour before the element set's epoch.
orvex::Date baseTime()
{
    return orvex::utcToDate(QDateTime(QDate(2008, 9, 20), QTime(12, 0), QTimeZone::utc()));
}

TrackPoints trackAt(clsSats &sats, orvex::Date base)
{
    TrackPoints track = TrackPoints::compute(sats, satellite, base);
    if (!track.isOk() || track.latitudes.size() != TrackPoints::lastIndex + 1) {
        std::fprintf(stderr, "no track: %s\n", track.status.reason().c_str());
        std::abort();
    }
    return track;
}

void trackPoints(benchmark::State &state)
{
    BenchHost host;
    const orvex::Date base = baseTime();
    for (auto _ : state)
        benchmark::DoNotOptimize(TrackPoints::compute(host.sats(), satellite, base));
    state.SetItemsProcessed(state.iterations());
    state.counters["positions/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * (TrackPoints::lastIndex + 1)),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(trackPoints)->Unit(benchmark::kMicrosecond);

void drawPicture(benchmark::State &state)
{
    BenchHost host;
    frmMap map(host);
    if (!map.pictureRead()) {
        state.SkipWithError("world.gif was not read");
        return;
    }
    const TrackPoints track = trackAt(host.sats(), baseTime());
    for (auto _ : state) {
        map.DrawSat(track.latitudes, track.longitudes, track.altitudeKm);
        benchmark::DoNotOptimize(map.picture().constBits());
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["width"] = map.picture().width();
    state.counters["height"] = map.picture().height();
}
BENCHMARK(drawPicture)->Unit(benchmark::kMicrosecond);

// Track and picture together, a minute further on each time, as the
// refresh timer and the fast clock bring them.
void refresh(benchmark::State &state)
{
    BenchHost host;
    frmMap map(host);
    if (!map.pictureRead()) {
        state.SkipWithError("world.gif was not read");
        return;
    }
    const orvex::Date start = baseTime();
    qint64 minute = 0;
    for (auto _ : state) {
        const TrackPoints track =
            trackAt(host.sats(), start + static_cast<double>(minute++ % 1440) / 1440.0);
        map.DrawSat(track.latitudes, track.longitudes, track.altitudeKm);
        benchmark::DoNotOptimize(map.picture().constBits());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(refresh)->Unit(benchmark::kMicrosecond);

} // namespace
