// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

#include <QList>

namespace history {

// A line ready for a plot: keys in seconds since 1970-01-01 UTC (what the
// plot's date axis counts in), values in the channel's unit. A NaN value
// breaks the line, so that no line is drawn across a gap between passes.
struct PlotLine
{
    QList<double> keys;
    QList<double> values;
};

// Values farther apart in time than this are not joined by a line (unless
// they fall in neighbouring pixel columns anyway).
constexpr qint64 lineBreakGapMs = qint64{5} * 60 * 1000;

// The points of `points` (in time order) that a plot `columns` pixels wide
// needs to draw [fromMs, toMs] exactly as the whole series would look: per
// pixel column the first, lowest, highest and last value, in time order, so
// that every extreme stays visible. Series short enough are passed whole.
// The nearest point on each side of the span is kept, so that lines run on
// to the plot's edges.
PlotLine downsampleForPlot(const std::vector<ChannelPoint> &points, qint64 fromMs, qint64 toMs,
                           int columns);

} // namespace history
