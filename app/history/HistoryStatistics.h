// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

namespace history {

// Minimum, maximum, mean and last value of a channel over a span of time.
struct ChannelStatistics
{
    int count = 0; // none of the others mean anything when 0
    double min = 0;
    double max = 0;
    double mean = 0;
    double last = 0;
    qint64 lastMs = 0; // UTC ms of the last value
};

ChannelStatistics statisticsOver(const std::vector<ChannelPoint> &points, const TimeSpan &span);

enum class LimitBreached { Low, High };

// One value outside its channel's limits.
struct LimitAlarm
{
    qint64 utcMs = 0;
    ChannelKey key;
    double value = 0;
    LimitBreached breached = LimitBreached::Low;
    double limit = 0; // the limit it passed, in the channel's unit
};

// The values of one channel within `span` that lie below its low or above
// its high limit (a value on a limit is within it), in time order.
std::vector<LimitAlarm> limitAlarms(const ChannelKey &key, const ChannelInfo &info,
                                    const std::vector<ChannelPoint> &points, const TimeSpan &span);

// One channel's values, to look for alarms in.
struct AlarmChannel
{
    ChannelKey key;
    ChannelInfo info;
    const std::vector<ChannelPoint> *points = nullptr; // by time
};

// The values of several channels outside their limits within a span: the
// first `cap` of them in time order (on a tie, in key order), and how many
// there are in all, below and above. Costs one pass over the values shown.
struct AlarmList
{
    std::vector<LimitAlarm> listed;
    std::size_t below = 0;
    std::size_t above = 0;
    std::size_t total() const { return below + above; }
};
AlarmList firstAlarms(const std::vector<AlarmChannel> &channels, const TimeSpan &span,
                      std::size_t cap);

// Whether a value lies outside the channel's limits.
bool outsideLimits(const ChannelInfo &info, double value);

} // namespace history
