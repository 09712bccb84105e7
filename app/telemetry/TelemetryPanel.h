// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "telemetry/TelemetryDecoder.h"

#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class FlexGrid;

// The three telemetry grids of the main window (POWER, CURRENT, TEMP): each
// value cell keeps the label of the frame that set it in a hidden column,
// shown as the tool tip while the mouse is over the value. A value outside
// its channel's limits is drawn on the warning colour, and its tool tip
// also says which limit it broke. Each row's unit stands beside its values;
// the tool tip gives the time the value was heard, and a value heard longer
// ago than `staleSeconds` is dimmed. At start the cells show the values the
// store kept, in italics and so marked in the tool tip, until a frame
// brings newer ones.
class TelemetryPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TelemetryPanel(QWidget *parent = nullptr);

    FlexGrid *grid(int index) const { return gTlm[static_cast<size_t>(index)]; }
    // Shows the values of a decoded frame, each with the frame's label and
    // the display time it was heard at.
    void showFrame(const TelemetryDecoder::Frame &frame, orvex::Date displayTime);
    // Values of an earlier run, in cells that show nothing newer.
    void showStored(const std::vector<telemetry::StoredValue> &values);
    // Dims the values heard longer ago than `staleSeconds` before `now`
    // (display time), and brightens them again when newer ones come.
    void refreshAges(orvex::Date now);
    static constexpr double staleSeconds = 600;
    // Fits a grid to its rows and visible columns.
    void SizeGrid(int index);
    // Which limit a value of a place (grid, row, side 0 = A) breaks, in
    // words ("Above the high limit of 150 mA"); empty when it keeps them.
    using LimitCheck = std::function<QString(int grid, int row, int side, double value)>;
    // The values are checked against it from now on.
    void setLimitCheck(LimitCheck check) { limitCheck_ = std::move(check); }
    // What the mouse over a cell shows.
    QString cellToolTip(int index, int row, int col) const;
    static QColor warningColour();
    static QColor staleColour();

private:
    void onMouseMove(FlexGrid *grid);
    // The limit the value a cell shows breaks; empty when none.
    QString breach(int index, int row, int col) const;
    struct CellState
    {
        std::optional<double> value;
        std::optional<orvex::Date> heard;
        bool stored = false;
        bool dimmed = false;
    };
    CellState &stateAt(int index, int row, int side);
    const CellState *findState(int index, int row, int side) const;

    // NOLINTNEXTLINE(readability-identifier-naming): the grids' own name
    std::array<FlexGrid *, telemetry::gridCount> gTlm{};
    int lastMouseRow_ = -1;
    int lastMouseCol_ = -1;
    LimitCheck limitCheck_;
    // What each value cell shows, as the decoder calculated it: row * sides + side.
    std::array<std::vector<CellState>, telemetry::gridCount> cells_;
};
