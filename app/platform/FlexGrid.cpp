// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/FlexGrid.h"

#include "platform/ScreenTwips.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QToolTip>

FlexGrid::FlexGrid(QWidget *parent) : QTableWidget(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setFrameShape(QFrame::Box);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
}

void FlexGrid::setRows(int rows)
{
    setRowCount(rows);
    for (int r = 0; r < rows; ++r)
        verticalHeader()->resizeSection(r, fontMetrics().height() + 4);
}

void FlexGrid::setCols(int cols)
{
    setColumnCount(cols);
}

QTableWidgetItem *FlexGrid::cell(int row, int col)
{
    QTableWidgetItem *it = item(row, col);
    if (!it) {
        it = new QTableWidgetItem;
        styleFixedCell(row, col, it);
        setItem(row, col, it);
    }
    return it;
}

void FlexGrid::styleFixedCell(int row, int col, QTableWidgetItem *it) const
{
    if (row == 0 || col == 0) {
        it->setBackground(palette().button());
        it->setForeground(palette().buttonText());
    } else {
        it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
}

QString FlexGrid::TextMatrix(int row, int col) const
{
    const auto waiting = pending_.find({row, col});
    if (waiting != pending_.end() && waiting->second.text)
        return *waiting->second.text;
    const QTableWidgetItem *it = item(row, col);
    return it ? it->text() : QString();
}

FlexGrid::PendingCell *FlexGrid::pendingCell(int row, int col)
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount())
        return nullptr;
    if (pending_.empty())
        QTimer::singleShot(0, this, &FlexGrid::applyPending);
    return &pending_[{row, col}];
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    if (PendingCell *waiting = pendingCell(row, col))
        waiting->text = text;
}

void FlexGrid::setCellBackground(int row, int col, const QBrush &brush)
{
    if (PendingCell *waiting = pendingCell(row, col))
        waiting->background = brush;
}

void FlexGrid::setCellForeground(int row, int col, const QBrush &brush)
{
    if (PendingCell *waiting = pendingCell(row, col))
        waiting->foreground = brush;
}

void FlexGrid::setCellItalic(int row, int col, bool italic)
{
    if (PendingCell *waiting = pendingCell(row, col))
        waiting->italic = italic;
}

void FlexGrid::setCellAlignment(int row, int col, Qt::Alignment alignment)
{
    if (row >= 0 && row < rowCount() && col >= 0 && col < columnCount())
        cell(row, col)->setTextAlignment(alignment);
}

void FlexGrid::applyPending()
{
    // Rows or columns may have gone meanwhile.
    std::map<std::pair<int, int>, PendingCell> writes;
    writes.swap(pending_);
    for (auto &[place, write] : writes) {
        const auto [row, col] = place;
        if (row >= rowCount() || col >= columnCount())
            continue;
        QTableWidgetItem *it = cell(row, col);
        if (write.text && it->text() != *write.text)
            it->setText(*write.text);
        if (write.background)
            it->setBackground(*write.background);
        if (write.foreground)
            it->setForeground(*write.foreground);
        if (write.italic && it->font().italic() != *write.italic) {
            QFont font = it->font();
            font.setItalic(*write.italic);
            it->setFont(font);
        }
    }
}

int FlexGrid::twipsPerPixelX() const
{
    return qRound(ScreenTwips::twipsPerPixelX());
}
int FlexGrid::twipsPerPixelY() const
{
    return qRound(ScreenTwips::twipsPerPixelY());
}

int FlexGrid::ColWidth(int col) const
{
    return columnWidth(col) * twipsPerPixelX();
}

void FlexGrid::setColWidth(int col, int twips)
{
    setColumnWidth(col, twips / twipsPerPixelX());
}

int FlexGrid::RowHeight(int row) const
{
    return rowHeight(row) * twipsPerPixelY();
}

void FlexGrid::setColAlignmentCenter(int col, bool headerOnly)
{
    for (int r = 0; r < rowCount(); ++r)
        if (!headerOnly || r == 0)
            cell(r, col)->setTextAlignment(Qt::AlignCenter);
}

void FlexGrid::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    mouseRow_ = rowAt(at.y());
    mouseCol_ = columnAt(at.x());
    emit MouseMove(this);
    QTableWidget::mouseMoveEvent(event);
}

void FlexGrid::leaveEvent(QEvent *event)
{
    mouseRow_ = -1;
    mouseCol_ = -1;
    QTableWidget::leaveEvent(event);
}

bool FlexGrid::viewportEvent(QEvent *event)
{
    // The grid has one tool tip of its own, set by its owner as the mouse moves.
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        if (toolTip().isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), toolTip(), viewport());
        return true;
    }
    return QTableWidget::viewportEvent(event);
}
