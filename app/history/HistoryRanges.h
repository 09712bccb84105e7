// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

#include <functional>

namespace history {

// The spans behind the history window's range buttons.
enum class HistoryRange { LastPass, Day, Week, All };

constexpr qint64 lastDataFallbackMs = qint64{15} * 60 * 1000;

// The span a range button shows. Day and week end at the last stored value
// (not at the clock), so that a store that has not heard the satellite for a
// while still shows its last days. "Last pass" is the latest of `inView`
// (in any order) for which `hasData` says yes, else the last 15 minutes of
// data; "All" is the stored span. Nothing without stored data.
std::optional<TimeSpan> rangeSpan(HistoryRange range, const std::optional<TimeSpan> &stored,
                                  const std::vector<TimeSpan> &inView,
                                  const std::function<bool(const TimeSpan &)> &hasData);

} // namespace history
