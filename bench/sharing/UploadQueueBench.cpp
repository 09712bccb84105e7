// SPDX-License-Identifier: GPL-2.0-or-later
// What queueing and delivering one frame costs: every step is a commit
// that reaches the disk (WAL, synchronous FULL), on the database's writer thread.
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

struct Queue
{
    explicit Queue(const QString &path) : database(path), queue(database) { database.open(); }
    database::StationDatabase database;
    sharing::UploadQueue queue;
};

void BM_QueueAdd(benchmark::State &state)
{
    QTemporaryDir dir;
    Queue opened(dir.filePath(QStringLiteral("telemetry.db")));
    int n = 0;
    for (auto _ : state) {
        opened.queue.add(frame(n++));
        opened.database.flush();
    }
}
BENCHMARK(BM_QueueAdd)->Unit(benchmark::kMillisecond);

// The head of a queue that already holds 10,000 delivered frames: taken and marked sent.
void BM_QueueTakeAndMarkSent(benchmark::State &state)
{
    QTemporaryDir dir;
    Queue opened(dir.filePath(QStringLiteral("telemetry.db")));
    sharing::UploadQueue &queue = opened.queue;
    for (int n = 0; n < 10000; ++n) {
        queue.add(frame(n));
        opened.database.flush();
        queue.markSent(queue.oldestQueued()->id, QDateTime::currentDateTimeUtc());
    }
    for (auto _ : state) {
        state.PauseTiming();
        queue.add(frame(0));
        opened.database.flush();
        state.ResumeTiming();
        const auto head = queue.oldestQueued();
        queue.markSent(head->id, QDateTime::currentDateTimeUtc());
        opened.database.flush();
        benchmark::DoNotOptimize(queue.counts());
    }
}
BENCHMARK(BM_QueueTakeAndMarkSent)->Unit(benchmark::kMillisecond);

} // namespace
