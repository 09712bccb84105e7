// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <chrono>

namespace sharing {

// What one attempt to share a frame came to.
enum class Outcome {
    Delivered,  // a 2xx answer: the server has the frame
    RetryLater, // no answer, a timeout, 5xx or 429: the frame waits and is tried again
    Refused,    // any other 4xx: the server will not take this frame, ever
};

// The outcome of an HTTP status; 0 stands for "no answer" (network failure).
// 1xx and 3xx answers that reach here were not followed: tried again later.
Outcome outcomeOfStatus(int httpStatus);

// The pause before the next attempt after `failuresInARow` (>= 1) attempts
// in a row that were not answered: 30 s, doubled each time, at most 30 min.
std::chrono::seconds retryDelay(int failuresInARow);

} // namespace sharing
