// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

#include <QString>

// What each place of the grids measures, as formula.txt calibrates it:
// CURRENT in mA, POWER in V (Batt A, Batt B, 8V Reg) and W (P Out), TEMP in °C.
namespace history {

// The unit of a grid's row; empty for a place that is no channel.
QString channelUnit(int grid, int row);
// "TEMP Batt A": grid tag, row caption and side letter.
QString channelName(const ChannelKey &key);
// "A" or "B".
QString sideLetter(int side);

} // namespace history
