// SPDX-License-Identifier: GPL-2.0-or-later
// Monitored frames turned into monitor text, in frames per second: the long
// form every UI frame gets, and the short form of the satellite's own frames
// (header and first line), each then joined into CR LF lines.
#include "core/MonitorText.h"
#include "platform/DateTime.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

namespace {

orvex::Date displayTime()
{
    return orvex::utcToDate(QDateTime(QDate(2026, 12, 8), QTime(14, 7, 41), QTimeZone::utc()));
}

// Frames as the engines deliver them: header, CR, text, CR, a trailing NUL.
QList<QByteArray> frames(bool direWolf)
{
    const QByteArray header =
        direWolf
            ? QByteArrayLiteral(
                  " 1:Fm Q9ZZZ-3 To APRS Via ORVEX-1,WIDE2-1 <UI pid=F0 Len=%1 PF=0 >[14:07:41]")
            : QByteArrayLiteral(" 1:Fm Q9ZZZ-3 To APRS Via ORVEX-1 <UI pid=F0 Len=%1 >[14:07:41]");
    static const char *const texts[] = {
        "HK,112,87,131,96,0,0,0011,0",
        "HK,201,14,77,250,0,0,0000,0",
        "=3854.79N/07628.80W-ORVEX ground station, 2 m and 70 cm",
        ">ORVEX-1 station ready, telemetry every 10 s",
    };
    QList<QByteArray> list;
    for (const char *text : texts) {
        const QByteArray body(text);
        QByteArray frame = QByteArray(header).replace("%1", QByteArray::number(body.size()));
        frame += '\r' + body + '\r' + '\r' + QByteArray(1, '\0');
        list << frame;
    }
    return list;
}

void longForm(benchmark::State &state)
{
    const QList<QByteArray> list = frames(state.range(0) != 0);
    const orvex::Date when = displayTime();
    for (auto _ : state) {
        for (const QByteArray &frame : list) {
            const QString shown = monitor::rewriteMonitoredFrame(frame, monitor::UiFrame, when);
            benchmark::DoNotOptimize(monitor::joinMonitorLines(shown));
        }
    }
    state.SetItemsProcessed(state.iterations() * list.size());
}
BENCHMARK(longForm)->ArgName("direwolf")->Arg(0)->Arg(1);

void shortForm(benchmark::State &state)
{
    const QList<QByteArray> list = frames(state.range(0) != 0);
    const orvex::Date when = displayTime();
    const QString lineBreak = QStringLiteral("\r\n");
    for (auto _ : state) {
        for (const QByteArray &frame : list) {
            const QStringList lines = monitor::frameLines(frame);
            const QString header =
                monitor::FormatMonitorHeader(lines[0], monitor::UiFrame, true, when);
            benchmark::DoNotOptimize(
                monitor::joinMonitorLines(header + lineBreak + lines[1] + lineBreak));
        }
    }
    state.SetItemsProcessed(state.iterations() * list.size());
}
BENCHMARK(shortForm)->ArgName("direwolf")->Arg(0)->Arg(1);

void headerOnly(benchmark::State &state)
{
    const QString header =
        QStringLiteral(" 1:Fm Q9ZZZ-3 To APRS Via ORVEX-1 <UI pid=F0 Len=16 >[14:07:41]");
    const orvex::Date when = displayTime();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            monitor::FormatMonitorHeader(header, monitor::UiFrame, false, when));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(headerOnly);

} // namespace
