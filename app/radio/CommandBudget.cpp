// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/CommandBudget.h"

#include "radio/TrackInput.h"

namespace radio {

namespace {
// A little over a second, so that no second counted from any instant holds
// more than the budget, whatever the rounding of the Julian dates.
constexpr double windowDays = 1.001 / secondsPerDay;
} // namespace

int CommandBudget::room(double nowJd)
{
    if (!sentJd_.empty() && sentJd_.back() > nowJd)
        sentJd_.clear();
    while (!sentJd_.empty() && sentJd_.front() <= nowJd - windowDays)
        sentJd_.pop_front();
    return perSecond_ - static_cast<int>(sentJd_.size());
}

void CommandBudget::spend(double nowJd)
{
    room(nowJd);
    sentJd_.push_back(nowJd);
}

} // namespace radio
