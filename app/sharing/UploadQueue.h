// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "database/StationDatabase.h"
#include "sharing/SidsReport.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace sharing {

// The upload queue's table in the station database.
const database::SchemaPart &uploadQueueSchema();

// The frames to be shared, kept in the table sids_queue of the station
// database (telemetry.db), so that nothing is lost when the program is
// closed, killed or offline. A frame is written here before any attempt to
// send it. A queued frame leaves that state only on the server's answer:
// "sent" after a 2xx, "refused" (with the server's reason) after a 4xx. A
// frame that may not go by itself is written as "held" with the reason, and
// only the operator's word queues it (release); a refused frame is queued
// again only on the operator's word (retry). Queued frames are handed out
// oldest first. Writes go with the database's batches; their `done` says
// when they are in the file.
class UploadQueue
{
public:
    enum class State { Queued = 0, Sent = 1, Refused = 2, Held = 3 };
    using Done = database::StationDatabase::Done;

    struct Entry
    {
        qint64 id = 0;
        State state = State::Queued;
        SidsReport report;
        int attempts = 0;  // answers other than delivered so far
        QString lastError; // the reason of the last failed attempt or the refusal
        QString holdReason;
    };

    struct Counts
    {
        qint64 queued = 0;
        qint64 held = 0;
        qint64 sent = 0;
        qint64 refused = 0;
    };

    // Registers the queue's table with `database`.
    explicit UploadQueue(database::StationDatabase &database);
    UploadQueue(const UploadQueue &) = delete;
    UploadQueue &operator=(const UploadQueue &) = delete;

    // Whether the file can hold the queue in this run, and why not.
    bool available() const;
    QString error() const;

    // Stores a frame as queued, or as held for `holdReason` when that is not empty.
    void add(const SidsReport &report, const QString &holdReason = {}, Done done = {});
    // The oldest queued frame in the file, if any.
    std::optional<Entry> oldestQueued();
    // The held and the refused frames, newest first, at most `limit`.
    std::vector<Entry> heldAndRefused(int limit);

    // The server took the frame.
    void markSent(qint64 id, const QDateTime &utc, Done done = {});
    // The server refused the frame; `reason` is kept with it.
    void markRefused(qint64 id, const QString &reason, const QDateTime &utc, Done done = {});
    // An attempt that may succeed later: the frame stays queued.
    void noteAttempt(qint64 id, const QString &error, Done done = {});
    // The operator sends these held frames (others are left as they are);
    // `utc` is kept as the time of that decision.
    void release(const QList<qint64> &ids, const QDateTime &utc, Done done = {});
    // The operator has these refused frames tried again.
    void retry(const QList<qint64> &ids, Done done = {});
    Counts counts();

private:
    void write(database::StationDatabase::Work work, Done done);

    database::StationDatabase &database_;
};

} // namespace sharing
