// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Information fields of the messages the station sends:
//
//   :WU2Z     :Testing{003     a message (addressee padded to 9 characters)
//   :WU2Z     :ack003          its acknowledgement
//   :WU2Z     :rej003          its rejection
//
// Limits of the APRS Protocol Reference 1.0.1: the addressee is 1-9
// printable characters without blanks or ":", the message text 1-67 printable
// ASCII characters without "|", "~" and "{", the message number 1-5 letters
// or digits. A text that other stations would read as something else (an ack
// or reject, telemetry metadata, a query) is refused too.

#include <optional>
#include <string>
#include <string_view>

namespace aprs {

inline constexpr std::size_t maxMessageText = 67;

// The information field, or why it cannot be built.
struct BuildResult
{
    std::optional<std::string> info;
    std::string error; // e.g. "message text is 70 characters; at most 67 fit"
};

// `number` empty: a message that asks for no acknowledgement.
BuildResult buildMessage(std::string_view addressee, std::string_view text,
                         std::string_view number = {});
BuildResult buildAck(std::string_view addressee, std::string_view number);
BuildResult buildReject(std::string_view addressee, std::string_view number);

} // namespace aprs
