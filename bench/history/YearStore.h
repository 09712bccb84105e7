// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once
// A year of heavy use for the history's benchmarks: 1,000,000 lines, a frame
// every three seconds, both sides and every mode in turn, so that one
// channel holds 125,000 values.
#include "database/StationDatabase.h"
#include "history/TelemetryStore.h"
#include "telemetry/FormulaTable.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <random>

namespace yearstore {

inline constexpr int yearOfLines = 1000000;
inline constexpr qint64 start = 1767225600000; // 2026-01-01T00:00:00Z
inline constexpr qint64 spacingMs = 3000;      // a frame every three seconds while heard

struct Frames
{
    Frames() { formulas.LoadFormulae(QStringLiteral(ORVEX_SOURCE_DIR "/data/formula.txt")); }
    // Frame `index`: both sides, every mode in turn, random channel values.
    history::HeardFrame frame(qint64 index)
    {
        const int side = static_cast<int>(index % 2);
        const int mode = static_cast<int>(index / 2 % 4);
        const QString line = QStringLiteral("T#%1,%2,%3,%4,%5,0,0,00%6%7,0")
                                 .arg(index % 100000)
                                 .arg(random() % 256)
                                 .arg(random() % 256)
                                 .arg(random() % 256)
                                 .arg(random() % 256)
                                 .arg(mode / 2)
                                 .arg(mode % 2);
        return {start + index * spacing,
                side ? QStringLiteral("ORVEX-3") : QStringLiteral("ORVEX-1"), line,
                decoder.decodeFrame(side, line).value()};
    }
    qint64 spacing = spacingMs;
    FormulaTable formulas;
    TelemetryDecoder decoder{formulas};
    std::mt19937 random{20260101};
};

// A station database with the history's tables, open.
struct Store
{
    explicit Store(const QString &path) : database(path), store(database) { database.open(); }
    database::StationDatabase database;
    history::TelemetryStore store;
};

// Adds `count` frames, committing every `batch`.
inline void fill(history::TelemetryStore &store, Frames &frames, qint64 first, qint64 count,
                 int batch)
{
    std::vector<history::HeardFrame> part;
    std::vector<history::TelemetryStore::Added> added;
    QString error;
    for (qint64 index = first; index < first + count; ++index) {
        part.push_back(frames.frame(index));
        if (static_cast<int>(part.size()) == batch || index + 1 == first + count) {
            store.addNow(part, history::TelemetryStore::Repeats::Count, added, error);
            part.clear();
        }
    }
}

// A store of a year of lines, made once per run, or kept in the file
// ORVEX_BENCH_STORE names (made there when it does not exist).
inline const QString &yearStore()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString kept = qEnvironmentVariable("ORVEX_BENCH_STORE");
        if (!kept.isEmpty() && QFileInfo::exists(kept))
            return kept;
        const QString file = kept.isEmpty() ? dir.filePath(QStringLiteral("telemetry.db")) : kept;
        Store opened(file);
        Frames frames;
        fill(opened.store, frames, 0, yearOfLines, 2500);
        return file;
    }();
    return path;
}

} // namespace yearstore
