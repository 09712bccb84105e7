// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/ChannelUnits.h"

#include "telemetry/TelemetryGrids.h"

namespace history {

QString channelUnit(int grid, int row)
{
    return telemetry::channelUnit(grid, row);
}

QString sideLetter(int side)
{
    return side == 0 ? QStringLiteral("A") : QStringLiteral("B");
}

QString channelName(const ChannelKey &key)
{
    if (channelUnit(key.grid, key.row).isEmpty())
        return {};
    const telemetry::GridLayout &layout = telemetry::gridLayout(key.grid);
    return layout.tag + QLatin1Char(' ') + layout.captions[key.row - 1] + QLatin1Char(' ') +
           sideLetter(key.side);
}

} // namespace history
