// SPDX-License-Identifier: GPL-2.0-or-later
#include "telemetry/TelemetryPanel.h"

#include "platform/FlexGrid.h"
#include "ui/ToolTipText.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <algorithm>

TelemetryPanel::TelemetryPanel(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (int index = 0; index < telemetry::gridCount; ++index) {
        const telemetry::GridLayout &layoutOf = telemetry::gridLayout(index);
        auto *grid = new FlexGrid(this);
        grid->setObjectName(QStringLiteral("gTlm%1").arg(index));
        grid->setFont(fixed);
        grid->setTag(layoutOf.tag);
        grid->setCols(telemetry::gridColumns + 1);
        grid->setRows(layoutOf.rows());
        for (int col = 0; col < telemetry::gridColumns; ++col)
            grid->setColWidth(col, telemetry::columnWidthsTwips[static_cast<size_t>(col)]);
        grid->setColWidth(telemetry::unitColumn, telemetry::unitColumnWidthTwips);
        grid->setColHidden(3, true);
        grid->setColHidden(4, true);
        for (int col = 0; col < 3; ++col)
            grid->setTextMatrix(0, col, layoutOf.header[static_cast<size_t>(col)]);
        for (int row = 1; row < layoutOf.rows(); ++row) {
            grid->setTextMatrix(row, 0, layoutOf.captions[row - 1]);
            grid->setTextMatrix(row, telemetry::unitColumn, telemetry::channelUnit(index, row));
            grid->setCellAlignment(row, telemetry::unitColumn, Qt::AlignLeft | Qt::AlignVCenter);
        }
        grid->setColAlignmentCenter(1, true);
        grid->setColAlignmentCenter(2, true);
        connect(grid, &FlexGrid::MouseMove, this, &TelemetryPanel::onMouseMove);
        gTlm[static_cast<size_t>(index)] = grid;
        layout->addWidget(grid, 0, Qt::AlignTop);
    }
    layout->addStretch();
    // The grids at their sizes from the start, so that a window holding the
    // panel has its final size before it is placed.
    for (int index = 0; index < telemetry::gridCount; ++index)
        SizeGrid(index);
}

TelemetryPanel::CellState &TelemetryPanel::stateAt(int index, int row, int side)
{
    std::vector<CellState> &cells = cells_[static_cast<size_t>(index)];
    const auto at = static_cast<size_t>(row) * static_cast<size_t>(telemetry::sideCount) +
                    static_cast<size_t>(side);
    if (cells.size() <= at)
        cells.resize(at + 1);
    return cells[at];
}

const TelemetryPanel::CellState *TelemetryPanel::findState(int index, int row, int side) const
{
    if (index < 0 || index >= telemetry::gridCount || side < 0 || side >= telemetry::sideCount)
        return nullptr;
    const std::vector<CellState> &cells = cells_[static_cast<size_t>(index)];
    const auto at = static_cast<size_t>(row) * static_cast<size_t>(telemetry::sideCount) +
                    static_cast<size_t>(side);
    return at < cells.size() ? &cells[at] : nullptr;
}

void TelemetryPanel::showFrame(const TelemetryDecoder::Frame &frame, orvex::Date displayTime)
{
    if (frame.side < 0 || frame.side >= telemetry::sideCount)
        return;
    for (const TelemetryDecoder::ChannelReading &reading : frame.channels) {
        if (reading.text.isEmpty() || reading.grid < 0 || reading.grid >= telemetry::gridCount)
            continue;
        CellState &state = stateAt(reading.grid, reading.row, frame.side);
        state.value = reading.value;
        state.heard = displayTime;
        FlexGrid *grid = gTlm[static_cast<size_t>(reading.grid)];
        if (state.stored || state.dimmed) {
            state.stored = false;
            state.dimmed = false;
            grid->setCellItalic(reading.row, frame.side + 1, false);
            grid->setCellForeground(reading.row, frame.side + 1, QBrush());
        }
    }
    for (const TelemetryDecoder::CellWrite &write :
         TelemetryDecoder::cellWrites(frame, displayTime)) {
        FlexGrid *grid = gTlm[static_cast<size_t>(write.grid)];
        grid->setTextMatrix(write.row, write.column, write.text);
        if (write.column != frame.side + 1)
            continue;
        grid->setCellBackground(write.row, write.column,
                                breach(write.grid, write.row, write.column).isEmpty()
                                    ? QBrush()
                                    : QBrush(warningColour()));
    }
}

void TelemetryPanel::showStored(const std::vector<telemetry::StoredValue> &values)
{
    for (const telemetry::StoredValue &stored : values) {
        if (stored.grid < 0 || stored.grid >= telemetry::gridCount || stored.row < 1 ||
            stored.row >= telemetry::gridLayout(stored.grid).rows() || stored.side < 0 ||
            stored.side >= telemetry::sideCount)
            continue;
        CellState &state = stateAt(stored.grid, stored.row, stored.side);
        if (state.heard && !state.stored)
            continue; // a frame of this run came first
        state = {stored.value, stored.heard, true, false};
        FlexGrid *grid = gTlm[static_cast<size_t>(stored.grid)];
        const int col = stored.side + 1;
        grid->setTextMatrix(stored.row, col, telemetry::formatGridValue(stored.grid, stored.value));
        grid->setTextMatrix(stored.row, stored.side + 3,
                            stored.label + TelemetryDecoder::formatLabelTime(stored.heard));
        grid->setCellItalic(stored.row, col, true);
        grid->setCellBackground(
            stored.row, col,
            breach(stored.grid, stored.row, col).isEmpty() ? QBrush() : QBrush(warningColour()));
    }
}

void TelemetryPanel::refreshAges(orvex::Date now)
{
    for (int index = 0; index < telemetry::gridCount; ++index) {
        std::vector<CellState> &cells = cells_[static_cast<size_t>(index)];
        for (size_t at = 0; at < cells.size(); ++at) {
            CellState &state = cells[at];
            if (!state.heard)
                continue;
            const bool stale = (now - *state.heard) * orvex::secondsPerDay > staleSeconds;
            if (stale == state.dimmed)
                continue;
            state.dimmed = stale;
            const int row = static_cast<int>(at) / telemetry::sideCount;
            const int col = static_cast<int>(at) % telemetry::sideCount + 1;
            gTlm[static_cast<size_t>(index)]->setCellForeground(
                row, col, stale ? QBrush(staleColour()) : QBrush());
        }
    }
}

QColor TelemetryPanel::staleColour()
{
    return QColor(128, 128, 128);
}

QColor TelemetryPanel::warningColour()
{
    return QColor(255, 176, 112);
}

QString TelemetryPanel::breach(int index, int row, int col) const
{
    if (index < 0 || index >= telemetry::gridCount || col < 1 || col > telemetry::sideCount)
        return {};
    const CellState *state = findState(index, row, col - 1);
    return state && state->value && limitCheck_ ? limitCheck_(index, row, col - 1, *state->value)
                                                : QString();
}

QString TelemetryPanel::cellToolTip(int index, int row, int col) const
{
    if (index < 0 || index >= telemetry::gridCount || row <= 0 || col <= 0)
        return {};
    if (col > telemetry::sideCount)
        return {};
    QString tip = gTlm[static_cast<size_t>(index)]->TextMatrix(row, col + 2);
    if (const CellState *state = findState(index, row, col - 1); state && state->heard) {
        const QString heard =
            orvex::dateToWallClock(*state->heard).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        tip += QLatin1Char('\n') +
               (state->stored ? QStringLiteral("Stored value, heard at ")
                              : QStringLiteral("Heard at ")) +
               heard;
    }
    QString limit = breach(index, row, col);
    if (limit.isEmpty())
        return tip;
    limit[0] = limit[0].toUpper();
    return tip + QLatin1Char('\n') + limit;
}

void TelemetryPanel::SizeGrid(int index)
{
    FlexGrid *grid = gTlm[static_cast<size_t>(index)];
    const int heightTwips =
        grid->Rows() * grid->RowHeight(grid->Rows() - 1) + 4 * grid->twipsPerPixelY();
    int widthTwips = 4 * grid->twipsPerPixelX();
    for (int col = 0; col < grid->Cols(); ++col)
        if (!grid->ColHidden(col))
            widthTwips += grid->ColWidth(col);
    grid->setFixedSize(widthTwips / grid->twipsPerPixelX(), heightTwips / grid->twipsPerPixelY());
    // The panel is as tall as its tallest grid.
    int tallest = 0;
    for (const FlexGrid *each : gTlm)
        tallest =
            std::max(tallest, each->maximumHeight() < QWIDGETSIZE_MAX ? each->maximumHeight() : 0);
    setMinimumHeight(tallest);
}

void TelemetryPanel::onMouseMove(FlexGrid *grid)
{
    // One pair is kept for all three grids: the tool tip changes only when
    // the mouse reaches another cell.
    const int row = grid->MouseRow();
    const int col = grid->MouseCol();
    if (row == lastMouseRow_ && col == lastMouseCol_)
        return;
    lastMouseRow_ = row;
    lastMouseCol_ = col;
    const auto index = std::find(gTlm.begin(), gTlm.end(), grid) - gTlm.begin();
    // The label is the frame's own text.
    grid->setToolTipText(orvex::plainToolTip(cellToolTip(static_cast<int>(index), row, col)));
}
