// SPDX-License-Identifier: GPL-2.0-or-later
// What queueing and delivering one frame costs: every step is a commit
// that reaches the disk (WAL, synchronous FULL) on the user interface thread.
#include "sharing/SidsReport.h"
#include "sharing/UploadQueue.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

sharing::SidsReport frame(int n)
{
    sharing::SidsReport report;
    report.noradId = QStringLiteral("26931");
    report.source = QStringLiteral("Q9ZZZ-5");
    report.heardUtc = QDateTime::currentDateTimeUtc();
    report.frame = QByteArray(60, 'x') + QByteArray::number(n);
    report.longitudeDeg = 8.5;
    report.latitudeDeg = 47.4;
    report.azimuthDeg = 120;
    report.elevationDeg = 12;
    return report;
}

void BM_QueueAdd(benchmark::State &state)
{
    QTemporaryDir dir;
    sharing::UploadQueue queue(dir.filePath(QStringLiteral("telemetry.db")));
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(queue.add(frame(n++)));
}
BENCHMARK(BM_QueueAdd)->Unit(benchmark::kMillisecond);

// The head of a queue that already holds 10,000 delivered frames: taken and marked sent.
void BM_QueueTakeAndMarkSent(benchmark::State &state)
{
    QTemporaryDir dir;
    sharing::UploadQueue queue(dir.filePath(QStringLiteral("telemetry.db")));
    for (int n = 0; n < 10000; ++n)
        queue.markSent(*queue.add(frame(n)), QDateTime::currentDateTimeUtc());
    for (auto _ : state) {
        state.PauseTiming();
        queue.add(frame(0));
        state.ResumeTiming();
        const auto head = queue.oldestQueued();
        queue.markSent(head->id, QDateTime::currentDateTimeUtc());
        benchmark::DoNotOptimize(queue.counts());
    }
}
BENCHMARK(BM_QueueTakeAndMarkSent)->Unit(benchmark::kMillisecond);

} // namespace
