// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

#include <QColor>
#include <qcustomplot.h>

namespace history {

class SpanShading;

// The history window's plot: one pane per unit, stacked, sharing one UTC
// time axis; each channel a line thinned to the pixels it needs, with its
// limits as dashed lines and its values outside them marked, its legend above
// it; time labels as many as the width holds apart; Earth shadow and
// in-view intervals shaded behind. Mouse drag and wheel pan and zoom in
// time; so do the arrow keys, + and -.
class HistoryPlot : public QCustomPlot
{
    Q_OBJECT

public:
    struct Channel
    {
        ChannelKey key;
        ChannelInfo info;
        QColor color;
        const std::vector<ChannelPoint> *points = nullptr; // owned by the caller, by time
    };
    struct Pane
    {
        QString unit;
        std::vector<Channel> channels;
    };

    static const QColor shadowColor;
    static const QColor inViewColor;

    explicit HistoryPlot(QWidget *parent = nullptr);

    // Lays the panes out afresh; the points must outlive the next setPanes().
    void setPanes(std::vector<Pane> panes);
    // Shows [fromMs, toMs] (UTC ms); viewChanged follows.
    void setView(const TimeSpan &view);
    TimeSpan view() const { return view_; }
    void setShading(std::vector<TimeSpan> shadow, std::vector<TimeSpan> inView);
    // Thins the lines for the view, fits each pane's value axis, redraws.
    void refresh();

signals:
    // The time shown changed, by a call or by the user.
    void viewChanged(qint64 fromMs, qint64 toMs);
    // The mouse points at this UTC time in the pane of `unit`.
    void cursorMoved(qint64 utcMs, const QString &unit);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct PaneParts
    {
        QCPAxisRect *rect = nullptr;
        std::vector<QCPGraph *> lines;
        std::vector<QCPGraph *> alarms;
        SpanShading *shadow = nullptr;
        SpanShading *inView = nullptr;
        QCPItemStraightLine *cursor = nullptr;
    };

    void onAxisRange(const QCPRange &range);
    void panBy(double fraction);
    void zoomBy(double factor);
    void fitValueAxis(size_t pane);

    std::vector<Pane> panes_;
    std::vector<PaneParts> parts_;
    TimeSpan view_{0, 1};
    std::vector<TimeSpan> shadow_, inView_;
    bool syncing_ = false;
};

} // namespace history
