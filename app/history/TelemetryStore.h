// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "database/StationDatabase.h"
#include "history/ChannelLimits.h"
#include "history/ChannelSeries.h"
#include "telemetry/TelemetryDecoder.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace history {

// One telemetry line as heard: when (ms since 1970-01-01 UTC), from whom,
// the whole line and what the decoder made of it.
struct HeardFrame
{
    qint64 utcMs = 0;
    QString source;
    QString line;
    TelemetryDecoder::Frame decoded;
};

// The telemetry history's tables in the station database (telemetry.db).
// One row per frame, one per channel value, integer keys:
//
//   source(id, callsign)                 each callsign once
//   formula_set(id, sha256, text)        each calibration once
//   frame(id, utc_ms, source_id, side, mode, label, bits, line, line_hash,
//         formula_set_id, heard)         one per line; heard counts repeats
//   channel_value(frame_id, channel, grid, row, raw, value)
//                                        four per frame; grid and row empty
//                                        when the mode is outside 0 to 3,
//                                        value empty where the grid shows none
//
// Other parts (the upload queue) refer to frame.id.
const database::SchemaPart &historySchema();

// Writes heard frames into the history through the station database.
class TelemetryStore
{
public:
    // The same line from the same source within this time is one frame.
    static constexpr qint64 repeatWindowMs = 60000;

    enum class Added { Stored, Repeat, Failed };
    // What a repeat does: count one more hearing, or nothing (a re-import).
    enum class Repeats { Count, Skip };

    // Registers the history's tables with `database`.
    explicit TelemetryStore(database::StationDatabase &database);
    TelemetryStore(const TelemetryStore &) = delete;
    TelemetryStore &operator=(const TelemetryStore &) = delete;

    database::StationDatabase &database() const { return database_; }

    // The calibration (formula.txt's bytes) of the frames added from now on.
    void useFormulaSet(const QByteArray &formulaText);
    // Queued with the database's next batch.
    void add(HeardFrame frame);
    // Adds frames now, in one transaction after what is queued (an import);
    // `added` receives each frame's outcome. False with `error` when the
    // file does not take them now.
    bool addNow(const std::vector<HeardFrame> &frames, Repeats repeats, std::vector<Added> &added,
                QString &error);
    // When (ms) `source` was heard sending `line` between fromMs and toMs,
    // as committed; empty too while the file cannot be read.
    std::vector<qint64> heardAt(const QString &source, const QString &line, qint64 fromMs,
                                qint64 toMs) const;

private:
    struct Writer;
    database::StationDatabase &database_;
    std::shared_ptr<Writer> writer_; // used on the database's writer thread only
};

// The history's values over one read-only connection: the station's own
// for short reads, or one of a reader's own.
class StoreReader : public ChannelSource
{
public:
    explicit StoreReader(database::Connection *connection = nullptr) : connection_(connection) {}

    void setConnection(database::Connection *connection) { connection_ = connection; }
    database::Connection *connection() const { return connection_; }
    // Units and limits of info().
    void setLimits(const ChannelLimits &limits) { limits_ = limits; }

    QList<ChannelKey> channels() const override;
    ChannelInfo info(const ChannelKey &key) const override;
    std::vector<ChannelPoint> series(const ChannelKey &key, qint64 fromMs,
                                     qint64 toMs) const override;
    std::optional<TimeSpan> storedSpan() const override;
    std::vector<ChannelRecord> records(const ChannelKey &key, qint64 fromMs,
                                       qint64 toMs) const override;

private:
    // A channel query (?1 side, ?2 mode, ?3 channel, ?4..?5 the time span)
    // bound for `key`; empty when the key has no mode. `mode` receives it.
    database::Query channelQuery(const char *sql, const ChannelKey &key, qint64 fromMs, qint64 toMs,
                                 int &mode) const;

    database::Connection *connection_;
    ChannelLimits limits_;
};

} // namespace history
