// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryStatistics.h"

#include <algorithm>

namespace history {

namespace {

auto pointsWithin(const std::vector<ChannelPoint> &points, const TimeSpan &span)
{
    const auto first =
        std::lower_bound(points.begin(), points.end(), span.fromMs,
                         [](const ChannelPoint &point, qint64 ms) { return point.utcMs < ms; });
    const auto last =
        std::upper_bound(first, points.end(), span.toMs,
                         [](qint64 ms, const ChannelPoint &point) { return ms < point.utcMs; });
    return std::pair{first, last};
}

} // namespace

ChannelStatistics statisticsOver(const std::vector<ChannelPoint> &points, const TimeSpan &span)
{
    ChannelStatistics stats;
    const auto [first, last] = pointsWithin(points, span);
    if (first == last)
        return stats;
    stats.min = stats.max = first->value;
    double sum = 0;
    for (auto it = first; it != last; ++it) {
        stats.min = std::min(stats.min, it->value);
        stats.max = std::max(stats.max, it->value);
        sum += it->value;
    }
    stats.count = static_cast<int>(last - first);
    stats.mean = sum / stats.count;
    stats.last = (last - 1)->value;
    stats.lastMs = (last - 1)->utcMs;
    return stats;
}

bool outsideLimits(const ChannelInfo &info, double value)
{
    return (info.low && value < *info.low) || (info.high && value > *info.high);
}

std::vector<LimitAlarm> limitAlarms(const ChannelKey &key, const ChannelInfo &info,
                                    const std::vector<ChannelPoint> &points, const TimeSpan &span)
{
    std::vector<LimitAlarm> alarms;
    if (!info.low && !info.high)
        return alarms;
    const auto [first, last] = pointsWithin(points, span);
    for (auto it = first; it != last; ++it) {
        if (info.low && it->value < *info.low)
            alarms.push_back({it->utcMs, key, it->value, LimitBreached::Low, *info.low});
        else if (info.high && it->value > *info.high)
            alarms.push_back({it->utcMs, key, it->value, LimitBreached::High, *info.high});
    }
    return alarms;
}

} // namespace history
