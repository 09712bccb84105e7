// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/BackgroundReader.h"

#include <atomic>

namespace history {

// What the reading thread keeps: the source it opened, and the number of
// the latest read asked, so that reads overtaken wait no longer.
struct BackgroundReader::Reading
{
    Opener opener;
    std::unique_ptr<ChannelSource> source;
    bool opened = false;
    std::atomic<quint64> latest{0};
};

BackgroundReader::BackgroundReader(Opener opener, QObject *parent)
    : QObject(parent), reading_(std::make_shared<Reading>()), worker_(new QObject)
{
    reading_->opener = std::move(opener);
    thread_.setObjectName(QStringLiteral("history reader"));
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start(QThread::LowPriority);
}

BackgroundReader::~BackgroundReader()
{
    QMetaObject::invokeMethod(worker_, [reading = reading_] { reading->source.reset(); });
    thread_.quit();
    thread_.wait();
}

std::vector<ChannelValues> readJobs(const ChannelSource *source, const std::vector<ReadJob> &jobs)
{
    std::vector<ChannelValues> values;
    for (const ReadJob &job : jobs) {
        ChannelValues &part = values.emplace_back();
        for (const ChannelKey &key : job.keys)
            part[key] = source ? source->series(key, job.span.fromMs, job.span.toMs)
                               : std::vector<ChannelPoint>{};
    }
    return values;
}

void BackgroundReader::read(std::vector<ReadJob> jobs, Done done)
{
    const quint64 ticket = ++reading_->latest;
    ++pending_;
    QMetaObject::invokeMethod(worker_, [this, reading = reading_, ticket, jobs = std::move(jobs),
                                        done = std::move(done)]() mutable {
        std::vector<ChannelValues> values;
        const bool wanted = reading->latest == ticket;
        if (wanted) {
            if (!reading->opened) {
                reading->opened = true;
                reading->source = reading->opener();
            }
            values = readJobs(reading->source.get(), jobs);
        }
        // Dropped with this object when it is gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, wanted, done = std::move(done), values = std::move(values)]() mutable {
                --pending_;
                if (wanted)
                    done(std::move(values));
            },
            Qt::QueuedConnection);
    });
}

} // namespace history
