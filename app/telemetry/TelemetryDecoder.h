// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/DateTime.h"
#include "telemetry/FormulaTable.h"
#include "telemetry/TelemetryGrids.h"

#include <QList>
#include <QString>
#include <array>
#include <functional>
#include <optional>

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

    // One channel of a frame: its raw value (the leading-number rule), its
    // place in the grids and the calibrated value as the grid shows it.
    struct ChannelReading
    {
        double raw = 0;
        int grid = -1; // -1 when the mode lies outside 0 to 3
        int row = 0;
        QString text;                // the grid's text; empty when nothing is shown
        std::optional<double> value; // the shown text read back as a number
    };

    // A telemetry line taken apart: what the grids show of it, and the
    // fields the grids do not show.
    struct Frame
    {
        int side = 0;
        int mode = 0; // 2 * bit 3 + bit 4; may lie outside 0 to 3
        QString label;
        QString bits;
        std::array<ChannelReading, telemetry::channelCount> channels{};
    };

    explicit TelemetryDecoder(const FormulaTable &formulas);

    // The frame of a telemetry line; nothing when the line is not telemetry.
    std::optional<Frame> decodeFrame(int side, const QString &strLine) const;

    // The cells a line writes, in order: for each channel its value cell
    // (column side + 1) and its hidden label cell (column side + 3). A line
    // that is not telemetry gives nothing.
    QList<CellWrite> DecodeTelemetry(int side, const QString &strLine,
                                     orvex::Date displayTime) const;
    // The same for a line already decoded.
    static QList<CellWrite> cellWrites(const Frame &frame, orvex::Date displayTime);

    // One channel; nothing when the place has no formula, the mode lies
    // outside 0 to 3 or the arithmetic fails.
    QList<CellWrite> SetChannelValue(int side, int mode, int channel, double raw,
                                     const QString &label) const;

    // "  yyyy-mmm-dd hh:nn" with the English month abbreviation.
    static QString formatLabelTime(orvex::Date displayTime);

private:
    struct Place
    {
        telemetry::ChannelCell cell;
        QString text;
    };
    std::optional<Place> placeValue(int side, int mode, int channel, double raw) const;

    const FormulaTable &formulas_;
    telemetry::ChannelMap channelMap_;
};
