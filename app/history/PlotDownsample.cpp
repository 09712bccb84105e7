// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/PlotDownsample.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace history {

namespace {

auto firstAtOrAfter(const std::vector<ChannelPoint> &points, qint64 ms)
{
    return std::lower_bound(points.begin(), points.end(), ms,
                            [](const ChannelPoint &point, qint64 t) { return point.utcMs < t; });
}

auto firstAfter(const std::vector<ChannelPoint> &points, qint64 ms)
{
    return std::upper_bound(points.begin(), points.end(), ms,
                            [](qint64 t, const ChannelPoint &point) { return t < point.utcMs; });
}

class LineBuilder
{
public:
    LineBuilder(PlotLine &line, qint64 gapMs) : line_(line), gapMs_(gapMs) {}

    void add(const ChannelPoint &point)
    {
        if (hasLast_ && point.utcMs == lastMs_ && line_.values.back() == point.value)
            return;
        if (hasLast_ && point.utcMs - lastMs_ > gapMs_) {
            line_.keys.append(static_cast<double>(lastMs_ + point.utcMs) / 2000.0);
            line_.values.append(std::numeric_limits<double>::quiet_NaN());
        }
        line_.keys.append(point.utcMs / 1000.0);
        line_.values.append(point.value);
        lastMs_ = point.utcMs;
        hasLast_ = true;
    }

private:
    PlotLine &line_;
    qint64 gapMs_;
    qint64 lastMs_ = 0;
    bool hasLast_ = false;
};

} // namespace

PlotLine downsampleForPlot(const std::vector<ChannelPoint> &points, qint64 fromMs, qint64 toMs,
                           int columns)
{
    PlotLine line;
    if (points.empty() || toMs < fromMs)
        return line;
    columns = std::max(columns, 1);
    auto begin = firstAtOrAfter(points, fromMs);
    auto end = firstAfter(points, toMs);
    if (begin != points.begin())
        --begin;
    if (end != points.end())
        ++end;

    const double columnMs = double(std::max<qint64>(toMs - fromMs, 1)) / columns;
    // Neighbouring columns are always joined: at a coarse scale passes merge
    // into one band rather than vanishing as isolated points.
    const qint64 gapMs = std::max(lineBreakGapMs, qint64(2 * columnMs) + 1);
    LineBuilder builder(line, gapMs);

    const auto count = end - begin;
    if (count <= decltype(count){4} * columns) {
        line.keys.reserve(count);
        line.values.reserve(count);
        for (auto it = begin; it != end; ++it)
            builder.add(*it);
        return line;
    }

    line.keys.reserve(4 * columns + 8);
    line.values.reserve(4 * columns + 8);
    auto it = begin;
    while (it != end) {
        // One pixel column: [columnStart, columnStart + columnMs).
        const double column = std::floor((it->utcMs - fromMs) / columnMs);
        const double columnEnd = fromMs + (column + 1) * columnMs;
        auto first = it, low = it, high = it, last = it;
        for (++it; it != end && it->utcMs < columnEnd; ++it) {
            if (it->value < low->value)
                low = it;
            if (it->value > high->value)
                high = it;
            last = it;
        }
        std::array<decltype(it), 4> picks{first, low, high, last};
        std::sort(picks.begin(), picks.end());
        for (size_t i = 0; i < picks.size(); ++i)
            if (i == 0 || picks[i] != picks[i - 1])
                builder.add(*picks[i]);
    }
    return line;
}

} // namespace history
