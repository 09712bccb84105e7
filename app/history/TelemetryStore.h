// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelLimits.h"
#include "history/ChannelSeries.h"
#include "telemetry/TelemetryDecoder.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

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

// The station's telemetry history in one SQLite file (telemetry.db in the
// program folder). One row per frame, one per channel value, integer keys:
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
// Later tables (an upload queue) refer to frame.id. PRAGMA user_version holds
// the schema version and application_id marks the file as ours.
//
// Writes collect in one open transaction until commit(); the file is in WAL
// mode, so a killed program loses only what was not committed.
class TelemetryStore : public ChannelSource
{
public:
    static constexpr int schemaVersion = 2;
    // The same line from the same source within this time is one frame.
    static constexpr qint64 repeatWindowMs = 60000;

    enum class Access { ReadWrite, ReadOnly };
    enum class Added { Stored, Repeat, Failed };
    // What a repeat does: count one more hearing, or nothing (a re-import).
    enum class Repeats { Count, Skip };

    TelemetryStore();
    ~TelemetryStore() override;
    TelemetryStore(const TelemetryStore &) = delete;
    TelemetryStore &operator=(const TelemetryStore &) = delete;

    // Opens (ReadWrite: creates or migrates) the store. False with
    // errorText() when the file cannot be used.
    bool open(const QString &path, Access access = Access::ReadWrite);
    // Commits what is pending and closes.
    void close();
    bool isOpen() const { return db_ != nullptr; }
    // Why the last operation failed.
    QString errorText() const { return error_; }

    // The calibration (formula.txt's bytes) of the frames added from now on.
    bool useFormulaSet(const QByteArray &formulaText);
    Added add(const HeardFrame &frame, Repeats repeats = Repeats::Count);
    // Ends the open write transaction; true when nothing was pending.
    bool commit();
    bool hasPending() const { return inTransaction_; }

    // Units and limits of info().
    void setLimits(const ChannelLimits &limits) { limits_ = limits; }

    QList<ChannelKey> channels() const override;
    ChannelInfo info(const ChannelKey &key) const override;
    std::vector<ChannelPoint> series(const ChannelKey &key, qint64 fromMs,
                                     qint64 toMs) const override;
    std::optional<TimeSpan> storedSpan() const override;
    std::vector<ChannelRecord> records(const ChannelKey &key, qint64 fromMs,
                                       qint64 toMs) const override;

    sqlite3 *handle() const { return db_; }

private:
    bool fail(const QString &what);
    bool exec(const char *sql);
    bool checkAndMigrate(Access access);
    sqlite3_stmt *statement(int index, const char *sql) const;
    // A channel query (?1 side, ?2 mode, ?3 channel, ?4..?5 the time span)
    // prepared and bound for `key`; null when the key has no mode or the
    // query cannot be prepared. `mode` receives the key's mode.
    sqlite3_stmt *channelQuery(int index, const char *sql, const ChannelKey &key, qint64 fromMs,
                               qint64 toMs, int &mode) const;
    qint64 sourceId(const QString &callsign);
    bool begin();

    sqlite3 *db_ = nullptr;
    QString path_;
    QString error_;
    bool inTransaction_ = false;
    qint64 formulaSetId_ = 0;
    QHash<QString, qint64> sourceIds_;
    ChannelLimits limits_;
    mutable std::array<sqlite3_stmt *, 9> statements_{};
};

} // namespace history
