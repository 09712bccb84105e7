// SPDX-License-Identifier: GPL-2.0-or-later
// The history window itself over one channel of 1,000,000 values: opened,
// the channel ticked and "All" shown (read, thinned, drawn, statistics and
// alarms over the year), and one pan step by the arrow key.
#include "PlotBenchData.h"
#include "history/HistoryPlot.h"
#include "history/HistoryWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTreeWidget>

#include <benchmark/benchmark.h>

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

} // namespace
