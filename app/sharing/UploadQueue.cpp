// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/UploadQueue.h"

namespace sharing {

using database::Connection;
using database::Query;
using database::StationDatabase;

namespace {

// The frames to be shared with a SiDS server, oldest first.
constexpr const char *queueTable = R"sql(
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
    )sql";

// Held frames keep why they are held, frames sent on the operator's word
// when that was given. What an earlier version queued was never checked
// against the elements: it is held, to be looked at.
constexpr const char *holding = R"sql(
    ALTER TABLE sids_queue ADD COLUMN hold_reason TEXT;
    ALTER TABLE sids_queue ADD COLUMN released_utc_ms INTEGER;
    UPDATE sids_queue SET state = 3, hold_reason =
        'Queued by an earlier version, which did not check where ORVEX stood.'
        WHERE state = 0;
    )sql";

constexpr const char *entryColumns =
    "SELECT id, state, heard_utc_ms, norad_id, station, frame, longitude, latitude, azimuth, "
    "elevation, attempts, last_error, hold_reason FROM sids_queue ";

UploadQueue::Entry entryOf(const Query &row)
{
    UploadQueue::Entry entry;
    entry.id = row.int64(0);
    entry.state = static_cast<UploadQueue::State>(row.integer(1));
    entry.report.heardUtc = QDateTime::fromMSecsSinceEpoch(row.int64(2), Qt::UTC);
    entry.report.noradId = row.text(3);
    entry.report.source = row.text(4);
    entry.report.frame = row.blob(5);
    entry.report.longitudeDeg = row.real(6);
    entry.report.latitudeDeg = row.real(7);
    entry.report.azimuthDeg = row.optionalReal(8);
    entry.report.elevationDeg = row.optionalReal(9);
    entry.attempts = row.integer(10);
    entry.lastError = row.text(11);
    entry.holdReason = row.text(12);
    return entry;
}

} // namespace

const database::SchemaPart &uploadQueueSchema()
{
    static const database::SchemaPart part{"sids_queue", "upload queue", {queueTable, holding}};
    return part;
}

UploadQueue::UploadQueue(StationDatabase &database) : database_(database)
{
    database_.addSchema(uploadQueueSchema());
}

bool UploadQueue::available() const
{
    return database_.state() != StationDatabase::State::Unusable;
}

QString UploadQueue::error() const
{
    return available() ? QString()
                       : QStringLiteral("The upload queue in the file cannot be used: ") +
                             database_.errorText();
}

void UploadQueue::write(StationDatabase::Work work, Done done)
{
    // Rare and each a frame someone is waiting for: never dropped.
    database_.write(std::move(work), std::move(done), StationDatabase::Keep::Always);
}

void UploadQueue::add(const SidsReport &report, const QString &holdReason, Done done)
{
    write(
        [report, holdReason](Connection &connection) {
            Query insert = connection.prepare(
                "INSERT INTO sids_queue(heard_utc_ms, norad_id, station, frame, longitude, "
                "latitude, azimuth, elevation, state, hold_reason) VALUES(?,?,?,?,?,?,?,?,?,?)");
            if (!insert)
                return false;
            insert.bind(1, report.heardUtc.toMSecsSinceEpoch())
                .bind(2, report.noradId)
                .bind(3, report.source)
                .bindBlob(4, report.frame)
                .bind(5, report.longitudeDeg)
                .bind(6, report.latitudeDeg)
                .bind(7, report.azimuthDeg)
                .bind(8, report.elevationDeg)
                .bind(9, static_cast<int>(holdReason.isEmpty() ? State::Queued : State::Held));
            if (holdReason.isEmpty())
                insert.bindNull(10);
            else
                insert.bind(10, holdReason);
            return insert.run();
        },
        std::move(done));
}

std::optional<UploadQueue::Entry> UploadQueue::oldestQueued()
{
    Connection *connection = database_.reader();
    if (!connection)
        return std::nullopt;
    const std::string sql = std::string(entryColumns) + "WHERE state = 0 ORDER BY id LIMIT 1";
    Query select = connection->prepare(sql.c_str());
    if (!select || !select.next())
        return std::nullopt;
    return entryOf(select);
}

std::vector<UploadQueue::Entry> UploadQueue::heldAndRefused(int limit)
{
    std::vector<Entry> entries;
    Connection *connection = database_.reader();
    if (!connection)
        return entries;
    const std::string sql =
        std::string(entryColumns) + "WHERE state IN (2, 3) ORDER BY id DESC LIMIT ?";
    Query select = connection->prepare(sql.c_str());
    if (!select)
        return entries;
    select.bind(1, limit);
    while (select.next())
        entries.push_back(entryOf(select));
    return entries;
}

void UploadQueue::markSent(qint64 id, const QDateTime &utc, Done done)
{
    write(
        [id, ms = utc.toMSecsSinceEpoch()](Connection &connection) {
            Query update =
                connection.prepare("UPDATE sids_queue SET state = 1, done_utc_ms = ? WHERE id = ?");
            return update && update.bind(1, ms).bind(2, id).run();
        },
        std::move(done));
}

void UploadQueue::markRefused(qint64 id, const QString &reason, const QDateTime &utc, Done done)
{
    write(
        [id, reason, ms = utc.toMSecsSinceEpoch()](Connection &connection) {
            Query update = connection.prepare("UPDATE sids_queue SET state = 2, attempts = "
                                              "attempts + 1, last_error = ?, done_utc_ms = ? "
                                              "WHERE id = ?");
            return update && update.bind(1, reason).bind(2, ms).bind(3, id).run();
        },
        std::move(done));
}

void UploadQueue::noteAttempt(qint64 id, const QString &error, Done done)
{
    write(
        [id, error](Connection &connection) {
            Query update = connection.prepare("UPDATE sids_queue SET attempts = attempts + 1, "
                                              "last_error = ? WHERE id = ? AND state = 0");
            return update && update.bind(1, error).bind(2, id).run();
        },
        std::move(done));
}

void UploadQueue::release(const QList<qint64> &ids, const QDateTime &utc, Done done)
{
    write(
        [ids, ms = utc.toMSecsSinceEpoch()](Connection &connection) {
            for (const qint64 id : ids) {
                Query update = connection.cached("UPDATE sids_queue SET state = 0, "
                                                 "released_utc_ms = ? WHERE id = ? AND state = 3");
                if (!update || !update.bind(1, ms).bind(2, id).run())
                    return false;
            }
            return true;
        },
        std::move(done));
}

void UploadQueue::retry(const QList<qint64> &ids, Done done)
{
    write(
        [ids](Connection &connection) {
            for (const qint64 id : ids) {
                Query update = connection.cached("UPDATE sids_queue SET state = 0, done_utc_ms = "
                                                 "NULL WHERE id = ? AND state = 2");
                if (!update || !update.bind(1, id).run())
                    return false;
            }
            return true;
        },
        std::move(done));
}

UploadQueue::Counts UploadQueue::counts()
{
    Counts counts;
    Connection *connection = database_.reader();
    if (!connection)
        return counts;
    Query select = connection->prepare("SELECT state, COUNT(*) FROM sids_queue GROUP BY state");
    while (select && select.next()) {
        const qint64 n = select.int64(1);
        switch (static_cast<State>(select.integer(0))) {
        case State::Queued:
            counts.queued = n;
            break;
        case State::Sent:
            counts.sent = n;
            break;
        case State::Refused:
            counts.refused = n;
            break;
        case State::Held:
            counts.held = n;
            break;
        }
    }
    return counts;
}

} // namespace sharing
