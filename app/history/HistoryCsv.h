// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

#include <QString>

class QIODevice;

namespace history {

// The export's header line (without the line end).
QString historyCsvHeader();

// One value as a CSV line (without the line end):
// utc,source,side,mode,grid,row,raw,value,unit,label. Source, mode and label
// stay empty where the channel source does not know them.
QString historyCsvLine(const ChannelRecord &record, const QString &unit);

// "2026-12-08T10:15:03.250Z".
QString utcIsoMs(qint64 utcMs);

// Writes the header and every value of `channels` within `span`, ordered by
// time, then grid, row and side, as UTF-8 with "\n" line ends. False when the
// device refuses a write.
bool writeHistoryCsv(QIODevice &device, const ChannelSource &source,
                     const std::vector<ChannelKey> &channels, const TimeSpan &span);

} // namespace history
