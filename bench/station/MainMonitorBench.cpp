// SPDX-License-Identifier: GPL-2.0-or-later
// Frames shown in the main window's monitor the way a monitored frame is
// shown: joined lines, the cut back to 5000 characters above 10000, the
// append at the end. The window is not shown and not loaded, so the terminal
// is not fed and "Only Show ORVEX" keeps its default (on); the frames go in
// as link texts, which the monitor shows in every mode by the same path.
// Frames per second.
#include "core/MonitorText.h"
#include "core/frmORVEX.h"

#include <QList>
#include <QPlainTextEdit>
#include <QString>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// Monitored frames as the main window passes them on: CR-separated lines.
QList<QString> frameTexts()
{
    return {
        QStringLiteral("14:07:41R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI Len=27>:\rHK,112,87,131,96,0,0,0011,0\r"),
        QStringLiteral("14:07:51R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI Len=27>:\rHK,201,14,77,250,0,0,0000,0\r"),
        QStringLiteral("14:07:55R Q9YYY-9>APRS,ORVEX-1,WIDE2-1 Port=1 <UI Len=55 PF=0>:\r"
                       "=3854.79N/07628.80W-ORVEX ground station, 2 m and 70 cm\r"),
        QStringLiteral("14:08:01T Q9ZZZ>APZ36Q Port=1 <UI Len=44>:\r"
                       ">ORVEX-1 station ready, telemetry every 10 s\r"),
    };
}

void appendToFullMainMonitor(benchmark::State &state)
{
    QTemporaryDir folder;
    frmORVEX window(folder.path());
    const QList<QString> texts = frameTexts();
    // Fill past the limit once so every run sees a monitor in use.
    for (int i = 0; window.txtMon()->toPlainText().size() <= monitor::monitorLimit && i < 10000; ++i)
        window.ShowMonitorText(texts[i % texts.size()], monitor::LinkMessage);
    qsizetype frame = 0;
    for (auto _ : state)
        window.ShowMonitorText(texts[frame++ % texts.size()], monitor::LinkMessage);
    state.SetItemsProcessed(state.iterations());
    state.counters["chars shown"] = static_cast<double>(window.txtMon()->toPlainText().size());
}
BENCHMARK(appendToFullMainMonitor);

} // namespace
