// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/MemoryChannelSource.h"

#include "telemetry/TelemetryGrids.h"

#include <algorithm>
#include <cmath>
#include <numbers>

using history::ChannelInfo;
using history::ChannelKey;
using history::ChannelPoint;
using history::TimeSpan;

void MemoryChannelSource::add(const ChannelKey &key, const ChannelInfo &info,
                              std::vector<ChannelPoint> points)
{
    channels_[key] = Channel{info, std::move(points)};
}

QList<ChannelKey> MemoryChannelSource::channels() const
{
    QList<ChannelKey> keys;
    for (const auto &[key, channel] : channels_)
        if (!channel.points.empty())
            keys.append(key);
    return keys;
}

ChannelInfo MemoryChannelSource::info(const ChannelKey &key) const
{
    const auto found = channels_.find(key);
    return found == channels_.end() ? ChannelInfo{} : found->second.info;
}

std::vector<ChannelPoint> MemoryChannelSource::series(const ChannelKey &key, qint64 fromMs,
                                                      qint64 toMs) const
{
    const auto found = channels_.find(key);
    if (found == channels_.end())
        return {};
    const auto &points = found->second.points;
    const auto first =
        std::lower_bound(points.begin(), points.end(), fromMs,
                         [](const ChannelPoint &point, qint64 ms) { return point.utcMs < ms; });
    const auto last =
        std::upper_bound(first, points.end(), toMs,
                         [](qint64 ms, const ChannelPoint &point) { return ms < point.utcMs; });
    return {first, last};
}

std::optional<TimeSpan> MemoryChannelSource::storedSpan() const
{
    std::optional<TimeSpan> span;
    for (const auto &[key, channel] : channels_) {
        if (channel.points.empty())
            continue;
        const TimeSpan own{channel.points.front().utcMs, channel.points.back().utcMs};
        span = span ? TimeSpan{std::min(span->fromMs, own.fromMs), std::max(span->toMs, own.toMs)}
                    : own;
    }
    return span;
}

namespace {

constexpr qint64 minuteMs = 60 * 1000;
constexpr qint64 dayMs = 24 * 60 * minuteMs;
constexpr qint64 frameStepMs = 20 * 1000;

// The unit, limits and value of one grid row at a time, from sunlight and
// the phase of the orbit (0..1) and a small side-dependent offset.
struct RowModel
{
    QString unit;
    std::optional<double> low, high;
    double (*value)(bool sunlit, double phase, int row, int side);
};

double powerValue(bool sunlit, double phase, int row, int side)
{
    switch (row) {
    case 1:
    case 2: // battery volts: charging in sunlight, sagging in shadow
        return (sunlit ? 7.9 + 0.3 * phase : 7.6 - 0.3 * phase) + 0.05 * side;
    case 3: // output power
        return sunlit ? 4.0 + 2.0 * std::sin(phase * std::numbers::pi) : 1.8;
    default: // 8 V regulator
        return 8.0 + 0.02 * std::sin(phase * 40) + 0.01 * side;
    }
}

double currentValue(bool sunlit, double phase, int row, int side)
{
    if (row == 7) // battery: charge in sunlight, discharge in shadow
        return sunlit ? 350 * std::sin(phase * std::numbers::pi) - 40 * side : -260;
    if (!sunlit)
        return 0;
    const double angle = phase * 2 * std::numbers::pi + row * 1.1 + side * 0.3;
    return std::max(0.0, 420 * std::cos(angle));
}

double tempValue(bool sunlit, double phase, int row, int side)
{
    const double swing = sunlit ? 8 * phase : 8 * (1 - phase);
    switch (row) {
    case 7: // stack
        return 12 + swing / 2 + side;
    case 8: // battery
        return 9 + swing / 2 + side;
    case 9: // transmitter
        return 24 + swing + 2 * side;
    default: // faces
        return (sunlit ? 10 : -12) + 3 * swing * std::cos(row + phase * 6) + side;
    }
}

RowModel rowModel(int grid, int row)
{
    using telemetry::CurrentGrid;
    using telemetry::PowerGrid;
    if (grid == PowerGrid) {
        if (row == 3)
            return {QStringLiteral("W"), std::nullopt, std::nullopt, powerValue};
        if (row == 4)
            return {QStringLiteral("V"), 7.8, 8.2, powerValue};
        return {QStringLiteral("V"), 7.0, 8.4, powerValue};
    }
    if (grid == CurrentGrid) {
        if (row == 7)
            return {QStringLiteral("mA"), -400.0, 600.0, currentValue};
        return {QStringLiteral("mA"), std::nullopt, std::nullopt, currentValue};
    }
    if (row == 8)
        return {QStringLiteral("°C"), 0.0, 35.0, tempValue};
    if (row == 9)
        return {QStringLiteral("°C"), -10.0, 40.0, tempValue};
    if (row == 7)
        return {QStringLiteral("°C"), -10.0, 40.0, tempValue};
    return {QStringLiteral("°C"), std::nullopt, std::nullopt, tempValue};
}

} // namespace

TelemetryWeek::TelemetryWeek(qint64 start) : startMs(start), endMs(start + 7 * dayMs)
{
    // Four or five passes a day at drifting times, 8 to 14 minutes long.
    for (int day = 0; day < 7; ++day) {
        const qint64 dayStart = startMs + day * dayMs;
        const int count = day % 3 == 0 ? 5 : 4;
        for (int pass = 0; pass < count; ++pass) {
            const qint64 begin = dayStart + (95 + pass * 101 + day * 17) * minuteMs +
                                 (pass >= 2 ? 9 * 60 * minuteMs : 0);
            const qint64 length = (8 + (pass * 3 + day) % 7) * minuteMs;
            passes.push_back({begin, begin + length});
        }
    }
    std::sort(passes.begin(), passes.end(),
              [](const TimeSpan &a, const TimeSpan &b) { return a.fromMs < b.fromMs; });

    for (int grid = 0; grid < telemetry::gridCount; ++grid) {
        const auto &layout = telemetry::gridLayout(grid);
        for (int row = 1; row < layout.rows(); ++row) {
            const RowModel model = rowModel(grid, row);
            for (int side = 0; side < telemetry::sideCount; ++side) {
                const ChannelInfo info{
                    layout.tag + QLatin1Char(' ') + layout.captions.at(row - 1) +
                        (side == 0 ? QStringLiteral(" A") : QStringLiteral(" B")),
                    model.unit, model.low, model.high};
                std::vector<ChannelPoint> points;
                for (const TimeSpan &pass : passes) {
                    for (qint64 t = pass.fromMs + side * 7000 + row * 500; t <= pass.toMs;
                         t += frameStepMs) {
                        const qint64 sinceOrbit = (t - startMs) % orbitMs;
                        const bool sunlit = !inShadow(t);
                        const double phase =
                            sunlit ? double(sinceOrbit - shadowMs) / (orbitMs - shadowMs)
                                   : double(sinceOrbit) / shadowMs;
                        double value = model.value(sunlit, phase, row, side);
                        // A cold battery on the fifth day, a hot transmitter on the sixth.
                        const qint64 dayIndex = (t - startMs) / dayMs;
                        if (grid == telemetry::PowerGrid && row == 1 && dayIndex == 4 && !sunlit)
                            value -= 0.7;
                        if (grid == telemetry::TempGrid && row == 9 && dayIndex == 5)
                            value += 18;
                        const double raw = std::round(value * 10 + 500);
                        points.push_back({t, raw, value});
                    }
                }
                source.add({grid, row, side}, info, std::move(points));
            }
        }
    }
}

bool TelemetryWeek::inShadow(qint64 utcMs) const
{
    return (utcMs - startMs) % orbitMs < shadowMs;
}

std::vector<TimeSpan> TelemetryWeek::shadow(qint64 fromMs, qint64 toMs) const
{
    std::vector<TimeSpan> spans;
    qint64 begin = startMs + std::max<qint64>(0, (fromMs - startMs) / orbitMs - 1) * orbitMs;
    for (; begin <= toMs; begin += orbitMs)
        if (begin + shadowMs >= fromMs)
            spans.push_back({begin, begin + shadowMs});
    return spans;
}

std::vector<TimeSpan> TelemetryWeek::inView(qint64 fromMs, qint64 toMs) const
{
    std::vector<TimeSpan> spans;
    for (const TimeSpan &pass : passes)
        if (pass.toMs >= fromMs && pass.fromMs <= toMs)
            spans.push_back(pass);
    return spans;
}
