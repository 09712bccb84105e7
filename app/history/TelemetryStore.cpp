// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/TelemetryStore.h"

#include "history/ChannelUnits.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <sqlite3.h>

namespace history {

namespace {

// "ORVX": marks the file as a telemetry store.
constexpr int applicationId = 0x4F525658;

// Each step takes the schema from version (index) to version (index + 1).
constexpr const char *migrations[] = {
    R"sql(
    CREATE TABLE source(id INTEGER PRIMARY KEY, callsign TEXT NOT NULL UNIQUE);
    CREATE TABLE formula_set(id INTEGER PRIMARY KEY, sha256 TEXT NOT NULL UNIQUE,
                             text BLOB NOT NULL);
    CREATE TABLE frame(
        id INTEGER PRIMARY KEY,
        utc_ms INTEGER NOT NULL,
        source_id INTEGER NOT NULL REFERENCES source(id),
        side INTEGER NOT NULL,
        mode INTEGER NOT NULL,
        label TEXT NOT NULL,
        bits TEXT NOT NULL,
        line TEXT NOT NULL,
        line_hash INTEGER NOT NULL,
        formula_set_id INTEGER REFERENCES formula_set(id),
        heard INTEGER NOT NULL DEFAULT 1);
    CREATE INDEX frame_by_time ON frame(utc_ms);
    CREATE INDEX frame_by_channel ON frame(side, mode, utc_ms);
    CREATE INDEX frame_by_line ON frame(line_hash, utc_ms);
    CREATE TABLE channel_value(
        frame_id INTEGER NOT NULL REFERENCES frame(id),
        channel INTEGER NOT NULL,
        grid INTEGER,
        row INTEGER,
        raw REAL NOT NULL,
        value REAL,
        PRIMARY KEY(frame_id, channel)) WITHOUT ROWID;
    )sql",
    // 2: the frames waiting to be shared with a SiDS server, oldest first.
    R"sql(
    CREATE TABLE sids_queue(
        id INTEGER PRIMARY KEY AUTOINCREMENT,
        heard_utc_ms INTEGER NOT NULL,
        norad_id TEXT NOT NULL,
        station TEXT NOT NULL,
        frame BLOB NOT NULL,
        longitude REAL NOT NULL,
        latitude REAL NOT NULL,
        azimuth REAL,
        elevation REAL,
        state INTEGER NOT NULL DEFAULT 0,
        attempts INTEGER NOT NULL DEFAULT 0,
        last_error TEXT,
        done_utc_ms INTEGER);
    CREATE INDEX sids_queue_state ON sids_queue(state, id);
    )sql",
};
constexpr int migrationCount = static_cast<int>(std::size(migrations));
static_assert(migrationCount == TelemetryStore::schemaVersion);

enum Statement {
    FindRepeat,
    CountRepeat,
    InsertFrame,
    InsertValue,
    InsertSource,
    Series,
    ChannelHasValue,
    Span,
    Records,
};

// The (mode, channel) that shows a place on one side; mode -1 when none does.
std::pair<int, int> modeAndChannel(const ChannelKey &key)
{
    static const telemetry::ChannelMap map = telemetry::InitChannelMap();
    if (key.side < 0 || key.side >= telemetry::sideCount)
        return {-1, -1};
    for (int mode = 0; mode < telemetry::modeCount; ++mode)
        for (int channel = 0; channel < telemetry::channelCount; ++channel) {
            const telemetry::ChannelCell cell = map[key.side][mode][channel];
            if (cell.grid == key.grid && cell.row == key.row)
                return {mode, channel};
        }
    return {-1, -1};
}

// FNV-1a of the line's UTF-8: finds a repeat without reading every frame of
// the last minute (a flood brings thousands). Fixed, as it is stored.
qint64 lineHash(const QByteArray &utf8)
{
    quint32 hash = 2166136261u;
    for (const char c : utf8) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return hash;
}

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), static_cast<int>(utf8.size()),
                      SQLITE_TRANSIENT);
}

// Resets a statement when it goes out of scope, so it holds no read lock.
struct Reset
{
    sqlite3_stmt *statement;
    ~Reset()
    {
        if (statement)
            sqlite3_reset(statement);
    }
};

} // namespace

TelemetryStore::TelemetryStore() = default;

TelemetryStore::~TelemetryStore()
{
    close();
}

bool TelemetryStore::fail(const QString &what)
{
    error_ = what;
    if (db_)
        error_ += QStringLiteral(" (") + QString::fromUtf8(sqlite3_errmsg(db_)) + QLatin1Char(')');
    return false;
}

bool TelemetryStore::exec(const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error_ = QString::fromUtf8(message ? message : sqlite3_errmsg(db_));
    sqlite3_free(message);
    return false;
}

bool TelemetryStore::open(const QString &path, Access access)
{
    close();
    error_.clear();
    path_ = path;
    // One connection per thread: SQLite need not lock around every call.
    const int flags = SQLITE_OPEN_NOMUTEX |
                      (access == Access::ReadOnly ? SQLITE_OPEN_READONLY
                                                  : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (access == Access::ReadOnly && !QFileInfo::exists(path)) {
        error_ = QStringLiteral("the file does not exist");
        return false;
    }
    const int opened = sqlite3_open_v2(path.toUtf8().constData(), &db_, flags, nullptr);
    if (opened != SQLITE_OK) {
        fail(QStringLiteral("it cannot be opened"));
        close();
        return false;
    }
    // A store locked by another program is not waited for long.
    sqlite3_busy_timeout(db_, 200);
    if (!checkAndMigrate(access)) {
        const QString why = error_;
        close();
        error_ = why;
        return false;
    }
    return true;
}

bool TelemetryStore::checkAndMigrate(Access access)
{
    int version = 0;
    int application = 0;
    int tables = 0;
    {
        sqlite3_stmt *query = nullptr;
        const char *sql = "SELECT (SELECT user_version FROM pragma_user_version),"
                          " (SELECT application_id FROM pragma_application_id),"
                          " (SELECT count(*) FROM sqlite_schema)";
        if (sqlite3_prepare_v2(db_, sql, -1, &query, nullptr) != SQLITE_OK)
            return fail(QStringLiteral("it is not a telemetry store"));
        const int step = sqlite3_step(query);
        if (step == SQLITE_ROW) {
            version = sqlite3_column_int(query, 0);
            application = sqlite3_column_int(query, 1);
            tables = sqlite3_column_int(query, 2);
        }
        sqlite3_finalize(query);
        if (step != SQLITE_ROW)
            return fail(QStringLiteral("it cannot be read"));
    }
    const bool empty = tables == 0 && version == 0 && application == 0;
    if (!empty && application != applicationId)
        return fail(QStringLiteral("it is a database of another program"));
    if (version > schemaVersion) {
        error_ = QStringLiteral("it was written by a newer version of this program (store "
                                "version %1; this version reads up to %2)")
                     .arg(version)
                     .arg(schemaVersion);
        return false;
    }
    if (access == Access::ReadOnly) {
        if (version < schemaVersion) {
            error_ = empty ? QStringLiteral("it holds no telemetry")
                           : QStringLiteral("it is of an older version; open it in the "
                                            "program once to bring it up to date");
            return false;
        }
        return true;
    }

    if (!exec("PRAGMA journal_mode=WAL") || !exec("PRAGMA synchronous=NORMAL"))
        return fail(QStringLiteral("it cannot be written"));
    if (version < schemaVersion) {
        if (!exec("BEGIN IMMEDIATE"))
            return fail(QStringLiteral("it cannot be written"));
        for (int step = version; step < migrationCount; ++step)
            if (!exec(migrations[step])) {
                const QString why = error_;
                exec("ROLLBACK");
                error_ = QStringLiteral("it cannot be brought up to date: ") + why;
                return false;
            }
        const QByteArray stamp = QStringLiteral("PRAGMA application_id=%1; PRAGMA user_version=%2")
                                     .arg(applicationId)
                                     .arg(schemaVersion)
                                     .toLatin1();
        if (!exec(stamp.constData()) || !exec("COMMIT")) {
            const QString why = error_;
            exec("ROLLBACK");
            error_ = QStringLiteral("it cannot be written: ") + why;
            return false;
        }
    }
    return true;
}

void TelemetryStore::close()
{
    if (!db_)
        return;
    commit();
    for (sqlite3_stmt *&each : statements_) {
        sqlite3_finalize(each);
        each = nullptr;
    }
    sqlite3_close(db_);
    db_ = nullptr;
    inTransaction_ = false;
    formulaSetId_ = 0;
    sourceIds_.clear();
}

sqlite3_stmt *TelemetryStore::statement(int index, const char *sql) const
{
    sqlite3_stmt *&slot = statements_[static_cast<size_t>(index)];
    if (!slot && db_)
        sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &slot, nullptr);
    return slot;
}

bool TelemetryStore::begin()
{
    if (inTransaction_)
        return true;
    if (!exec("BEGIN IMMEDIATE"))
        return fail(QStringLiteral("it cannot be written"));
    inTransaction_ = true;
    return true;
}

bool TelemetryStore::commit()
{
    if (!db_ || !inTransaction_)
        return true;
    inTransaction_ = false;
    if (exec("COMMIT"))
        return true;
    const QString why = error_;
    exec("ROLLBACK");
    error_ = QStringLiteral("it cannot be written: ") + why;
    return false;
}

bool TelemetryStore::useFormulaSet(const QByteArray &formulaText)
{
    if (!db_ || !begin())
        return false;
    const QByteArray hash =
        QCryptographicHash::hash(formulaText, QCryptographicHash::Sha256).toHex();
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(
        db_, "INSERT INTO formula_set(sha256, text) VALUES(?1, ?2) ON CONFLICT DO NOTHING", -1,
        &insert, nullptr);
    sqlite3_bind_text(insert, 1, hash.constData(), static_cast<int>(hash.size()), SQLITE_STATIC);
    sqlite3_bind_blob(insert, 2, formulaText.constData(), static_cast<int>(formulaText.size()),
                      SQLITE_STATIC);
    const int inserted = sqlite3_step(insert);
    sqlite3_finalize(insert);
    sqlite3_stmt *find = nullptr;
    sqlite3_prepare_v2(db_, "SELECT id FROM formula_set WHERE sha256 = ?1", -1, &find, nullptr);
    sqlite3_bind_text(find, 1, hash.constData(), static_cast<int>(hash.size()), SQLITE_STATIC);
    const bool found = inserted == SQLITE_DONE && sqlite3_step(find) == SQLITE_ROW;
    formulaSetId_ = found ? sqlite3_column_int64(find, 0) : 0;
    sqlite3_finalize(find);
    return found || fail(QStringLiteral("it cannot be written"));
}

qint64 TelemetryStore::sourceId(const QString &callsign)
{
    if (const auto known = sourceIds_.constFind(callsign); known != sourceIds_.constEnd())
        return *known;
    sqlite3_stmt *upsert = statement(InsertSource, "INSERT INTO source(callsign) VALUES(?1) "
                                                   "ON CONFLICT(callsign) DO UPDATE SET "
                                                   "callsign = excluded.callsign RETURNING id");
    if (!upsert)
        return 0;
    Reset reset{upsert};
    bindText(upsert, 1, callsign);
    if (sqlite3_step(upsert) != SQLITE_ROW)
        return 0;
    const qint64 id = sqlite3_column_int64(upsert, 0);
    sourceIds_.insert(callsign, id);
    return id;
}

TelemetryStore::Added TelemetryStore::add(const HeardFrame &frame, Repeats repeats)
{
    if (!db_ || !begin())
        return Added::Failed;
    const qint64 source = sourceId(frame.source);
    if (!source) {
        fail(QStringLiteral("it cannot be written"));
        return Added::Failed;
    }

    sqlite3_stmt *find = statement(FindRepeat, "SELECT id FROM frame WHERE line_hash = ?5 AND "
                                               "utc_ms BETWEEN ?1 AND ?2 AND source_id = ?3 AND "
                                               "line = ?4 LIMIT 1");
    if (!find) {
        fail(QStringLiteral("it cannot be read"));
        return Added::Failed;
    }
    const qint64 hash = lineHash(frame.line.toUtf8());
    qint64 repeatOf = 0;
    {
        Reset reset{find};
        sqlite3_bind_int64(find, 1, frame.utcMs - repeatWindowMs);
        sqlite3_bind_int64(find, 2, frame.utcMs + repeatWindowMs);
        sqlite3_bind_int64(find, 3, source);
        bindText(find, 4, frame.line);
        sqlite3_bind_int64(find, 5, hash);
        const int step = sqlite3_step(find);
        if (step == SQLITE_ROW)
            repeatOf = sqlite3_column_int64(find, 0);
        else if (step != SQLITE_DONE) {
            fail(QStringLiteral("it cannot be read"));
            return Added::Failed;
        }
    }
    if (repeatOf) {
        if (repeats == Repeats::Skip)
            return Added::Repeat;
        sqlite3_stmt *count =
            statement(CountRepeat, "UPDATE frame SET heard = heard + 1 WHERE id = ?1");
        Reset reset{count};
        if (!count ||
            (sqlite3_bind_int64(count, 1, repeatOf), sqlite3_step(count)) != SQLITE_DONE) {
            fail(QStringLiteral("it cannot be written"));
            return Added::Failed;
        }
        return Added::Repeat;
    }

    sqlite3_stmt *insert = statement(
        InsertFrame, "INSERT INTO frame(utc_ms, source_id, side, mode, label, bits, line, "
                     "formula_set_id, line_hash) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    sqlite3_stmt *value = statement(InsertValue, "INSERT INTO channel_value(frame_id, channel, "
                                                 "grid, row, raw, value) VALUES(?1, ?2, ?3, ?4, "
                                                 "?5, ?6)");
    if (!insert || !value) {
        fail(QStringLiteral("it cannot be written"));
        return Added::Failed;
    }
    const TelemetryDecoder::Frame &decoded = frame.decoded;
    {
        Reset reset{insert};
        sqlite3_bind_int64(insert, 1, frame.utcMs);
        sqlite3_bind_int64(insert, 2, source);
        sqlite3_bind_int(insert, 3, decoded.side);
        sqlite3_bind_int(insert, 4, decoded.mode);
        bindText(insert, 5, decoded.label);
        bindText(insert, 6, decoded.bits);
        bindText(insert, 7, frame.line);
        sqlite3_bind_int64(insert, 9, hash);
        if (formulaSetId_)
            sqlite3_bind_int64(insert, 8, formulaSetId_);
        else
            sqlite3_bind_null(insert, 8);
        if (sqlite3_step(insert) != SQLITE_DONE) {
            fail(QStringLiteral("it cannot be written"));
            return Added::Failed;
        }
    }
    const qint64 frameId = sqlite3_last_insert_rowid(db_);
    for (int channel = 0; channel < telemetry::channelCount; ++channel) {
        const TelemetryDecoder::ChannelReading &reading =
            decoded.channels[static_cast<size_t>(channel)];
        Reset reset{value};
        sqlite3_bind_int64(value, 1, frameId);
        sqlite3_bind_int(value, 2, channel);
        if (reading.grid >= 0) {
            sqlite3_bind_int(value, 3, reading.grid);
            sqlite3_bind_int(value, 4, reading.row);
        } else {
            sqlite3_bind_null(value, 3);
            sqlite3_bind_null(value, 4);
        }
        sqlite3_bind_double(value, 5, reading.raw);
        if (reading.value)
            sqlite3_bind_double(value, 6, *reading.value);
        else
            sqlite3_bind_null(value, 6);
        if (sqlite3_step(value) != SQLITE_DONE) {
            fail(QStringLiteral("it cannot be written"));
            return Added::Failed;
        }
    }
    return Added::Stored;
}

QList<ChannelKey> TelemetryStore::channels() const
{
    QList<ChannelKey> keys;
    sqlite3_stmt *query = statement(
        ChannelHasValue, "SELECT 1 FROM frame f JOIN channel_value v ON v.frame_id = f.id AND "
                         "v.channel = ?3 WHERE f.side = ?1 AND f.mode = ?2 AND v.value IS NOT "
                         "NULL LIMIT 1");
    if (!query)
        return keys;
    for (int grid = 0; grid < telemetry::gridCount; ++grid)
        for (int row = 1; row < telemetry::gridLayout(grid).rows(); ++row)
            for (int side = 0; side < telemetry::sideCount; ++side) {
                const ChannelKey key{grid, row, side};
                const auto [mode, channel] = modeAndChannel(key);
                if (mode < 0)
                    continue;
                Reset reset{query};
                sqlite3_bind_int(query, 1, side);
                sqlite3_bind_int(query, 2, mode);
                sqlite3_bind_int(query, 3, channel);
                if (sqlite3_step(query) == SQLITE_ROW)
                    keys << key;
            }
    return keys;
}

ChannelInfo TelemetryStore::info(const ChannelKey &key) const
{
    const ChannelLimits::Limits limits = limits_.limits(key);
    return {channelName(key), channelUnit(key.grid, key.row), limits.low, limits.high};
}

sqlite3_stmt *TelemetryStore::channelQuery(int index, const char *sql, const ChannelKey &key,
                                           qint64 fromMs, qint64 toMs, int &mode) const
{
    const auto [keyMode, channel] = modeAndChannel(key);
    mode = keyMode;
    sqlite3_stmt *query = statement(index, sql);
    if (mode < 0 || !query)
        return nullptr;
    sqlite3_bind_int(query, 1, key.side);
    sqlite3_bind_int(query, 2, mode);
    sqlite3_bind_int(query, 3, channel);
    sqlite3_bind_int64(query, 4, fromMs);
    sqlite3_bind_int64(query, 5, toMs);
    return query;
}

std::vector<ChannelPoint> TelemetryStore::series(const ChannelKey &key, qint64 fromMs,
                                                 qint64 toMs) const
{
    std::vector<ChannelPoint> points;
    int mode = -1;
    sqlite3_stmt *query =
        channelQuery(Series,
                     "SELECT f.utc_ms, v.raw, v.value FROM frame f JOIN channel_value v ON "
                     "v.frame_id = f.id AND v.channel = ?3 WHERE f.side = ?1 AND f.mode = ?2 AND "
                     "f.utc_ms BETWEEN ?4 AND ?5 AND v.value IS NOT NULL ORDER BY f.utc_ms",
                     key, fromMs, toMs, mode);
    if (!query)
        return points;
    Reset reset{query};
    while (sqlite3_step(query) == SQLITE_ROW)
        points.push_back({sqlite3_column_int64(query, 0), sqlite3_column_double(query, 1),
                          sqlite3_column_double(query, 2)});
    return points;
}

std::vector<ChannelRecord> TelemetryStore::records(const ChannelKey &key, qint64 fromMs,
                                                   qint64 toMs) const
{
    std::vector<ChannelRecord> found;
    int mode = -1;
    sqlite3_stmt *query =
        channelQuery(Records,
                     "SELECT f.utc_ms, v.raw, v.value, s.callsign, f.label FROM frame f "
                     "JOIN channel_value v ON v.frame_id = f.id AND v.channel = ?3 "
                     "JOIN source s ON s.id = f.source_id WHERE f.side = ?1 AND f.mode = ?2 AND "
                     "f.utc_ms BETWEEN ?4 AND ?5 AND v.value IS NOT NULL ORDER BY f.utc_ms",
                     key, fromMs, toMs, mode);
    if (!query)
        return found;
    Reset reset{query};
    auto text = [query](int column) {
        return QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(query, column)));
    };
    while (sqlite3_step(query) == SQLITE_ROW)
        found.push_back({key,
                         {sqlite3_column_int64(query, 0), sqlite3_column_double(query, 1),
                          sqlite3_column_double(query, 2)},
                         text(3),
                         mode,
                         text(4)});
    return found;
}

std::optional<TimeSpan> TelemetryStore::storedSpan() const
{
    sqlite3_stmt *query = statement(Span, "SELECT min(utc_ms), max(utc_ms) FROM frame");
    if (!query)
        return std::nullopt;
    Reset reset{query};
    if (sqlite3_step(query) != SQLITE_ROW || sqlite3_column_type(query, 0) == SQLITE_NULL)
        return std::nullopt;
    return TimeSpan{sqlite3_column_int64(query, 0), sqlite3_column_int64(query, 1)};
}

} // namespace history
