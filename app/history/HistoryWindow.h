// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/BackgroundReader.h"
#include "history/ChannelSeries.h"
#include "history/HistoryChannelPicks.h"
#include "history/HistoryRanges.h"

#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <set>

class clsIni;
class QLabel;
class QTableView;
class QSplitter;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace history {

class AlarmModel;
class HistoryPlot;

// "Telemetry History": the channels of a store in a tree (grid, row, side)
// to tick; the ticked ones plotted over UTC time, one pane per unit; range
// buttons; a cursor read-out; the minimum, maximum, mean and last value of
// each over the time shown; the values outside their limits in an alarm list;
// Earth shadow and in-view intervals shaded; the time shown exported as CSV.
// While its right edge is at the last value stored, it follows new values.
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

    // Reads values on a thread of its own over sources `opener` opens there,
    // rather than over the window's source: a long read holds nothing up.
    void readInBackground(BackgroundReader::Opener opener);
    // The ticked channels, the time shown and the panes' sizes are kept in
    // `ini` when the window closes, and taken from it now.
    void useSettings(clsIni *ini);

    // Reads the channels and values afresh (frames stored in the past).
    void reload();
    // Looks for values stored since; moves the view on to them while its
    // right edge is at the last value. A timer calls it every second.
    void followStore();
    void showRange(HistoryRange range);
    // Writes the ticked channels over the time shown; false and a message
    // box when the file cannot be written.
    bool exportCsv(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // What a read brings: the values of `jobs`, making the loaded values
    // those of `span`; `fresh` when they replace what is loaded.
    struct Load
    {
        std::vector<ReadJob> jobs;
        TimeSpan span;
        bool fresh = false;
        quint64 generation = 0;
    };

    void fillTree();
    void restoreSettings();
    void saveSettings();
    void onItemChanged(QTreeWidgetItem *item);
    void onViewChanged(qint64 fromMs, qint64 toMs);
    void onCursorMoved(qint64 utcMs, const QString &unit);
    void onAlarmActivated(int row);
    void chooseExportFile();
    void rebuildPlot();
    void ensureLoaded(const TimeSpan &view);
    void takeLoad(const Load &load, std::vector<ChannelValues> values);
    void ensureShading(const TimeSpan &view);
    void updateStatistics();
    void updateAlarms();

    const ChannelSource &source_;
    SpanQuery shadowQuery_;
    SpanQuery inViewQuery_;
    ChannelPicks picks_;
    std::unique_ptr<BackgroundReader> reader_;
    clsIni *ini_ = nullptr;
    // The values read, over loadedSpan_ for the keys of loadedKeys_;
    // generation_ counts changes of them, so that a read begun before one
    // is not taken after it.
    std::map<ChannelKey, std::vector<ChannelPoint>> loaded_;
    std::set<ChannelKey> loadedKeys_;
    std::optional<TimeSpan> loadedSpan_;
    quint64 generation_ = 0;
    std::optional<qint64> storedEnd_; // the last value stored when last looked
    std::optional<TimeSpan> shadedSpan_;

    QTreeWidget *tree_;
    HistoryPlot *plot_;
    QLabel *readout_;
    QLabel *rangeLabel_;
    QTableWidget *statistics_;
    QLabel *alarmTitle_;
    QTableView *alarms_;
    AlarmModel *alarmModel_;
    bool alarmsSized_ = false;
    QSplitter *across_;
    QSplitter *down_;
    bool filling_ = false;
};

} // namespace history
