// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/SidsOutcome.h"

#include <algorithm>

namespace sharing {

Outcome outcomeOfStatus(int httpStatus)
{
    if (httpStatus >= 200 && httpStatus <= 299)
        return Outcome::Delivered;
    if (httpStatus >= 400 && httpStatus <= 499 && httpStatus != 429)
        return Outcome::Refused;
    return Outcome::RetryLater;
}

std::chrono::seconds retryDelay(int failuresInARow)
{
    constexpr std::chrono::seconds first{30};
    constexpr std::chrono::seconds longest{30 * 60};
    // 30 s * 2^6 is past the cap already; the shift stays small.
    const int doublings = std::clamp(failuresInARow - 1, 0, 6);
    return std::min(first * (1 << doublings), longest);
}

} // namespace sharing
