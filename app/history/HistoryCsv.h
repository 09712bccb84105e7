// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

class QIODevice;

namespace history {

// The history window's export: every value of `channels` within `span`,
// ordered by time, then grid, row and side, as CSV in the columns of
// ValueWriter. False when the device refuses a write.
bool writeHistoryCsv(QIODevice &device, const ChannelSource &source,
                     const std::vector<ChannelKey> &channels, const TimeSpan &span);

} // namespace history
