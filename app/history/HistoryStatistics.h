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

// Whether a value lies outside the channel's limits.
bool outsideLimits(const ChannelInfo &info, double value);

} // namespace history
