// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/DateTime.h"

#include <QString>
#include <QStringList>
#include <array>

// The three telemetry grids: their tags (the names formula.txt uses), header
// texts, row captions and value formats, and the fixed channel map that says
// where each channel of each side and mode is shown.
namespace telemetry {

constexpr int gridCount = 3;
constexpr int sideCount = 2;
constexpr int modeCount = 4;
constexpr int channelCount = 4;
constexpr int gridColumns = 5;

enum GridIndex : int { PowerGrid = 0, CurrentGrid = 1, TempGrid = 2 };

struct GridLayout
{
    QString tag;
    std::array<QString, 3> header; // columns 0, 1, 2 of row 0
    QStringList captions;          // rows 1...
    int decimals;                  // format of the value columns
    int rows() const { return static_cast<int>(captions.size()) + 1; }
};

const GridLayout &gridLayout(int grid);

// Column widths in twips; columns 3 and 4 (the labels) are hidden.
constexpr std::array<int, gridColumns> columnWidthsTwips = {960, 720, 720, 1080, 1080};

// Beside the grid's own columns: the unit of each row's values.
constexpr int unitColumn = gridColumns;
constexpr int unitColumnWidthTwips = 480;

// What a row of a grid measures, as formula.txt calibrates it: CURRENT in
// mA, POWER in V (Batt A, Batt B, 8V Reg) and W (P Out), TEMP in °C. Empty
// for a row that is no channel.
QString channelUnit(int grid, int row);

// A value a cell showed in an earlier run, as the store kept it.
struct StoredValue
{
    int grid = 0;
    int row = 0;
    int side = 0;
    double value = 0;
    QString label;         // the frame's first field
    orvex::Date heard = 0; // in the display time zone
};

struct ChannelCell
{
    qint16 grid;
    qint16 row;
};

using ChannelMap =
    std::array<std::array<std::array<ChannelCell, channelCount>, modeCount>, sideCount>;

// The fixed map of (side, mode, channel) to grid and row.
ChannelMap InitChannelMap();

// The value as the grid shows it in its column format ("0.00", "0", "0.0").
QString formatGridValue(int grid, double value);

} // namespace telemetry
