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

AlarmList firstAlarms(const std::vector<AlarmChannel> &channels, const TimeSpan &span,
                      std::size_t cap)
{
    AlarmList list;
    for (const AlarmChannel &channel : channels) {
        const ChannelInfo &info = channel.info;
        if ((!info.low && !info.high) || !channel.points)
            continue;
        const auto [first, last] = pointsWithin(*channel.points, span);
        std::size_t kept = 0;
        for (auto it = first; it != last; ++it) {
            const bool low = info.low && it->value < *info.low;
            if (!low && !(info.high && it->value > *info.high))
                continue;
            ++(low ? list.below : list.above);
            // Each channel's alarms come by time: past its first `cap`, none
            // can be among the first `cap` of all.
            if (kept++ < cap)
                list.listed.push_back({it->utcMs, channel.key, it->value,
                                       low ? LimitBreached::Low : LimitBreached::High,
                                       low ? *info.low : *info.high});
        }
    }
    std::stable_sort(list.listed.begin(), list.listed.end(),
                     [](const LimitAlarm &a, const LimitAlarm &b) {
                         return a.utcMs != b.utcMs ? a.utcMs < b.utcMs : a.key < b.key;
                     });
    if (list.listed.size() > cap)
        list.listed.resize(cap);
    return list;
}

} // namespace history
