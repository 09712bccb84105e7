// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/StationDatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>
#include <future>
#include <sqlite3.h>

namespace database {

namespace {

// "ORVX": marks the file as the station's.
constexpr int applicationId = 0x4F525658;
// PRAGMA user_version of files whose parts are listed in schema_part. The
// versions before it held the history (1) and the upload queue (2) in one
// numbered layout.
constexpr int layoutVersion = 3;
// The parts of the older one-version layout, and the layout version from
// which its files held each (at version 1 of the part).
constexpr std::pair<std::string_view, int> legacyParts[] = {{"history", 1}, {"sids_queue", 2}};

int legacyPartFrom(std::string_view name)
{
    for (const auto &[part, from] : legacyParts)
        if (part == name)
            return from;
    return 0;
}

// The station's thread waits no longer than this for another program's lock.
constexpr int readerBusyMs = 20;
constexpr int writerBusyMs = 50;
constexpr auto firstRetry = std::chrono::milliseconds(50);
constexpr auto longestRetry = std::chrono::milliseconds(1000);
// At the end of a run, a file that refuses what waits is tried this long.
constexpr auto lastTries = std::chrono::seconds(2);

QString count(qint64 n)
{
    return QLocale::c().toString(n);
}

QString clockText(const QDateTime &when)
{
    return when.toLocalTime().toString(QStringLiteral("HH:mm:ss"));
}

// What the file's header says: the layout, the owner, whether it is new.
struct Layout
{
    int version = 0;
    int application = 0;
    int objects = 0;
    bool empty() const { return version == 0 && application == 0 && objects == 0; }
};

bool readLayout(Connection &connection, Layout &layout)
{
    Query query = connection.prepare("SELECT (SELECT user_version FROM pragma_user_version),"
                                     " (SELECT application_id FROM pragma_application_id),"
                                     " (SELECT count(*) FROM sqlite_schema)");
    if (!query || !query.next())
        return false;
    layout.version = query.integer(0);
    layout.application = query.integer(1);
    layout.objects = query.integer(2);
    return true;
}

// Why the file cannot be read, for a failure of its first statement.
QString unreadable(const Connection &connection)
{
    const int code = connection.errorCode() & 0xff;
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return QStringLiteral("it is locked by another program");
    if (code == SQLITE_NOTADB)
        return QStringLiteral("it is not a telemetry store");
    return QStringLiteral("it cannot be read (%1)").arg(connection.errorText());
}

QString newerText(int found, int known)
{
    return QStringLiteral("it was written by a newer version of this program (store version %1; "
                          "this version reads up to %2)")
        .arg(found)
        .arg(known);
}

// The version of `part` the file holds: from schema_part, or from the
// one-version layout of older files.
std::optional<int> partVersion(Connection &connection, const Layout &layout, const SchemaPart &part,
                               bool &failed)
{
    failed = false;
    if (layout.version < layoutVersion) {
        const int from = legacyPartFrom(part.name);
        if (from > 0 && layout.version >= from)
            return 1;
        return std::nullopt;
    }
    Query query = connection.prepare("SELECT version FROM schema_part WHERE name = ?1");
    if (!query) {
        failed = true;
        return std::nullopt;
    }
    query.bind(1, std::string_view(part.name));
    const int step = query.step();
    if (step == SQLITE_ROW)
        return query.integer(0);
    failed = step != SQLITE_DONE;
    return std::nullopt;
}

std::unique_ptr<Connection> checkedForReading(std::unique_ptr<Connection> connection,
                                              const Layout &layout, const SchemaPart &part,
                                              QString &error)
{
    if (layout.empty()) {
        error = QStringLiteral("it holds no %1").arg(QLatin1String(part.description));
        return nullptr;
    }
    if (layout.application != applicationId) {
        error = QStringLiteral("it is a database of another program");
        return nullptr;
    }
    if (layout.version > layoutVersion) {
        error = newerText(layout.version, layoutVersion);
        return nullptr;
    }
    bool failed = false;
    const std::optional<int> version = partVersion(*connection, layout, part, failed);
    if (failed)
        error = unreadable(*connection);
    else if (!version)
        error = QStringLiteral("it holds no %1").arg(QLatin1String(part.description));
    else if (*version < part.version())
        error = QStringLiteral(
            "it is of an older version; open it in the program once to bring it up to date");
    else if (*version > part.version())
        error = newerText(*version, part.version());
    else
        return connection;
    return nullptr;
}

} // namespace

struct StationDatabase::Waiter
{
    std::promise<std::pair<bool, QString>> result;
};

struct StationDatabase::Pending
{
    Work work;
    Done done;
    bool mayDrop = true;
    std::shared_ptr<Waiter> waiter; // writeNow's: tried once, then answered
};

StationDatabase::StationDatabase(const QString &path, qsizetype maxWaiting, QObject *parent)
    : QObject(parent), path_(path), maxWaiting_(maxWaiting)
{
}

StationDatabase::~StationDatabase()
{
    if (writer_.joinable()) {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        writer_.join();
    }
}

void StationDatabase::addSchema(const SchemaPart &part)
{
    std::lock_guard lock(mutex_);
    newParts_.push_back(part);
}

QString StationDatabase::errorText() const
{
    std::lock_guard lock(mutex_);
    return error_;
}

StationDatabase::State StationDatabase::open()
{
    startWriter();
    writeNow([](Connection &) { return true; });
    return state();
}

void StationDatabase::startWriter()
{
    if (!writer_.joinable())
        writer_ = std::thread([this] { writerLoop(); });
}

void StationDatabase::enqueue(Pending pending, bool now)
{
    bool first = false;
    {
        std::lock_guard lock(mutex_);
        first = incoming_.empty();
        if (first)
            batchStart_ = Clock::now();
        incoming_.push_back(std::move(pending));
        now_ = now_ || now;
    }
    // The writer wakes for a batch's first write, which sets when the batch
    // is due, and for a write wanted at once; waking it for every write of
    // a flood would cost the station's thread a switch each time.
    if (first || now)
        wake_.notify_one();
}

void StationDatabase::write(Work work, Done done, Keep keep)
{
    if (state() == State::Unusable) {
        if (done)
            done(false);
        return;
    }
    startWriter();
    enqueue({std::move(work), std::move(done), keep == Keep::MayDrop, nullptr}, false);
}

bool StationDatabase::writeNow(Work work, QString *error)
{
    if (state() == State::Unusable) {
        if (error)
            *error = errorText();
        return false;
    }
    startWriter();
    auto waiter = std::make_shared<Waiter>();
    std::future<std::pair<bool, QString>> answer = waiter->result.get_future();
    enqueue({std::move(work), {}, false, waiter}, true);
    auto [written, why] = answer.get();
    if (error)
        *error = why;
    return written;
}

void StationDatabase::flush()
{
    if (writer_.joinable())
        writeNow([](Connection &) { return true; });
}

std::unique_ptr<Connection>
StationDatabase::openConnection(const QString &path, Connection::Access access, QString &error)
{
    const bool readOnly = access == Connection::Access::ReadOnly;
    if (readOnly && !QFileInfo::exists(path)) {
        error = QStringLiteral("the file does not exist");
        return nullptr;
    }
    // One connection per thread: SQLite need not lock around every call.
    const int flags = SQLITE_OPEN_NOMUTEX | (readOnly ? SQLITE_OPEN_READONLY
                                                      : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    sqlite3 *db = nullptr;
    const int opened = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    std::unique_ptr<Connection> connection(new Connection(db, path));
    if (opened != SQLITE_OK) {
        error = QStringLiteral("it cannot be opened (%1)").arg(connection->errorText());
        return nullptr;
    }
    connection->setBusyTimeout(readOnly ? readerBusyMs : writerBusyMs);
    return connection;
}

std::unique_ptr<Connection> StationDatabase::openReader(QString *error) const
{
    QString why;
    std::unique_ptr<Connection> connection =
        openConnection(path_, Connection::Access::ReadOnly, why);
    if (error)
        *error = why;
    return connection;
}

Connection *StationDatabase::reader()
{
    if (!reader_ && state() == State::Ready)
        reader_ = openReader();
    return reader_.get();
}

std::unique_ptr<Connection> StationDatabase::openForReading(const QString &path,
                                                            const SchemaPart &part, QString &error)
{
    std::unique_ptr<Connection> connection =
        openConnection(path, Connection::Access::ReadOnly, error);
    if (!connection)
        return nullptr;
    Layout layout;
    if (!readLayout(*connection, layout)) {
        const int code = connection->errorCode() & 0xff;
        // A file on a read-only medium: no one can change it, and SQLite
        // need not make the files that readers of a changing one share.
        if ((code == SQLITE_CANTOPEN || code == SQLITE_READONLY) &&
            !QFileInfo(QFileInfo(path).absolutePath()).isWritable()) {
            sqlite3 *db = nullptr;
            const QByteArray uri =
                QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() +
                "?immutable=1";
            sqlite3_open_v2(uri.constData(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
            connection.reset(new Connection(db, path));
            if (readLayout(*connection, layout))
                return checkedForReading(std::move(connection), layout, part, error);
        }
        error = unreadable(*connection);
        return nullptr;
    }
    return checkedForReading(std::move(connection), layout, part, error);
}

void StationDatabase::writerLoop()
{
    std::unique_lock lock(mutex_);
    std::optional<Clock::time_point> lastTry;
    for (;;) {
        for (;;) {
            if (stop_ && !lastTry)
                lastTry = Clock::now() + lastTries;
            const bool failing = failuresInARow_ > 0;
            const bool work = !incoming_.empty() || !backlog_.empty() || !newParts_.empty();
            if (stop_ && !work)
                return;
            Clock::time_point due = Clock::time_point::max();
            if (now_ || (stop_ && !failing))
                due = Clock::now();
            else if (failing && work)
                due = retryAt_;
            else if (!incoming_.empty())
                due = batchStart_ + std::chrono::milliseconds(batchDelayMs);
            if (Clock::now() >= due)
                break;
            if (due == Clock::time_point::max())
                wake_.wait(lock);
            else
                wake_.wait_until(lock, due);
        }
        for (Pending &pending : incoming_)
            backlog_.push_back(std::move(pending));
        incoming_.clear();
        for (SchemaPart &part : newParts_)
            parts_.push_back(std::move(part));
        partsChanged_ = partsChanged_ || !newParts_.empty();
        newParts_.clear();
        now_ = false;
        const bool stopping = stop_;
        lock.unlock();

        std::vector<Completion> completions;
        dropBeyondBound(completions);
        attempt(completions);
        if (stopping && failuresInARow_ > 0 && lastTry && Clock::now() >= *lastTry) {
            writerHealth_.dropped += static_cast<qint64>(backlog_.size());
            failWaiting(false, QStringLiteral("the program ended before the file took them"),
                        completions);
        }
        report(std::move(completions));
        lock.lock();
    }
}

void StationDatabase::attempt(std::vector<Completion> &completions)
{
    const auto noteFailure = [this](const QString &why) {
        ++failuresInARow_;
        const auto pause = std::min<std::chrono::milliseconds>(
            firstRetry * (1 << std::min(failuresInARow_ - 1, 10)), longestRetry);
        retryAt_ = Clock::now() + pause;
        writerHealth_.failure = why;
        if (!writerHealth_.failingSince.isValid())
            writerHealth_.failingSince = QDateTime::currentDateTimeUtc();
        state_ = State::Waiting;
    };
    QString error;
    bool transient = false;
    if (!ensureReady(error, transient)) {
        if (transient) {
            noteFailure(error);
            failWaiting(true, error, completions);
            return;
        }
        {
            std::lock_guard lock(mutex_);
            error_ = error;
        }
        state_ = State::Unusable;
        failWaiting(false, error, completions);
        return;
    }
    if (failuresInARow_ == 0)
        state_ = State::Ready;
    QString why;
    if (!backlog_.empty() && !runBatch(false, completions, transient, why) &&
        (transient || !runBatch(true, completions, transient, why))) {
        noteFailure(why);
        failWaiting(true, why, completions);
        return;
    }
    if (failuresInARow_ > 0) {
        const QDateTime now = QDateTime::currentDateTimeUtc();
        writerHealth_.recoveredAt = now;
        writerHealth_.waitedSeconds =
            static_cast<double>(writerHealth_.failingSince.msecsTo(now)) / 1000.0;
        writerHealth_.failure.clear();
        writerHealth_.failingSince = {};
        failuresInARow_ = 0;
    }
    state_ = State::Ready;
}

bool StationDatabase::ensureReady(QString &error, bool &transient)
{
    transient = false;
    if (!connection_) {
        connection_ = openConnection(path_, Connection::Access::ReadWrite, error);
        if (!connection_)
            return false;
        partsChanged_ = true;
    }
    return !partsChanged_ || migrate(error, transient);
}

bool StationDatabase::migrate(QString &error, bool &transient)
{
    Connection &connection = *connection_;
    const auto failed = [&](const QString &what) {
        transient = connection.failureIsTransient();
        error = what + QStringLiteral(" (") + connection.errorText() + QLatin1Char(')');
        connection.exec("ROLLBACK");
        return false;
    };
    Layout layout;
    if (!readLayout(connection, layout)) {
        transient = connection.failureIsTransient();
        error = unreadable(connection);
        return false;
    }
    if (!layout.empty() && layout.application != applicationId) {
        error = QStringLiteral("it is a database of another program");
        return false;
    }
    if (layout.version > layoutVersion) {
        error = newerText(layout.version, layoutVersion);
        return false;
    }
    // WAL: readers and the writer keep out of each other's way. FULL: each
    // batch is on the disk at its commit; batches are few, so it costs little.
    if (!connection.exec("PRAGMA journal_mode=WAL") || !connection.exec("PRAGMA synchronous=FULL"))
        return failed(QStringLiteral("it cannot be written"));
    if (!connection.exec("BEGIN IMMEDIATE"))
        return failed(QStringLiteral("it cannot be written"));
    if (layout.version < layoutVersion) {
        if (!connection.exec("CREATE TABLE schema_part(name TEXT PRIMARY KEY, "
                             "version INTEGER NOT NULL) WITHOUT ROWID"))
            return failed(QStringLiteral("it cannot be brought up to date"));
        for (const auto &[name, from] : legacyParts) {
            if (layout.version < from)
                continue;
            Query record = connection.prepare("INSERT INTO schema_part VALUES(?1, 1)");
            if (!record || !record.bind(1, name).run())
                return failed(QStringLiteral("it cannot be brought up to date"));
        }
    }
    for (const SchemaPart &part : parts_) {
        Query read = connection.prepare("SELECT version FROM schema_part WHERE name = ?1");
        if (!read)
            return failed(QStringLiteral("it cannot be read"));
        read.bind(1, std::string_view(part.name));
        const int step = read.step();
        if (step != SQLITE_ROW && step != SQLITE_DONE)
            return failed(QStringLiteral("it cannot be read"));
        const int version = step == SQLITE_ROW ? read.integer(0) : 0;
        read = {};
        if (version > part.version()) {
            connection.exec("ROLLBACK");
            error = newerText(version, part.version());
            return false;
        }
        for (int index = version; index < part.version(); ++index)
            if (!connection.exec(part.steps[static_cast<size_t>(index)]))
                return failed(QStringLiteral("it cannot be brought up to date"));
        Query record =
            connection.prepare("INSERT INTO schema_part VALUES(?1, ?2) "
                               "ON CONFLICT(name) DO UPDATE SET version = excluded.version");
        if (!record || !record.bind(1, std::string_view(part.name)).bind(2, part.version()).run())
            return failed(QStringLiteral("it cannot be brought up to date"));
    }
    const QByteArray stamp = QStringLiteral("PRAGMA application_id=%1; PRAGMA user_version=%2")
                                 .arg(applicationId)
                                 .arg(layoutVersion)
                                 .toLatin1();
    if (!connection.exec(stamp.constData()) || !connection.exec("COMMIT"))
        return failed(QStringLiteral("it cannot be written"));
    partsChanged_ = false;
    return true;
}

bool StationDatabase::runBatch(bool oneByOne, std::vector<Completion> &completions, bool &transient,
                               QString &why)
{
    Connection &connection = *connection_;
    const auto abandon = [&] {
        const int code = connection.errorCode();
        why = connection.errorText();
        connection.exec("ROLLBACK");
        connection.rolledBack();
        transient = Connection::isTransient(code);
        return false;
    };
    if (!connection.exec("BEGIN IMMEDIATE"))
        return abandon();
    const std::size_t count = backlog_.size();
    std::vector<bool> refused(count, false);
    for (std::size_t index = 0; index < count; ++index) {
        if (oneByOne && !connection.exec("SAVEPOINT one"))
            return abandon();
        if (!backlog_[index].work(connection)) {
            // In a batch, any failure: the batch is tried again, one by one
            // if the file would refuse it again.
            if (!oneByOne || connection.failureIsTransient())
                return abandon();
            refused[index] = true;
            connection.exec("ROLLBACK TO one");
            connection.rolledBack();
        }
        if (oneByOne && !connection.exec("RELEASE one"))
            return abandon();
    }
    if (!connection.exec("COMMIT"))
        return abandon();
    for (std::size_t index = 0; index < count; ++index) {
        Pending pending = std::move(backlog_.front());
        backlog_.pop_front();
        if (refused[index])
            ++writerHealth_.refused;
        if (pending.waiter || pending.done)
            completions.push_back(
                {std::move(pending.done), !refused[index], std::move(pending.waiter),
                 refused[index] ? QStringLiteral("the file refused it") : QString()});
    }
    return true;
}

void StationDatabase::failWaiting(bool keepRetrying, const QString &why,
                                  std::vector<Completion> &completions)
{
    std::deque<Pending> kept;
    for (Pending &pending : backlog_) {
        if (pending.waiter)
            completions.push_back({{}, false, std::move(pending.waiter), why});
        else if (keepRetrying)
            kept.push_back(std::move(pending));
        else if (pending.done)
            completions.push_back({std::move(pending.done), false});
    }
    backlog_.swap(kept);
}

void StationDatabase::dropBeyondBound(std::vector<Completion> &completions)
{
    auto excess = static_cast<qsizetype>(backlog_.size()) - maxWaiting_;
    if (excess <= 0)
        return;
    std::deque<Pending> kept;
    for (Pending &pending : backlog_) {
        if (excess > 0 && pending.mayDrop && !pending.waiter) {
            --excess;
            ++writerHealth_.dropped;
            if (pending.done)
                completions.push_back({std::move(pending.done), false});
        } else {
            kept.push_back(std::move(pending));
        }
    }
    backlog_.swap(kept);
}

void StationDatabase::report(std::vector<Completion> completions)
{
    Health health = writerHealth_;
    {
        std::lock_guard lock(mutex_);
        health.waiting =
            static_cast<qint64>(backlog_.size()) + static_cast<qint64>(incoming_.size());
    }
    std::vector<Completion> answers;
    std::vector<Completion> dones;
    for (Completion &completion : completions)
        (completion.waiter ? answers : dones).push_back(std::move(completion));
    QMetaObject::invokeMethod(
        this,
        [this, health, dones = std::move(dones)]() mutable {
            health_ = health;
            for (Completion &completion : dones)
                if (completion.done)
                    completion.done(completion.written);
            const QString text = statusText();
            if (text != lastStatus_) {
                lastStatus_ = text;
                emit statusChanged(text);
            }
            if (state() == State::Unusable && !unusableSaid_) {
                unusableSaid_ = true;
                emit unusable(errorText());
            }
        },
        Qt::QueuedConnection);
    // A writeNow() returns after the answers to the writes before it are posted.
    for (Completion &answer : answers)
        answer.waiter->result.set_value({answer.written, answer.why});
}

QString StationDatabase::statusText() const
{
    const QString name = QFileInfo(path_).fileName();
    if (state() == State::Unusable)
        return QStringLiteral("Store: %1 cannot be used: %2").arg(name, errorText());
    const Health &health = health_;
    QString text;
    if (!health.failure.isEmpty())
        text =
            QStringLiteral("Store: %1 refuses writes since %2 (%3); %4 records wait in memory")
                .arg(name, clockText(health.failingSince), health.failure, count(health.waiting));
    else if (health.recoveredAt.isValid())
        text = QStringLiteral("Store: %1 written again at %2 after %3 s")
                   .arg(name, clockText(health.recoveredAt))
                   .arg(health.waitedSeconds, 0, 'f', 1);
    else if (health.dropped || health.refused)
        text = QStringLiteral("Store: %1").arg(name);
    else
        return {};
    if (health.dropped)
        text += QStringLiteral("; %1 oldest records dropped").arg(count(health.dropped));
    if (health.refused)
        text += QStringLiteral("; %1 records refused").arg(count(health.refused));
    if (health.failure.isEmpty() && !health.dropped && !health.refused)
        text += QStringLiteral("; nothing lost");
    return text;
}

} // namespace database
