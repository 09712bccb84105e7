// SPDX-License-Identifier: GPL-2.0-or-later
#include "telemetry/TelemetryPanel.h"

#include "platform/FlexGrid.h"

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
}

void TelemetryPanel::apply(const QList<TelemetryDecoder::CellWrite> &writes)
{
    for (const TelemetryDecoder::CellWrite &write : writes) {
        if (write.grid < 0 || write.grid >= telemetry::gridCount)
            continue;
        FlexGrid *grid = gTlm[static_cast<size_t>(write.grid)];
        grid->setTextMatrix(write.row, write.column, write.text);
        if (write.column < 1 || write.column > telemetry::sideCount)
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
    bool isNumber = false;
    const double value = gTlm[static_cast<size_t>(index)]->TextMatrix(row, col).toDouble(&isNumber);
    return isNumber && limitCheck_ ? limitCheck_(index, row, col - 1, value) : QString();
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
    grid->setToolTipText(cellToolTip(static_cast<int>(index), row, col));
}
