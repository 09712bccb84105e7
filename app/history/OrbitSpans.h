// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

#include <vector>

class TrackingContext;

// What the history window shades behind the values: ORVEX's times in the
// Earth's shadow and its passes over the station, as UTC spans (ms since
// 1970-01-01). Nothing where the satellite has no element set, and no passes
// where the station is not known.
namespace history {

class OrbitSpans
{
public:
    explicit OrbitSpans(TrackingContext &context) : context_(context) {}

    std::vector<TimeSpan> shadows(qint64 fromMs, qint64 toMs) const;
    std::vector<TimeSpan> passes(qint64 fromMs, qint64 toMs) const;

private:
    TrackingContext &context_;
};

} // namespace history
