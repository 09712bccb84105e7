// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QtGlobal>

#include <csignal>
#include <sys/resource.h>

namespace orvex::test {

// A full file system for this process: while it lives, no file can grow past
// `bytes` (RLIMIT_FSIZE). Writes beyond it fail with EFBIG, as a full disk
// fails them; SIGXFSZ is ignored meanwhile. Creating, renaming, removing and
// shrinking files still work, as they do on a full disk.
class FullDisk
{
public:
    explicit FullDisk(qint64 bytes = 0)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FullDisk() { lift(); }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool active() const { return active_; }
    void lift()
    {
        if (!active_)
            return;
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
        active_ = false;
    }

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

} // namespace orvex::test
