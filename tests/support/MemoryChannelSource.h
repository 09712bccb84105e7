// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

#include <map>

// A telemetry history held in memory, for the tests and benchmarks of its
// readers: channels are added whole, each with its name, unit and limits.
class MemoryChannelSource : public history::ChannelSource
{
public:
    // Points must come in time order.
    void add(const history::ChannelKey &key, const history::ChannelInfo &info,
             std::vector<history::ChannelPoint> points);

    QList<history::ChannelKey> channels() const override;
    history::ChannelInfo info(const history::ChannelKey &key) const override;
    std::vector<history::ChannelPoint> series(const history::ChannelKey &key, qint64 fromMs,
                                              qint64 toMs) const override;
    std::optional<history::TimeSpan> storedSpan() const override;

private:
    struct Channel
    {
        history::ChannelInfo info;
        std::vector<history::ChannelPoint> points;
    };
    std::map<history::ChannelKey, Channel> channels_;
};

// A week of plausible telemetry as a station hears it: values only while the
// satellite is in view (a few passes a day), both sides, every grid row,
// batteries charging in sunlight and sagging in the Earth's shadow, and a few
// values outside their limits. Spans are synthetic, not an orbit.
struct TelemetryWeek
{
    static constexpr qint64 orbitMs = 97 * 60 * 1000;
    static constexpr qint64 shadowMs = 35 * 60 * 1000;

    explicit TelemetryWeek(qint64 startMs);

    qint64 startMs;
    qint64 endMs;
    std::vector<history::TimeSpan> passes; // in view of the station
    MemoryChannelSource source;

    std::vector<history::TimeSpan> shadow(qint64 fromMs, qint64 toMs) const;
    std::vector<history::TimeSpan> inView(qint64 fromMs, qint64 toMs) const;
    bool inShadow(qint64 utcMs) const;
};
