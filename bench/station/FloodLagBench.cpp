// SPDX-License-Identifier: GPL-2.0-or-later
// The whole station, history on, under a flood of distinct telemetry lines
// from an engine on its own thread, at 10,000 and 20,000 lines a second for
// ten seconds. Each frame carries its number, so the lag of each is the time
// it was heard less the time it was due (the first frame heard sets the
// clock). Counters: the lag's median, 99th percentile and maximum in ms.
#include "MessageBoxRecorder.h"
#include "pklink/PKLINK.h"
#include "support/AgwFrame.h"
#include "support/FloodEngine.h"
#include "support/StationUnderTest.h"

#include <QElapsedTimer>
#include <QList>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int floodSeconds = 10;

// "HK,a,b,25,10,0,0,0000,0" with a = n % 250, b = n / 250: frame n.
int frameNumber(const QByteArray &data)
{
    const qsizetype start = data.indexOf("HK,");
    if (start < 0)
        return -1;
    const QList<QByteArray> fields = data.mid(start).split(',');
    return fields.size() < 3 ? -1 : fields[2].toInt() * 250 + fields[1].toInt();
}

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    const auto at = static_cast<std::ptrdiff_t>(fraction * static_cast<double>(values.size() - 1));
    std::nth_element(values.begin(), values.begin() + at, values.end());
    return values[static_cast<std::size_t>(at)];
}

void distinctLineFloodLag(benchmark::State &state)
{
    const int perSecond = static_cast<int>(state.range(0));
    const int total = perSecond * floodSeconds;
    QList<QByteArray> frames;
    frames.reserve(total);
    for (int n = 0; n < total; ++n)
        frames << orvex::test::AgwFrame::monitored(
            "Q9ZZZ-3", "ORVEX-1",
            QStringLiteral("HK,%1,%2,25,10,0,0,0000,0").arg(n % 250).arg(n / 250).toLatin1());
    for (auto _ : state) {
        MessageBoxRecorder boxes;
        orvex::test::FloodEngine engine;
        if (!engine.listenBelow()) {
            state.SkipWithError("no free port");
            return;
        }
        orvex::test::StationUnderTest station(engine.port());
        if (!station.load()) {
            state.SkipWithError("the station did not load");
            return;
        }
        std::vector<double> lags;
        lags.reserve(static_cast<std::size_t>(total));
        QElapsedTimer clock;
        QObject::connect(station.window->pklink(), &PKLINK::MonUFrame,
                         [&](qint16, const QString &, const QString &, const QByteArray &data) {
                             const int n = frameNumber(data);
                             if (n < 0)
                                 return;
                             if (!clock.isValid())
                                 clock.start();
                             const double due = 1000.0 * n / perSecond;
                             lags.push_back(
                                 std::max(0.0, static_cast<double>(clock.elapsed()) - due));
                         });
        engine.start(frames, total, perSecond);
        const bool all = orvex::test::waitUntil(
            [&] { return lags.size() == static_cast<std::size_t>(total); }, 600000);
        if (!all)
            state.SkipWithError("frames missing");
        state.counters["lag p50 ms"] = percentile(lags, 0.5);
        state.counters["lag p99 ms"] = percentile(lags, 0.99);
        state.counters["lag max ms"] = percentile(lags, 1.0);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * total);
}
BENCHMARK(distinctLineFloodLag)->Arg(10000)->Arg(20000)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
