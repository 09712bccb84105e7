// SPDX-License-Identifier: GPL-2.0-or-later
// Frames appended to the terminal's monitor the way the terminal shows them:
// the cut its trimming rule asks for, then the coloured text; frames per
// second. The monitor starts full, so trimming happens as it does in use.
#include "MonitorFrames.h"
#include "platform/RichMonitor.h"
#include "terminal/TerminalRules.h"

#include <QColor>
#include <QList>
#include <QString>

#include <benchmark/benchmark.h>

namespace {

void showData(RichMonitor &monitor, const QString &text, const QColor &colour)
{
    const int cut = monitor.length() > TerminalRules::monitorLimit
                        ? TerminalRules::monitorCutLength(monitor.text())
                        : 0;
    if (cut > 0)
        monitor.removeLeading(cut);
    monitor.appendColoured(text, colour);
}

const QColor received(0, 255, 0);
const QColor transmitted(0, 255, 255);

void appendToFullMonitor(benchmark::State &state)
{
    const QList<QString> texts = monitorFrameTexts();
    RichMonitor monitor;
    // Fill past the limit once so every run sees a monitor in use.
    for (int i = 0; monitor.length() <= TerminalRules::monitorLimit; ++i)
        showData(monitor, texts[i % texts.size()], received);
    qsizetype frame = 0;
    for (auto _ : state) {
        const qsizetype i = frame++ % texts.size();
        showData(monitor, texts[i], i == 3 ? transmitted : received);
    }
    state.SetItemsProcessed(state.iterations());
    state.counters["chars shown"] = monitor.length();
}
BENCHMARK(appendToFullMonitor);

// The rule alone, on a monitor's text just past the limit.
void cutLengthOnly(benchmark::State &state)
{
    const QList<QString> texts = monitorFrameTexts();
    QString text;
    for (int i = 0; text.size() <= TerminalRules::monitorLimit; ++i)
        text +=
            QString(texts[i % texts.size()]).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (auto _ : state)
        benchmark::DoNotOptimize(TerminalRules::monitorCutLength(text));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(cutLengthOnly);

// Reading the monitor's text, which the rule needs before every append.
void readMonitorText(benchmark::State &state)
{
    const QList<QString> texts = monitorFrameTexts();
    RichMonitor monitor;
    for (int i = 0; monitor.length() <= TerminalRules::monitorLimit; ++i)
        showData(monitor, texts[i % texts.size()], received);
    for (auto _ : state)
        benchmark::DoNotOptimize(monitor.text());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(readMonitorText);

} // namespace
