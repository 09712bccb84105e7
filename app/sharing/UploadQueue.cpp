// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/UploadQueue.h"

#include "history/TelemetryStore.h"

#include <sqlite3.h>

namespace sharing {

namespace {

// A prepared statement that finalizes itself.
class Statement
{
public:
    Statement(sqlite3 *db, const char *sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK)
            stmt_ = nullptr;
    }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    explicit operator bool() const { return stmt_ != nullptr; }
    sqlite3_stmt *get() const { return stmt_; }
    void bind(int index, qint64 value) { sqlite3_bind_int64(stmt_, index, value); }
    void bind(int index, const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()),
                          SQLITE_TRANSIENT);
    }
    void bind(int index, const QByteArray &blob)
    {
        sqlite3_bind_blob(stmt_, index, blob.constData(), static_cast<int>(blob.size()),
                          SQLITE_TRANSIENT);
    }
    void bind(int index, std::optional<double> value)
    {
        if (value)
            sqlite3_bind_double(stmt_, index, *value);
        else
            sqlite3_bind_null(stmt_, index);
    }
    int step() { return sqlite3_step(stmt_); }

    QString text(int column) const
    {
        const auto *chars = reinterpret_cast<const char *>(sqlite3_column_text(stmt_, column));
        return chars ? QString::fromUtf8(chars, sqlite3_column_bytes(stmt_, column)) : QString();
    }
    QByteArray blob(int column) const
    {
        const auto *bytes = static_cast<const char *>(sqlite3_column_blob(stmt_, column));
        return bytes ? QByteArray(bytes, sqlite3_column_bytes(stmt_, column)) : QByteArray();
    }
    std::optional<double> optionalDouble(int column) const
    {
        if (sqlite3_column_type(stmt_, column) == SQLITE_NULL)
            return std::nullopt;
        return sqlite3_column_double(stmt_, column);
    }

private:
    sqlite3_stmt *stmt_ = nullptr;
};

} // namespace

UploadQueue::UploadQueue(const QString &path)
{
    {
        // The queue's table is part of the telemetry store's schema: opening
        // the store makes or brings the file up to date, and refuses a file
        // that is no store of ours.
        history::TelemetryStore store;
        if (!store.open(path)) {
            error_ =
                QStringLiteral("The upload queue in the file cannot be used: ") + store.errorText();
            return;
        }
    }
    const QByteArray file = path.toUtf8();
    if (sqlite3_open_v2(file.constData(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        fail("cannot be opened");
        sqlite3_close(db_);
        db_ = nullptr;
        return;
    }
    // The history store writes the same file from its own connection.
    sqlite3_busy_timeout(db_, 2000);
    // WAL keeps writers and readers of the one file out of each other's way;
    // FULL makes each queued frame durable at its commit, not only after a
    // checkpoint (frames come a few a minute, so the cost does not matter).
    if (!exec("PRAGMA journal_mode=WAL;") || !exec("PRAGMA synchronous=FULL;")) {
        sqlite3_close(db_);
        db_ = nullptr;
    }
}

UploadQueue::~UploadQueue()
{
    sqlite3_close(db_);
}

bool UploadQueue::exec(const char *sql)
{
    char *message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    error_ = QStringLiteral("The upload queue in the file cannot be used: ") +
             QString::fromUtf8(message ? message : sqlite3_errmsg(db_));
    sqlite3_free(message);
    return false;
}

bool UploadQueue::fail(const char *what)
{
    error_ = QStringLiteral("The upload queue ") + QLatin1String(what) + QStringLiteral(": ") +
             QString::fromUtf8(db_ ? sqlite3_errmsg(db_) : "out of memory");
    return false;
}

std::optional<qint64> UploadQueue::add(const SidsReport &report)
{
    if (!db_)
        return std::nullopt;
    aboutToWrite();
    Statement insert(db_, "INSERT INTO sids_queue(heard_utc_ms, norad_id, station, frame, "
                          "longitude, latitude, azimuth, elevation) VALUES(?,?,?,?,?,?,?,?)");
    if (!insert) {
        fail("cannot be written");
        return std::nullopt;
    }
    insert.bind(1, report.heardUtc.toMSecsSinceEpoch());
    insert.bind(2, report.noradId);
    insert.bind(3, report.source);
    insert.bind(4, report.frame);
    insert.bind(5, std::optional<double>(report.longitudeDeg));
    insert.bind(6, std::optional<double>(report.latitudeDeg));
    insert.bind(7, report.azimuthDeg);
    insert.bind(8, report.elevationDeg);
    if (insert.step() != SQLITE_DONE) {
        fail("cannot be written");
        return std::nullopt;
    }
    error_.clear();
    return sqlite3_last_insert_rowid(db_);
}

std::optional<UploadQueue::Entry> UploadQueue::oldestQueued()
{
    if (!db_)
        return std::nullopt;
    Statement select(db_, "SELECT id, heard_utc_ms, norad_id, station, frame, longitude, "
                          "latitude, azimuth, elevation, attempts, last_error FROM sids_queue "
                          "WHERE state = 0 ORDER BY id LIMIT 1");
    if (!select) {
        fail("cannot be read");
        return std::nullopt;
    }
    const int step = select.step();
    if (step != SQLITE_ROW) {
        if (step != SQLITE_DONE)
            fail("cannot be read");
        return std::nullopt;
    }
    sqlite3_stmt *row = select.get();
    Entry entry;
    entry.id = sqlite3_column_int64(row, 0);
    entry.report.heardUtc = QDateTime::fromMSecsSinceEpoch(sqlite3_column_int64(row, 1), Qt::UTC);
    entry.report.noradId = select.text(2);
    entry.report.source = select.text(3);
    entry.report.frame = select.blob(4);
    entry.report.longitudeDeg = sqlite3_column_double(row, 5);
    entry.report.latitudeDeg = sqlite3_column_double(row, 6);
    entry.report.azimuthDeg = select.optionalDouble(7);
    entry.report.elevationDeg = select.optionalDouble(8);
    entry.attempts = sqlite3_column_int(row, 9);
    entry.lastError = select.text(10);
    return entry;
}

bool UploadQueue::markSent(qint64 id, const QDateTime &utc)
{
    if (!db_)
        return false;
    aboutToWrite();
    Statement update(db_, "UPDATE sids_queue SET state = 1, done_utc_ms = ? WHERE id = ?");
    update.bind(1, utc.toMSecsSinceEpoch());
    update.bind(2, id);
    return (update && update.step() == SQLITE_DONE) || fail("cannot be written");
}

bool UploadQueue::markFailed(qint64 id, const QString &reason, const QDateTime &utc)
{
    if (!db_)
        return false;
    aboutToWrite();
    Statement update(db_, "UPDATE sids_queue SET state = 2, attempts = attempts + 1, "
                          "last_error = ?, done_utc_ms = ? WHERE id = ?");
    update.bind(1, reason);
    update.bind(2, utc.toMSecsSinceEpoch());
    update.bind(3, id);
    return (update && update.step() == SQLITE_DONE) || fail("cannot be written");
}

bool UploadQueue::noteAttempt(qint64 id, const QString &error)
{
    if (!db_)
        return false;
    aboutToWrite();
    Statement update(db_, "UPDATE sids_queue SET attempts = attempts + 1, last_error = ? "
                          "WHERE id = ? AND state = 0");
    update.bind(1, error);
    update.bind(2, id);
    return (update && update.step() == SQLITE_DONE) || fail("cannot be written");
}

UploadQueue::Counts UploadQueue::counts()
{
    Counts counts;
    if (!db_)
        return counts;
    Statement select(db_, "SELECT state, COUNT(*) FROM sids_queue GROUP BY state");
    if (!select) {
        fail("cannot be read");
        return counts;
    }
    while (select.step() == SQLITE_ROW) {
        const qint64 n = sqlite3_column_int64(select.get(), 1);
        switch (sqlite3_column_int(select.get(), 0)) {
        case 0:
            counts.queued = n;
            break;
        case 1:
            counts.sent = n;
            break;
        case 2:
            counts.failed = n;
            break;
        default:
            break;
        }
    }
    return counts;
}

} // namespace sharing
