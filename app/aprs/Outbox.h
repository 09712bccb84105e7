// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "aprs/HeardPacket.h"
#include "aprs/MessageAcker.h" // OutgoingFrame

#include <QString>

#include <optional>
#include <vector>

namespace aprs {

// One message the operator wrote, and what became of it.
struct OutgoingMessage
{
    enum class State {
        Waiting,      // not sent yet: the satellite is not in view
        Sent,         // sent at least once, nothing heard of it
        Repeated,     // heard back with the satellite's has-been-repeated bit
        Acknowledged, // the addressee's ack was heard
        Rejected,     // the addressee's reject was heard
        GivenUp       // sent as often as allowed, no ack heard
    };

    QString addressee; // "Q9AAA-7"
    QString text;
    QString number; // message number, "1" to "99999"
    QString info;   // the information field sent
    State state = State::Waiting;
    qint64 writtenMs = 0; // when the operator wrote it (ms since 1970-01-01 UTC)
    int attempts = 0;     // how often it was sent
    qint64 lastSentMs = 0;
    std::optional<qint64> heardBackMs; // first heard back via the satellite
    std::optional<qint64> answeredMs;  // ack or reject heard

    bool finished() const
    {
        return state == State::Acknowledged || state == State::Rejected || state == State::GivenUp;
    }
};

// The messages the station sends via the satellite. Each goes as soon as the
// satellite is in view, and again while no ack is heard: after 30 s, then
// 60 s, 120 s and 240 s, `maxAttempts` times in all, each try only while the
// satellite is in view (one that falls due out of view waits for it). When
// 240 s have passed after the last try without an ack, the message is
// given up; an ack heard later still counts.
class Outbox
{
public:
    static constexpr int maxAttempts = 5;
    static constexpr qint64 firstRetryMs = 30'000;
    static constexpr int maxNumber = 99'999;

    // `firstNumber`: the message number of the first message, 1-99999.
    explicit Outbox(int firstNumber = 1);

    // Adds a message to `addressee`; the reason when it cannot be sent
    // (an addressee or text APRS cannot carry), empty when it was added.
    QString add(const QString &addressee, const QString &text, qint64 nowMs);

    // What is to be sent now, by the satellite; the messages' tries and
    // states move on as if it went.
    std::vector<OutgoingFrame> due(qint64 nowMs, bool satelliteInView);

    // Takes in a packet heard: an ack or reject of a message to the station
    // with callsign `ownCallsign`, or a message of the station heard back via
    // the satellite. True when a message's state changed.
    bool heard(const HeardPacket &packet, const QString &ownCallsign);

    const std::vector<OutgoingMessage> &messages() const { return messages_; }
    // The number the next message will take.
    int nextNumber() const { return nextNumber_; }

    // How long after its try `attempt` (1 for the first) a message waits
    // for its ack.
    static qint64 waitAfter(int attempt);

private:
    std::vector<OutgoingMessage> messages_;
    int nextNumber_ = 1;
};

} // namespace aprs
