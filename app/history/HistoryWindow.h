// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"
#include "history/HistoryChannelPicks.h"
#include "history/HistoryRanges.h"

#include <QWidget>

#include <functional>
#include <map>

class QLabel;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace history {

class HistoryPlot;

// "Telemetry History": the channels of a store in a tree (grid, row, side)
// to tick; the ticked ones plotted over UTC time, one pane per unit; range
// buttons; a cursor read-out; the minimum, maximum, mean and last value of
// each over the time shown; the values outside their limits in an alarm list;
// Earth shadow and in-view intervals shaded; the time shown exported as CSV.
class HistoryWindow : public QWidget
{
    Q_OBJECT

public:
    // The intervals of UTC time (ms) within [fromMs, toMs].
    using SpanQuery = std::function<std::vector<TimeSpan>(qint64 fromMs, qint64 toMs)>;

    // The source must outlive the window.
    explicit HistoryWindow(const ChannelSource &source, QWidget *parent = nullptr);
    ~HistoryWindow() override;

    // When the satellite was in the Earth's shadow; shaded grey.
    void setShadowSpans(SpanQuery query);
    // When the satellite was in view of the station; shaded green, and what
    // "Last pass" looks for.
    void setInViewSpans(SpanQuery query);

    // Reads the channels and values afresh (new frames stored).
    void reload();
    void showRange(HistoryRange range);
    // Writes the ticked channels over the time shown; false and a message
    // box when the file cannot be written.
    bool exportCsv(const QString &path);

private:
    void fillTree();
    void onItemChanged(QTreeWidgetItem *item);
    void onViewChanged(qint64 fromMs, qint64 toMs);
    void onCursorMoved(qint64 utcMs, const QString &unit);
    void onAlarmActivated(int row);
    void chooseExportFile();
    void rebuildPlot();
    void ensureLoaded(const TimeSpan &view);
    void ensureShading(const TimeSpan &view);
    void updateStatistics();
    void updateAlarms();

    const ChannelSource &source_;
    SpanQuery shadowQuery_;
    SpanQuery inViewQuery_;
    ChannelPicks picks_;
    std::map<ChannelKey, std::vector<ChannelPoint>> loaded_;
    std::optional<TimeSpan> loadedSpan_;
    std::optional<TimeSpan> shadedSpan_;

    QTreeWidget *tree_;
    HistoryPlot *plot_;
    QLabel *readout_;
    QLabel *rangeLabel_;
    QTableWidget *statistics_;
    QLabel *alarmTitle_;
    QTableWidget *alarms_;
    bool filling_ = false;
};

} // namespace history
