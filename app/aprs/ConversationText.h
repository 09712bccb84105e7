// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

namespace aprs {

class MessageTraffic;

// The conversation as plain text, one line per message in the order written
// or heard, times in UTC:
//
//   18:30:05 to Q9AAA: hello [7] - sent 2 times, repeated by ORVEX-1 at 18:30:08, acknowledged at
//   18:30:41 18:31:00 from Q9AAA via ORVEX-1: hi there [42]
QString conversationText(const MessageTraffic &traffic);

// The station's own frames, one line each, newest last:
//
//   18:30:05 Q9ABC>APZ36Q ORVEX-1: >JO62qm/- on the air - heard back via ORVEX-1 at 18:30:07
//   18:40:00 Q9ABC>APZ36Q ORVEX-1: >JO62qm/- on the air - not heard back
QString ownPacketsText(const MessageTraffic &traffic);

} // namespace aprs
