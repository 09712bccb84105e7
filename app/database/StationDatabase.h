// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "database/Connection.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The station's SQLite file, telemetry.db, and its one owner. The parts of
// the program that keep records there (the telemetry history, the upload
// queue, ...) register their tables as a SchemaPart and write through it;
// nothing else opens the file for writing.
//
// Writes are queued and committed in batches on a writer thread of the
// database's own, at most batchDelayMs after a batch's first write, so that
// neither a flood of frames nor a slow disk holds the station's thread. A
// write the file refuses for now (another program's lock, a full disk, an
// I/O error) is tried again with a growing pause while the writes wait in
// memory, in order; above maxWaiting the oldest that may be dropped are
// dropped and counted. statusText() says in one line what happened.
//
// Readers get read-only connections: the owner's thread one for short
// reads (reader()), and any reader that must not hold the station up one
// of its own (openReader()).
namespace database {

// The tables of one part of the program and the steps that make them:
// steps[i] takes the part from version i to version i + 1.
struct SchemaPart
{
    const char *name;        // "history"
    const char *description; // what it holds, for messages: "telemetry"
    std::vector<const char *> steps;
    int version() const { return static_cast<int>(steps.size()); }
};

class StationDatabase : public QObject
{
    Q_OBJECT
public:
    // A batch is committed this long after its first write, so that a killed
    // program loses well under 250 ms of records.
    static constexpr int batchDelayMs = 150;
    // Writes held in memory while the file refuses them: ten seconds of a
    // flood of 10,000 frames a second, and more.
    static constexpr qsizetype defaultMaxWaiting = 120000;

    enum class State { Closed, Ready, Waiting, Unusable };
    // Whether a write may be dropped when too many wait.
    enum class Keep { MayDrop, Always };
    // Writes inside the batch's transaction; false when a statement failed
    // (the connection says why).
    using Work = std::function<bool(Connection &)>;
    // After the commit (true), or when the write was given up (false).
    using Done = std::function<void(bool written)>;

    explicit StationDatabase(const QString &path, qsizetype maxWaiting = defaultMaxWaiting,
                             QObject *parent = nullptr);
    // Commits what waits; a file that refuses it for two more seconds loses it.
    ~StationDatabase() override;
    StationDatabase(const StationDatabase &) = delete;
    StationDatabase &operator=(const StationDatabase &) = delete;

    QString path() const { return path_; }

    // The tables a part needs; made or brought up to date before the next write.
    void addSchema(const SchemaPart &part);
    // Opens or creates the file and brings every part up to date. Waiting:
    // the file refuses it for now and is opened by itself later, writes wait
    // till then. Unusable: it never can be; errorText() says why.
    State open();
    State state() const { return state_.load(); }
    QString errorText() const;

    // Queues a write; `done` runs on this object's thread.
    void write(Work work, Done done = {}, Keep keep = Keep::MayDrop);
    // Runs `work` after everything queued before it, in a transaction of its
    // own, and waits for it. False (with `error`) when the file does not take
    // it now; it is not tried again.
    bool writeNow(Work work, QString *error = nullptr);
    // Waits until everything queued so far is committed or has failed once.
    void flush();

    // A read-only connection for short reads on this object's thread; null
    // while the file cannot be read.
    Connection *reader();
    // A read-only connection of its own, for a reader that must not wait for
    // the station (on another thread, say).
    std::unique_ptr<Connection> openReader(QString *error = nullptr) const;
    // A read-only connection to a station database at `path` holding `part`
    // at its version (tools that read the file); null with `error`.
    static std::unique_ptr<Connection> openForReading(const QString &path, const SchemaPart &part,
                                                      QString &error);

    struct Health
    {
        qint64 waiting = 0; // writes not yet committed
        qint64 dropped = 0; // the oldest, dropped while too many waited
        qint64 refused = 0; // writes the file refused for good
        QString failure;    // why writes wait now; empty when they do not
        QDateTime failingSince;
        QDateTime recoveredAt; // when writing went on again after a failure
        double waitedSeconds = 0;
    };
    Health health() const { return health_; }
    // One line for the status bar; empty while all has been well.
    QString statusText() const;

signals:
    void statusChanged(const QString &text);
    // The file cannot be used in this run.
    void unusable(const QString &why);

private:
    struct Pending;
    struct Waiter;
    // A write's answer: its `done` on the owner's thread, or writeNow's
    // waiter, answered once the `done`s before it are on their way.
    struct Completion
    {
        Done done;
        bool written = false;
        std::shared_ptr<Waiter> waiter = {};
        QString why = {};
    };
    using Clock = std::chrono::steady_clock;

    static std::unique_ptr<Connection> openConnection(const QString &path,
                                                      Connection::Access access, QString &error);
    void startWriter();
    void writerLoop();
    void attempt(std::vector<Completion> &completions);
    bool ensureReady(QString &error, bool &transient);
    bool migrate(QString &error, bool &transient);
    bool runBatch(bool oneByOne, std::vector<Completion> &completions, bool &transient,
                  QString &why);
    void failWaiting(bool keepRetrying, const QString &why, std::vector<Completion> &completions);
    void dropBeyondBound(std::vector<Completion> &completions);
    void enqueue(Pending pending, bool now);
    void report(std::vector<Completion> completions);

    const QString path_;
    const qsizetype maxWaiting_;
    std::atomic<State> state_{State::Closed};
    std::unique_ptr<Connection> reader_;
    Health health_; // the owner thread's copy
    QString lastStatus_;
    bool unusableSaid_ = false;

    // Shared between the owner and the writer thread.
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Pending> incoming_;
    Clock::time_point batchStart_;
    bool now_ = false;
    bool stop_ = false;
    std::vector<SchemaPart> newParts_;
    QString error_;

    // The writer thread's alone.
    std::thread writer_;
    std::unique_ptr<Connection> connection_;
    std::deque<Pending> backlog_;
    std::vector<SchemaPart> parts_;
    bool partsChanged_ = false;
    int failuresInARow_ = 0;
    Clock::time_point retryAt_;
    Health writerHealth_;
};

} // namespace database
