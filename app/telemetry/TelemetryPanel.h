// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelLimits.h"
#include "telemetry/TelemetryDecoder.h"

#include <QWidget>
#include <array>

class FlexGrid;

// The three telemetry grids of the main window (POWER, CURRENT, TEMP): each
// value cell keeps the label of the frame that set it in a hidden column,
// shown as the tool tip while the mouse is over the value. A value outside
// its channel's limits is drawn on the warning colour, and its tool tip
// also says which limit it broke.
class TelemetryPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TelemetryPanel(QWidget *parent = nullptr);

    FlexGrid *grid(int index) const { return gTlm[static_cast<size_t>(index)]; }
    // Writes decoded cells into the grids.
    void apply(const QList<TelemetryDecoder::CellWrite> &writes);
    // Fits a grid to its rows and visible columns.
    void SizeGrid(int index);
    // The limits the values are checked against from now on.
    void setLimits(const history::ChannelLimits &limits) { limits_ = limits; }
    // What the mouse over a cell shows.
    QString cellToolTip(int index, int row, int col) const;
    static QColor warningColour();

private:
    void onMouseMove(FlexGrid *grid);
    // The limit a value cell's text breaks; empty when none.
    QString breach(int index, int row, int col) const;

    std::array<FlexGrid *, telemetry::gridCount> gTlm{};
    int lastMouseRow_ = -1;
    int lastMouseCol_ = -1;
    history::ChannelLimits limits_;
};
