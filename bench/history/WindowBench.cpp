// SPDX-License-Identifier: GPL-2.0-or-later
// The history window itself over one channel of 1,000,000 values, nine in
// ten outside its limits: opened, the channel ticked and "All" shown (read,
// thinned, drawn, statistics and alarms over the year), and one pan step by
// the arrow key. Then over the year's store (125,000 values of a channel,
// most outside the limits), read on a connection of its own as the station
// does, or on the window's thread: "All", and the longest the window's
// thread went without an event loop turn meanwhile.
#include "PlotBenchData.h"
#include "YearStore.h"
#include "history/HistoryPlot.h"
#include "history/HistoryWindow.h"
#include "telemetry/TelemetryGrids.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

void tickTheChannel(history::HistoryWindow &window)
{
    auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("channels"));
    tree->topLevelItem(0)->child(0)->child(0)->setCheckState(0, Qt::Checked);
}

void BM_HistoryWindowOpenAll(benchmark::State &state)
{
    const auto &source = millionPointSource();
    for (auto _ : state) {
        history::HistoryWindow window(source);
        window.show();
        tickTheChannel(window);
        window.showRange(history::HistoryRange::All);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_HistoryWindowOpenAll)->Unit(benchmark::kMillisecond);

void BM_HistoryWindowPanStep(benchmark::State &state)
{
    const auto &source = millionPointSource();
    history::HistoryWindow window(source);
    window.show();
    tickTheChannel(window);
    window.showRange(history::HistoryRange::All);
    auto *plot = window.findChild<history::HistoryPlot *>();
    for (int i = 0; i < 5; ++i) { // a month in view
        QKeyEvent zoom(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier);
        QApplication::sendEvent(plot, &zoom);
    }
    bool right = true;
    int steps = 0;
    for (auto _ : state) {
        if (++steps % 8 == 0)
            right = !right;
        QKeyEvent pan(QEvent::KeyPress, right ? Qt::Key_Right : Qt::Key_Left, Qt::NoModifier);
        QApplication::sendEvent(plot, &pan);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_HistoryWindowPanStep)->Unit(benchmark::kMillisecond);

// The year's store opened as the station opens it, with limits on one
// channel that 85 % of its values break.
struct OpenYearStore
{
    static constexpr history::ChannelKey key{telemetry::TempGrid, 8, 0};

    OpenYearStore() : database(yearstore::yearStore()), store(database)
    {
        database.open();
        reader.setConnection(database.reader());
        std::vector<double> values;
        for (const history::ChannelPoint &point : reader.series(key, 0, yearstore::start * 2))
            values.push_back(point.value);
        std::sort(values.begin(), values.end());
        const telemetry::GridLayout &layout = telemetry::gridLayout(key.grid);
        limits.loadText(QStringLiteral("%1, %2, A, %3, %4\n")
                            .arg(layout.tag, layout.captions[key.row - 1])
                            .arg(values[values.size() / 10], 0, 'g', 17)
                            .arg(values[values.size() / 4], 0, 'g', 17));
        reader.setLimits(limits);
        outside = static_cast<double>(std::count_if(values.begin(), values.end(),
                                                    [&](double v) {
                                                        return v < values[values.size() / 10] ||
                                                               v > values[values.size() / 4];
                                                    })) /
                  static_cast<double>(values.size());
    }

    // A source of its own on the reading thread, as the station opens one.
    history::BackgroundReader::Opener opener() const
    {
        return [this]() -> std::unique_ptr<history::ChannelSource> {
            auto source = std::make_unique<history::StoreReader>(database.openReader());
            source->setLimits(limits);
            return source;
        };
    }

    database::StationDatabase database;
    history::TelemetryStore store;
    history::StoreReader reader;
    history::ChannelLimits limits;
    double outside = 0;
};

void tickStoreChannel(history::HistoryWindow &window)
{
    auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("channels"));
    const QString caption =
        telemetry::gridLayout(OpenYearStore::key.grid).captions[OpenYearStore::key.row - 1];
    for (QTreeWidgetItem *item :
         tree->findItems(QStringLiteral("Side A"), Qt::MatchRecursive | Qt::MatchExactly))
        if (item->parent()->text(0) == caption &&
            item->parent()->parent()->text(0) == telemetry::gridLayout(OpenYearStore::key.grid).tag)
            item->setCheckState(0, Qt::Checked);
}

void BM_HistoryWindowStoreAll(benchmark::State &state)
{
    static const OpenYearStore opened;
    qint64 longestTurnMs = 0;
    for (auto _ : state) {
        history::HistoryWindow window(opened.reader);
        if (state.range(0) == 1)
            window.readInBackground(opened.opener());
        window.show();
        tickStoreChannel(window);
        QElapsedTimer turn, all;
        turn.start(); // "All" asked: a read on this thread counts
        all.start();
        window.showRange(history::HistoryRange::All);
        // Until the values are in: the longest wait between two turns of
        // the event loop is what the station's intake would wait.
        auto *statistics = window.findChild<QTableWidget *>(QStringLiteral("statistics"));
        while (statistics->item(0, 1) && statistics->item(0, 1)->text() == QStringLiteral("-") &&
               all.elapsed() < 60'000) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            longestTurnMs = std::max(longestTurnMs, turn.restart());
        }
        QApplication::processEvents();
        longestTurnMs = std::max(longestTurnMs, turn.elapsed());
    }
    state.counters["outside_limits"] = opened.outside;
    state.counters["longest_turn_ms"] = static_cast<double>(longestTurnMs);
}
// 0: read on the window's thread over the station's connection; 1: on a
// thread of its own.
BENCHMARK(BM_HistoryWindowStoreAll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
