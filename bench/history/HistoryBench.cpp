// SPDX-License-Identifier: GPL-2.0-or-later
// The store's figures: insert rate in batches, open plus one channel over a
// year of heavy use (1,000,000 lines), the CSV export of it, and bytes per line.
#include "YearStore.h"
#include "history/ValueExport.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

using namespace yearstore;

void BM_InsertInBatches(benchmark::State &state)
{
    QTemporaryDir dir;
    Store opened(dir.filePath(QStringLiteral("telemetry.db")));
    Frames frames;
    qint64 next = 0;
    // Prepared outside the timing: decoding is the grids' work, not the store's.
    std::vector<history::HeardFrame> batch;
    for (auto _ : state) {
        state.PauseTiming();
        batch.clear();
        for (int index = 0; index < state.range(0); ++index)
            batch.push_back(frames.frame(next++));
        state.ResumeTiming();
        for (const history::HeardFrame &frame : batch)
            opened.store.add(frame);
        opened.database.flush();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.counters["bytes_per_line"] =
        static_cast<double>(QFileInfo(dir.filePath(QStringLiteral("telemetry.db"))).size() +
                            QFileInfo(dir.filePath(QStringLiteral("telemetry.db-wal"))).size()) /
        static_cast<double>(next);
}
BENCHMARK(BM_InsertInBatches)->Arg(2500)->Unit(benchmark::kMillisecond);

// A flood: 10,000 different lines a second, so each repeat check looks
// across 600,000 frames of the last minute; one commit per 250 ms.
void BM_InsertFloodOfDifferentLines(benchmark::State &state)
{
    QTemporaryDir dir;
    Store opened(dir.filePath(QStringLiteral("telemetry.db")));
    Frames frames;
    frames.spacing = 0; // all within the repeat window
    qint64 next = 0;
    std::vector<history::HeardFrame> batch;
    for (auto _ : state) {
        state.PauseTiming();
        batch.clear();
        for (int index = 0; index < 2500; ++index)
            batch.push_back(frames.frame(next++));
        state.ResumeTiming();
        for (const history::HeardFrame &frame : batch)
            opened.store.add(frame);
        opened.database.flush();
    }
    state.SetItemsProcessed(state.iterations() * 2500);
}
BENCHMARK(BM_InsertFloodOfDifferentLines)->Unit(benchmark::kMillisecond)->Iterations(40);

void BM_YearStoreBytesPerLine(benchmark::State &state)
{
    const QString &path = yearStore();
    for (auto _ : state)
        benchmark::DoNotOptimize(QFileInfo(path).size());
    state.counters["lines"] = yearOfLines;
    state.counters["bytes_per_line"] =
        static_cast<double>(QFileInfo(path).size()) / static_cast<double>(yearOfLines);
}
BENCHMARK(BM_YearStoreBytesPerLine)->Iterations(1);

void BM_OpenAndOneChannelOverAYear(benchmark::State &state)
{
    const QString &path = yearStore();
    std::size_t points = 0;
    for (auto _ : state) {
        QString error;
        const auto connection =
            database::StationDatabase::openForReading(path, history::historySchema(), error);
        const history::StoreReader store(connection.get());
        const std::optional<history::TimeSpan> span = store.storedSpan();
        points = store.series({telemetry::TempGrid, 8, 0}, span->fromMs, span->toMs).size();
        benchmark::DoNotOptimize(points);
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BM_OpenAndOneChannelOverAYear)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ExportCsvOfAYear(benchmark::State &state)
{
    const QString &path = yearStore();
    std::FILE *sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        QString error;
        const auto connection =
            database::StationDatabase::openForReading(path, history::historySchema(), error);
        history::exportValues(*connection, 0, std::numeric_limits<qint64>::max(),
                              history::ExportFormat::Csv, sink, error);
    }
    std::fclose(sink);
    state.counters["lines"] = yearOfLines;
}
BENCHMARK(BM_ExportCsvOfAYear)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
