// SPDX-License-Identifier: GPL-2.0-or-later
#include "telemetry/TelemetryGrids.h"

#include <cmath>

namespace telemetry {

const GridLayout &gridLayout(int grid)
{
    static const std::array<GridLayout, gridCount> layouts = {{
        {"POWER", {"POWER", "A", "B"}, {"Batt A", "Batt B", "P Out", "8V Reg"}, 2},
        {"CURRENT", {"CURRENT", "A", "B"}, {"X+", "X-", "Y+", "Y-", "Z+", "Z-", "Batt"}, 0},
        {"TEMP",
         {"TEMPS", "A", "B"},
         {"X+", "X-", "Y+", "Y-", "Z+", "Z-", "Stack", "Batt", "Xmtr"},
         1},
    }};
    return layouts.at(static_cast<size_t>(grid));
}

ChannelMap InitChannelMap()
{
    // Rows by caption: CURRENT X+ 1, X- 2, Y+ 3, Y- 4, Z+ 5, Z- 6, Batt 7;
    // TEMP the same faces, Stack 7, Batt 8, Xmtr 9; POWER Batt A 1 ... 8V Reg 4.
    // One letter per grid keeps the table below readable as a table.
    // NOLINTNEXTLINE(readability-identifier-naming)
    constexpr qint16 C = CurrentGrid, T = TempGrid, P = PowerGrid;
    ChannelMap map{};
    map[0][0] = {{{C, 1}, {C, 5}, {C, 3}, {C, 2}}};
    map[0][1] = {{{T, 3}, {T, 8}, {T, 9}, {T, 5}}};
    map[0][2] = {{{T, 1}, {T, 7}, {C, 4}, {C, 7}}};
    map[0][3] = {{{P, 1}, {P, 2}, {P, 3}, {P, 4}}};
    map[1][0] = {{{C, 2}, {C, 6}, {C, 4}, {C, 1}}};
    map[1][1] = {{{T, 4}, {T, 8}, {T, 9}, {T, 6}}};
    map[1][2] = {{{T, 2}, {T, 7}, {C, 3}, {C, 7}}};
    map[1][3] = {{{P, 1}, {P, 2}, {P, 3}, {P, 4}}};
    return map;
}

QString channelUnit(int grid, int row)
{
    if (grid < 0 || grid >= gridCount || row < 1 || row >= gridLayout(grid).rows())
        return {};
    switch (grid) {
    case PowerGrid:
        return row == 3 ? QStringLiteral("W") : QStringLiteral("V");
    case CurrentGrid:
        return QStringLiteral("mA");
    default:
        return QStringLiteral("°C");
    }
}

QString formatGridValue(int grid, double value)
{
    // Rounds half away from zero, as the grid's number formats do.
    const int decimals = gridLayout(grid).decimals;
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(value * scale) / scale;
    if (rounded == 0)
        rounded = 0; // no "-0.00"
    return QString::number(rounded, 'f', decimals);
}

} // namespace telemetry
