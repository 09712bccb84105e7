// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "aprs/HeardPacket.h"

#include <QString>

#include <deque>
#include <optional>
#include <set>
#include <tuple>

namespace aprs {

// Whether two callsigns name the same station: letters compared without
// regard to case, and no SSID the same as "-0" ("Q9ABC" is "q9abc-0", not
// "Q9ABC-7").
bool sameStation(const QString &first, const QString &second);

// An information field to send, and the digipeater path for it ("ORVEX-1",
// or empty to go direct).
struct OutgoingFrame
{
    QString path;
    QString info;
};

// The acknowledgements of the messages addressed to the station. A message
// to the station's callsign with its SSID that carries a message number is
// answered at once, by the way it came: via the satellite when the satellite
// repeated it, direct otherwise. A message heard again (the sender did not
// hear the ack) is answered again, and said to be a repeat so that it is
// shown only once.
class MessageAcker
{
public:
    struct Answer
    {
        OutgoingFrame ack;
        bool repeat = false; // the same message was answered before
    };

    // The answer to `packet` for a station with callsign `ownCallsign`
    // ("Q9ABC-7"); none for anything but a numbered message to it, and none
    // for what the station sent itself.
    std::optional<Answer> answer(const HeardPacket &packet, const QString &ownCallsign);

    // How many different messages are remembered to tell a repeat.
    static constexpr std::size_t remembered = 1000;

private:
    using Key = std::tuple<QString, QString, QString>; // sender, number, text
    std::set<Key> answered_;
    std::deque<Key> order_; // oldest first, to forget beyond `remembered`
};

} // namespace aprs
