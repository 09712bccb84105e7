// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/TelemetryStore.h"

#include "history/ChannelUnits.h"
#include "history/DisplayZones.h"

#include <QCryptographicHash>
#include <QHash>
#include <sqlite3.h>

namespace history {

namespace {

using database::Connection;
using database::Query;

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

} // namespace

const database::SchemaPart &historySchema()
{
    static const database::SchemaPart part{"history", "telemetry", {R"sql(
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
    )sql"}};
    return part;
}

// What the writer keeps between frames: the ids of callsigns and of the
// calibration, read back once. Forgotten when a transaction is rolled back,
// since the rows they name may be gone with it.
struct TelemetryStore::Writer
{
    QByteArray formulaText;
    QByteArray formulaHash;
    qint64 formulaSetId = 0;
    QHash<QString, qint64> sourceIds;
    const Connection *watched = nullptr;

    void watch(Connection &connection)
    {
        if (watched == &connection)
            return;
        watched = &connection;
        forget();
        connection.onRollback([this] { forget(); });
    }
    void forget()
    {
        formulaSetId = 0;
        sourceIds.clear();
    }

    bool formulaSet(Connection &connection, qint64 &id)
    {
        if (formulaSetId || formulaHash.isEmpty()) {
            id = formulaSetId;
            return true;
        }
        Query insert = connection.cached(
            "INSERT INTO formula_set(sha256, text) VALUES(?1, ?2) ON CONFLICT DO NOTHING");
        if (!insert || !insert
                            .bind(1, std::string_view(formulaHash.constData(),
                                                      static_cast<size_t>(formulaHash.size())))
                            .bindBlob(2, formulaText)
                            .run())
            return false;
        Query find = connection.cached("SELECT id FROM formula_set WHERE sha256 = ?1");
        if (!find || !find.bind(1, std::string_view(formulaHash.constData(),
                                                    static_cast<size_t>(formulaHash.size())))
                          .next())
            return false;
        id = formulaSetId = find.int64(0);
        return true;
    }

    qint64 sourceId(Connection &connection, const QString &callsign)
    {
        if (const auto known = sourceIds.constFind(callsign); known != sourceIds.constEnd())
            return *known;
        Query upsert = connection.cached("INSERT INTO source(callsign) VALUES(?1) "
                                         "ON CONFLICT(callsign) DO UPDATE SET "
                                         "callsign = excluded.callsign RETURNING id");
        if (!upsert || !upsert.bind(1, callsign).next())
            return 0;
        const qint64 id = upsert.int64(0);
        sourceIds.insert(callsign, id);
        return id;
    }

    bool add(Connection &connection, const HeardFrame &frame, Repeats repeats, Added &added)
    {
        added = Added::Failed;
        watch(connection);
        const qint64 source = sourceId(connection, frame.source);
        qint64 formula = 0;
        if (!source || !formulaSet(connection, formula))
            return false;
        const QByteArray line = frame.line.toUtf8();
        const qint64 hash = lineHash(line);
        const std::string_view lineText(line.constData(), static_cast<size_t>(line.size()));
        qint64 repeatOf = 0;
        {
            Query find = connection.cached("SELECT id FROM frame WHERE line_hash = ?5 AND "
                                           "utc_ms BETWEEN ?1 AND ?2 AND source_id = ?3 AND "
                                           "line = ?4 LIMIT 1");
            if (!find)
                return false;
            find.bind(1, frame.utcMs - repeatWindowMs)
                .bind(2, frame.utcMs + repeatWindowMs)
                .bind(3, source)
                .bind(4, lineText)
                .bind(5, hash);
            const int step = find.step();
            if (step == SQLITE_ROW)
                repeatOf = find.int64(0);
            else if (step != SQLITE_DONE)
                return false;
        }
        if (repeatOf) {
            added = Added::Repeat;
            if (repeats == Repeats::Skip)
                return true;
            Query count = connection.cached("UPDATE frame SET heard = heard + 1 WHERE id = ?1");
            return count && count.bind(1, repeatOf).run();
        }

        const TelemetryDecoder::Frame &decoded = frame.decoded;
        {
            Query insert = connection.cached(
                "INSERT INTO frame(utc_ms, source_id, side, mode, label, bits, line, "
                "formula_set_id, line_hash) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
            if (!insert)
                return false;
            insert.bind(1, frame.utcMs)
                .bind(2, source)
                .bind(3, decoded.side)
                .bind(4, decoded.mode)
                .bind(5, decoded.label)
                .bind(6, decoded.bits)
                .bind(7, lineText)
                .bind(9, hash);
            if (formula)
                insert.bind(8, formula);
            else
                insert.bindNull(8);
            if (!insert.run())
                return false;
        }
        const qint64 frameId = connection.lastInsertId();
        Query value = connection.cached("INSERT INTO channel_value(frame_id, channel, grid, row, "
                                        "raw, value) VALUES(?1, ?2, ?3, ?4, ?5, ?6)");
        if (!value)
            return false;
        for (int channel = 0; channel < telemetry::channelCount; ++channel) {
            const TelemetryDecoder::ChannelReading &reading =
                decoded.channels[static_cast<size_t>(channel)];
            value.reset();
            value.bind(1, frameId).bind(2, channel);
            if (reading.grid >= 0)
                value.bind(3, reading.grid).bind(4, reading.row);
            else
                value.bindNull(3).bindNull(4);
            value.bind(5, reading.raw).bind(6, reading.value);
            if (!value.run())
                return false;
        }
        added = Added::Stored;
        return true;
    }
};

TelemetryStore::TelemetryStore(database::StationDatabase &database)
    : database_(database), writer_(std::make_shared<Writer>())
{
    database_.addSchema(historySchema());
    database_.addSchema(displayZoneSchema());
}

void TelemetryStore::useFormulaSet(const QByteArray &formulaText)
{
    const QByteArray hash =
        QCryptographicHash::hash(formulaText, QCryptographicHash::Sha256).toHex();
    database_.write(
        [writer = writer_, formulaText, hash](Connection &connection) {
            writer->watch(connection);
            writer->formulaText = formulaText;
            writer->formulaHash = hash;
            writer->formulaSetId = 0;
            qint64 id = 0;
            return writer->formulaSet(connection, id);
        },
        {}, database::StationDatabase::Keep::Always);
}

void TelemetryStore::add(HeardFrame frame)
{
    database_.write([writer = writer_, frame = std::move(frame)](Connection &connection) {
        Added added = Added::Failed;
        return writer->add(connection, frame, Repeats::Count, added);
    });
}

bool TelemetryStore::addNow(const std::vector<HeardFrame> &frames, Repeats repeats,
                            std::vector<Added> &added, QString &error)
{
    std::vector<Added> outcomes(frames.size(), Added::Failed);
    const bool written = database_.writeNow(
        [this, &frames, repeats, &outcomes](Connection &connection) {
            for (std::size_t index = 0; index < frames.size(); ++index)
                if (!writer_->add(connection, frames[index], repeats, outcomes[index]))
                    return false;
            return true;
        },
        &error);
    if (written)
        added = std::move(outcomes);
    else
        added.assign(frames.size(), Added::Failed);
    return written;
}

std::vector<qint64> TelemetryStore::heardAt(const QString &source, const QString &line,
                                            qint64 fromMs, qint64 toMs) const
{
    std::vector<qint64> times;
    Connection *connection = database_.reader();
    if (!connection)
        return times;
    const QByteArray utf8 = line.toUtf8();
    Query find = connection->cached(
        "SELECT f.utc_ms FROM frame f JOIN source s ON s.id = f.source_id WHERE "
        "f.line_hash = ?1 AND f.utc_ms BETWEEN ?2 AND ?3 AND s.callsign = ?4 AND f.line = ?5");
    if (!find)
        return times;
    find.bind(1, lineHash(utf8))
        .bind(2, fromMs)
        .bind(3, toMs)
        .bind(4, source)
        .bind(5, std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
    while (find.next())
        times.push_back(find.int64(0));
    return times;
}

QList<ChannelKey> StoreReader::channels() const
{
    QList<ChannelKey> keys;
    if (!connection_)
        return keys;
    Query query =
        connection_->cached("SELECT 1 FROM frame f JOIN channel_value v ON v.frame_id = f.id AND "
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
                query.reset();
                query.bind(1, side).bind(2, mode).bind(3, channel);
                if (query.next())
                    keys << key;
            }
    return keys;
}

ChannelInfo StoreReader::info(const ChannelKey &key) const
{
    const ChannelLimits::Limits limits = limits_.limits(key);
    return {channelName(key), channelUnit(key.grid, key.row), limits.low, limits.high};
}

Query StoreReader::channelQuery(const char *sql, const ChannelKey &key, qint64 fromMs, qint64 toMs,
                                int &mode) const
{
    const auto [keyMode, channel] = modeAndChannel(key);
    mode = keyMode;
    if (mode < 0 || !connection_)
        return {};
    Query query = connection_->cached(sql);
    if (query)
        query.bind(1, key.side).bind(2, mode).bind(3, channel).bind(4, fromMs).bind(5, toMs);
    return query;
}

std::vector<ChannelPoint> StoreReader::series(const ChannelKey &key, qint64 fromMs,
                                              qint64 toMs) const
{
    std::vector<ChannelPoint> points;
    int mode = -1;
    Query query =
        channelQuery("SELECT f.utc_ms, v.raw, v.value FROM frame f JOIN channel_value v ON "
                     "v.frame_id = f.id AND v.channel = ?3 WHERE f.side = ?1 AND f.mode = ?2 AND "
                     "f.utc_ms BETWEEN ?4 AND ?5 AND v.value IS NOT NULL ORDER BY f.utc_ms",
                     key, fromMs, toMs, mode);
    while (query && query.next())
        points.push_back({query.int64(0), query.real(1), query.real(2)});
    return points;
}

std::vector<ChannelRecord> StoreReader::records(const ChannelKey &key, qint64 fromMs,
                                                qint64 toMs) const
{
    std::vector<ChannelRecord> found;
    int mode = -1;
    Query query =
        channelQuery("SELECT f.utc_ms, v.raw, v.value, s.callsign, f.label FROM frame f "
                     "JOIN channel_value v ON v.frame_id = f.id AND v.channel = ?3 "
                     "JOIN source s ON s.id = f.source_id WHERE f.side = ?1 AND f.mode = ?2 AND "
                     "f.utc_ms BETWEEN ?4 AND ?5 AND v.value IS NOT NULL ORDER BY f.utc_ms",
                     key, fromMs, toMs, mode);
    while (query && query.next())
        found.push_back({key,
                         {query.int64(0), query.real(1), query.real(2)},
                         query.text(3),
                         mode,
                         query.text(4)});
    return found;
}

std::optional<TimeSpan> StoreReader::storedSpan() const
{
    if (!connection_)
        return std::nullopt;
    // Two lookups at the ends of the time index, not a scan of it.
    Query query = connection_->cached("SELECT (SELECT min(utc_ms) FROM frame), "
                                      "(SELECT max(utc_ms) FROM frame)");
    if (!query || !query.next() || query.isNull(0))
        return std::nullopt;
    return TimeSpan{query.int64(0), query.int64(1)};
}

} // namespace history
