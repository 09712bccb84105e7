// SPDX-License-Identifier: GPL-2.0-or-later
// Frames shown in the main window's monitor the way a monitored frame is
// shown: joined lines, the cut back to 5000 characters above 10000, the
// append at the end. The window is not shown and not loaded, so the terminal
// is not fed and "Only Show ORVEX" keeps its default (on); the frames go in
// as link texts, which the monitor shows in every mode by the same path.
// Frames per second.
#include "MonitorFrames.h"
#include "core/MonitorText.h"
#include "core/frmORVEX.h"

#include <QList>
#include <QPlainTextEdit>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void appendToFullMainMonitor(benchmark::State &state)
{
    QTemporaryDir folder;
    frmORVEX window(folder.path());
    const QList<QString> texts = monitorFrameTexts();
    // Fill past the limit once so every run sees a monitor in use.
    for (int i = 0; window.txtMon()->toPlainText().size() <= monitor::monitorLimit && i < 10000;
         ++i)
        window.ShowMonitorText(texts[i % texts.size()], monitor::LinkMessage);
    qsizetype frame = 0;
    for (auto _ : state)
        window.ShowMonitorText(texts[frame++ % texts.size()], monitor::LinkMessage);
    state.SetItemsProcessed(state.iterations());
    state.counters["chars shown"] = static_cast<double>(window.txtMon()->toPlainText().size());
}
BENCHMARK(appendToFullMainMonitor);

} // namespace
