// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/TrackInput.h"

#include "platform/DateTime.h"

namespace radio {

namespace {
constexpr double searchAgainSeconds = 60;
} // namespace

void PassCache::setInput(std::function<std::optional<PassWindow>(double nowJd)> pass)
{
    input_ = std::move(pass);
    pass_.reset();
    stale_ = true;
}

const std::optional<PassWindow> &PassCache::at(double nowJd, double keepSeconds)
{
    const bool ended = pass_ && nowJd > pass_->losJd + keepSeconds / secondsPerDay;
    // A clock set back (a test, a corrected system clock) searches again too.
    const bool searchDue = !pass_ && (nowJd < searchedJd_ ||
                                      nowJd - searchedJd_ >= searchAgainSeconds / secondsPerDay);
    if (stale_ || ended || searchDue || (pass_ && nowJd < searchedJd_)) {
        pass_ = input_ ? input_(nowJd) : std::nullopt;
        searchedJd_ = nowJd;
        stale_ = false;
    }
    return pass_;
}

} // namespace radio
