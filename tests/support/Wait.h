// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>

namespace orvex::test {

// Runs the event loop until `done` holds or `timeoutMs` have passed; returns
// whether `done` held. For waiting on sockets, processes and timers in tests:
// give generous limits, the condition ends the wait early.
bool waitUntil(const std::function<bool()> &done, int timeoutMs = 10000);

} // namespace orvex::test
