// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryRanges.h"

#include <algorithm>

namespace history {

namespace {

constexpr qint64 hourMs = qint64{60} * 60 * 1000;

} // namespace

std::optional<TimeSpan> rangeSpan(HistoryRange range, const std::optional<TimeSpan> &stored,
                                  const std::vector<TimeSpan> &inView,
                                  const std::function<bool(const TimeSpan &)> &hasData)
{
    if (!stored)
        return std::nullopt;
    const qint64 end = stored->toMs;
    switch (range) {
    case HistoryRange::Day:
        return TimeSpan{end - 24 * hourMs, end};
    case HistoryRange::Week:
        return TimeSpan{end - qint64{7} * 24 * hourMs, end};
    case HistoryRange::All:
        return *stored;
    case HistoryRange::LastPass:
        break;
    }
    std::vector<TimeSpan> passes = inView;
    std::sort(passes.begin(), passes.end(),
              [](const TimeSpan &a, const TimeSpan &b) { return a.fromMs > b.fromMs; });
    for (const TimeSpan &pass : passes)
        if (hasData && hasData(pass))
            return pass;
    return TimeSpan{std::max(stored->fromMs, end - lastDataFallbackMs), end};
}

} // namespace history
