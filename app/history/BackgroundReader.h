// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

#include <QObject>
#include <QThread>

#include <functional>
#include <map>
#include <memory>

namespace history {

// Channel values read in spans of time.
using ChannelValues = std::map<ChannelKey, std::vector<ChannelPoint>>;

// Some channels over one span of time.
struct ReadJob
{
    std::vector<ChannelKey> keys;
    TimeSpan span;
};

// Does the jobs over `source`, in order.
std::vector<ChannelValues> readJobs(const ChannelSource *source, const std::vector<ReadJob> &jobs);

// Reads channel values on a thread of its own, over a source it opens there
// (a read-only connection of the station database, say), so that a long read
// never holds up the thread that asks for it.
class BackgroundReader : public QObject
{
    Q_OBJECT

public:
    // Called on the reading thread, once, before the first read; null when
    // the values cannot be read.
    using Opener = std::function<std::unique_ptr<ChannelSource>()>;
    // Receives the values of each job, in the order asked.
    using Done = std::function<void(std::vector<ChannelValues> values)>;

    explicit BackgroundReader(Opener opener, QObject *parent = nullptr);
    // Waits for the read under way.
    ~BackgroundReader() override;
    BackgroundReader(const BackgroundReader &) = delete;
    BackgroundReader &operator=(const BackgroundReader &) = delete;

    // Does the jobs and calls `done` on this object's thread; a read asked
    // later passes over this one unless it has begun (`done` is then never
    // called).
    void read(std::vector<ReadJob> jobs, Done done);
    // Whether a read is waiting or under way.
    bool busy() const { return pending_ > 0; }

private:
    struct Reading;
    std::shared_ptr<Reading> reading_;
    QThread thread_;
    QObject *worker_; // lives on thread_
    int pending_ = 0;
};

} // namespace history
