// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QBrush>
#include <QString>
#include <QTableWidget>

#include <map>
#include <optional>
#include <utility>

// A grid with the members the telemetry display uses: row and column
// counts, cell text, column widths in twips, hidden columns, row height, the
// cell under the mouse, a tool tip and a tag. Row 0 and column 0 are fixed
// (header) cells drawn like a header; the widget's own headers are not used.
class FlexGrid : public QTableWidget
{
    Q_OBJECT
public:
    explicit FlexGrid(QWidget *parent = nullptr);

    int Rows() const { return rowCount(); }
    void setRows(int rows);
    int Cols() const { return columnCount(); }
    void setCols(int cols);

    // Writes to cells wait for the next turn of the event loop, so that a
    // cell written many times meanwhile is drawn once, with its last text;
    // reading gives what was written last.
    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    // The cell's background (a default brush: none), written the same way.
    void setCellBackground(int row, int col, const QBrush &brush);
    // The cell's text colour (a default brush: the grid's own) and italics,
    // written the same way.
    void setCellForeground(int row, int col, const QBrush &brush);
    void setCellItalic(int row, int col, bool italic);
    // At once.
    void setCellAlignment(int row, int col, Qt::Alignment alignment);
    // Makes the writes that wait now.
    void applyPending();

    // Column width and row height in twips.
    int ColWidth(int col) const;
    void setColWidth(int col, int twips);
    bool ColHidden(int col) const { return isColumnHidden(col); }
    void setColHidden(int col, bool hidden) { setColumnHidden(col, hidden); }
    int RowHeight(int row) const;
    void setColAlignmentCenter(int col, bool headerOnly);

    // The cell under the mouse pointer (-1 when none).
    int MouseRow() const { return mouseRow_; }
    int MouseCol() const { return mouseCol_; }

    QString ToolTipText() const { return toolTip(); }
    void setToolTipText(const QString &text) { setToolTip(text); }
    QString Tag() const { return tag_; }
    void setTag(const QString &tag) { tag_ = tag; }

    int twipsPerPixelX() const;
    int twipsPerPixelY() const;

signals:
    void MouseMove(FlexGrid *grid);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;

private:
    QTableWidgetItem *cell(int row, int col);
    void styleFixedCell(int row, int col, QTableWidgetItem *item) const;

    struct PendingCell
    {
        std::optional<QString> text;
        std::optional<QBrush> background;
        std::optional<QBrush> foreground;
        std::optional<bool> italic;
    };
    PendingCell *pendingCell(int row, int col);

    std::map<std::pair<int, int>, PendingCell> pending_;
    int mouseRow_ = -1;
    int mouseCol_ = -1;
    QString tag_;
};
