// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "telemetry/TelemetryDecoder.h"

#include <QWidget>
#include <array>

class FlexGrid;

// The three telemetry grids of the main window (POWER, CURRENT, TEMP): each
// value cell keeps the label of the frame that set it in a hidden column,
// shown as the tool tip while the mouse is over the value.
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

private:
    void onMouseMove(FlexGrid *grid);

    // NOLINTNEXTLINE(readability-identifier-naming): the grids' own name
    std::array<FlexGrid *, telemetry::gridCount> gTlm{};
    int lastMouseRow_ = -1;
    int lastMouseCol_ = -1;
};
