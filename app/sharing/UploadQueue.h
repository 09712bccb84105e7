// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "sharing/SidsReport.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

struct sqlite3;

namespace sharing {

// The frames waiting to be shared, kept in the table sids_queue of the
// station's SQLite file (telemetry.db), so that nothing is lost when the
// program is closed, killed or offline. A frame is written here before any
// attempt to send it, and leaves the "queued" state only on the server's
// answer: "sent" after a 2xx, "failed" (with the server's reason) after a
// refusal. Frames are handed out oldest first.
class UploadQueue
{
public:
    enum class State { Queued = 0, Sent = 1, Failed = 2 };

    struct Entry
    {
        qint64 id = 0;
        SidsReport report;
        int attempts = 0;  // answers other than delivered or refused so far
        QString lastError; // the reason of the last failed attempt
    };

    struct Counts
    {
        qint64 queued = 0;
        qint64 sent = 0;
        qint64 failed = 0;
    };

    // Opens (or creates) the file at `path`; see isOpen() and error().
    explicit UploadQueue(const QString &path);
    ~UploadQueue();
    UploadQueue(const UploadQueue &) = delete;
    UploadQueue &operator=(const UploadQueue &) = delete;

    bool isOpen() const { return db_ != nullptr; }
    // The last failure of the file, in words; empty while all is well.
    QString error() const { return error_; }

    // Stores a frame as queued; its id, or nullopt when it could not be written.
    std::optional<qint64> add(const SidsReport &report);
    // The oldest queued frame, if any.
    std::optional<Entry> oldestQueued();
    // The server took the frame.
    bool markSent(qint64 id, const QDateTime &utc);
    // The server refused the frame for good; `reason` is kept with it.
    bool markFailed(qint64 id, const QString &reason, const QDateTime &utc);
    // An attempt that may succeed later: the frame stays queued.
    bool noteAttempt(qint64 id, const QString &error);
    Counts counts();

    // Called before each write. The telemetry history writes the same file
    // from its own connection on the same thread and keeps its batch open
    // between events: it must commit first, or the write would wait for a
    // lock that cannot be given up while it waits.
    void setBeforeWrite(std::function<void()> hook) { beforeWrite_ = std::move(hook); }

private:
    void aboutToWrite()
    {
        if (beforeWrite_)
            beforeWrite_();
    }
    bool exec(const char *sql);
    bool fail(const char *what);

    sqlite3 *db_ = nullptr;
    QString error_;
    std::function<void()> beforeWrite_;
};

} // namespace sharing
