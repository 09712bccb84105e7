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
        grid->setCols(telemetry::gridColumns);
        grid->setRows(layoutOf.rows());
        for (int col = 0; col < telemetry::gridColumns; ++col)
            grid->setColWidth(col, telemetry::columnWidthsTwips[static_cast<size_t>(col)]);
        grid->setColHidden(3, true);
        grid->setColHidden(4, true);
        for (int col = 0; col < 3; ++col)
            grid->setTextMatrix(0, col, layoutOf.header[static_cast<size_t>(col)]);
        for (int row = 1; row < layoutOf.rows(); ++row)
            grid->setTextMatrix(row, 0, layoutOf.captions[row - 1]);
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

std::optional<double> &TelemetryPanel::valueAt(int index, int row, int side)
{
    std::vector<std::optional<double>> &values = values_[static_cast<size_t>(index)];
    const auto at = static_cast<size_t>(row * telemetry::sideCount + side);
    if (values.size() <= at)
        values.resize(at + 1);
    return values[at];
}

void TelemetryPanel::showFrame(const TelemetryDecoder::Frame &frame, orvex::Date displayTime)
{
    if (frame.side < 0 || frame.side >= telemetry::sideCount)
        return;
    for (const TelemetryDecoder::ChannelReading &reading : frame.channels)
        if (!reading.text.isEmpty() && reading.grid >= 0 && reading.grid < telemetry::gridCount)
            valueAt(reading.grid, reading.row, frame.side) = reading.value;
    for (const TelemetryDecoder::CellWrite &write :
         TelemetryDecoder::cellWrites(frame, displayTime)) {
        FlexGrid *grid = gTlm[static_cast<size_t>(write.grid)];
        grid->setTextMatrix(write.row, write.column, write.text);
        if (write.column != frame.side + 1)
            continue;
        if (QTableWidgetItem *cell = grid->item(write.row, write.column))
            cell->setBackground(breach(write.grid, write.row, write.column).isEmpty()
                                    ? QBrush()
                                    : QBrush(warningColour()));
    }
}

QColor TelemetryPanel::warningColour()
{
    return QColor(255, 176, 112);
}

QString TelemetryPanel::breach(int index, int row, int col) const
{
    if (index < 0 || index >= telemetry::gridCount || col < 1 || col > telemetry::sideCount)
        return {};
    const std::vector<std::optional<double>> &values = values_[static_cast<size_t>(index)];
    const auto at = static_cast<size_t>(row * telemetry::sideCount + col - 1);
    const std::optional<double> value = at < values.size() ? values[at] : std::nullopt;
    return value && limitCheck_ ? limitCheck_(index, row, col - 1, *value) : QString();
}

QString TelemetryPanel::cellToolTip(int index, int row, int col) const
{
    if (index < 0 || index >= telemetry::gridCount || row <= 0 || col <= 0)
        return {};
    QString label = gTlm[static_cast<size_t>(index)]->TextMatrix(row, col + 2);
    QString limit = breach(index, row, col);
    if (limit.isEmpty())
        return label;
    limit[0] = limit[0].toUpper();
    return label + QLatin1Char('\n') + limit;
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
