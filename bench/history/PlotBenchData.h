// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "support/MemoryChannelSource.h"

#include <cmath>

// A year of one channel: 1,000,000 values, one every 31.5 s, a slow daily
// swing with a faster ripple, in the unit of a battery voltage; its high
// limit is low enough that nine values in ten lie above it, as they do when
// a battery's limits are set wrong.
inline const MemoryChannelSource &millionPointSource()
{
    static const MemoryChannelSource source = [] {
        MemoryChannelSource built;
        std::vector<history::ChannelPoint> points;
        constexpr int count = 1'000'000;
        constexpr qint64 startMs = 1'735'689'600'000; // 2025-01-01 UTC
        constexpr qint64 stepMs = 31'536;
        points.reserve(count);
        for (int i = 0; i < count; ++i) {
            const double t = i * stepMs / 86'400'000.0;
            const double value = 7.8 + 0.3 * std::sin(t * 6.283) + 0.05 * std::sin(t * 97.0);
            points.push_back({startMs + i * stepMs, std::round(value * 100), value});
        }
        built.add({0, 1, 0}, {QStringLiteral("POWER Batt A A"), QStringLiteral("V"), 7.0, 7.5},
                  std::move(points));
        return built;
    }();
    return source;
}

constexpr int plotWidth = 1000;
constexpr int plotHeight = 400;
