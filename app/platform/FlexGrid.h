// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QTableWidget>

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

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);

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

    int mouseRow_ = -1;
    int mouseCol_ = -1;
    QString tag_;
};
