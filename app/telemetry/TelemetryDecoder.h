// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/DateTime.h"
#include "telemetry/FormulaTable.h"
#include "telemetry/TelemetryGrids.h"

#include <QList>
#include <QString>
#include <functional>

// Turns one telemetry line into grid cell texts.
//
// A telemetry line has exactly nine comma-separated fields:
//   label, ch0, ch1, ch2, ch3, -, -, bits, -
// The third and fourth bit digits of field 8 give the mode (0-3); side and
// mode select, through the channel map, the grid and row of each channel, and
// the formula of that place calibrates the raw value.
//
//   ORVEX-7>...: "HK,112,87,131,96,0,0,0011,0" -> side/mode 3: POWER rows 1-4
class TelemetryDecoder
{
public:
    struct CellWrite
    {
        int grid;
        int row;
        int column;
        QString text;
        bool operator==(const CellWrite &) const = default;
    };

    explicit TelemetryDecoder(const FormulaTable &formulas);

    // The cells a line writes, in order: for each channel its value cell
    // (column side + 1) and its hidden label cell (column side + 3). A line
    // that is not telemetry gives nothing.
    QList<CellWrite> DecodeTelemetry(int side, const QString &strLine,
                                     orvex::Date displayTime) const;

    // One channel; nothing when the place has no formula, the mode lies
    // outside 0 to 3 or the arithmetic fails.
    QList<CellWrite> SetChannelValue(int side, int mode, int channel, double raw,
                                     const QString &label) const;

    // "  yyyy-mmm-dd hh:nn" with the English month abbreviation.
    static QString formatLabelTime(orvex::Date displayTime);

private:
    const FormulaTable &formulas_;
    telemetry::ChannelMap channelMap_;
};
