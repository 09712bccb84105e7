// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/Outbox.h"

#include "aprs/MessageAcker.h"
#include "aprscodec/MessageBuilder.h"

#include <algorithm>

namespace aprs {

namespace {

// An information field as sent, without the line end a sender may add.
QString bareInfo(QString info)
{
    while (info.endsWith(QLatin1Char('\r')) || info.endsWith(QLatin1Char('\n')))
        info.chop(1);
    return info;
}

} // namespace

Outbox::Outbox(int firstNumber)
    : nextNumber_(firstNumber >= 1 && firstNumber <= maxNumber ? firstNumber : 1)
{
}

qint64 Outbox::waitAfter(int attempt)
{
    return firstRetryMs << std::clamp(attempt - 1, 0, 3);
}

QString Outbox::add(const QString &addressee, const QString &text, qint64 nowMs)
{
    const QString number = QString::number(nextNumber_);
    const BuildResult built = buildMessage(addressee.trimmed().toUpper().toLatin1().toStdString(),
                                           text.toLatin1().toStdString(), number.toStdString());
    if (!built.info)
        return QString::fromStdString(built.error);
    nextNumber_ = nextNumber_ % maxNumber + 1;
    OutgoingMessage message;
    message.addressee = addressee.trimmed().toUpper();
    message.text = text;
    message.number = number;
    message.info = QString::fromLatin1(*built.info);
    message.writtenMs = nowMs;
    messages_.push_back(std::move(message));
    return {};
}

std::vector<OutgoingFrame> Outbox::due(qint64 nowMs, bool satelliteInView)
{
    std::vector<OutgoingFrame> frames;
    for (OutgoingMessage &message : messages_) {
        if (message.finished())
            continue;
        const bool waited =
            message.attempts == 0 || nowMs - message.lastSentMs >= waitAfter(message.attempts);
        if (!waited)
            continue;
        if (message.attempts >= maxAttempts) {
            message.state = OutgoingMessage::State::GivenUp;
            continue;
        }
        // A try that falls due out of view goes when the satellite rises.
        if (!satelliteInView)
            continue;
        ++message.attempts;
        message.lastSentMs = nowMs;
        if (message.state == OutgoingMessage::State::Waiting)
            message.state = OutgoingMessage::State::Sent;
        frames.push_back({QString::fromLatin1(satelliteDigipeater), message.info});
    }
    return frames;
}

bool Outbox::heard(const HeardPacket &packet, const QString &ownCallsign)
{
    if (packet.transmitted)
        return false;
    const Packet &decoded = packet.packet;
    const QString source = QString::fromStdString(packet.frame.source.text());
    bool changed = false;
    for (OutgoingMessage &message : messages_) {
        if (message.attempts == 0)
            continue;
        const bool answer = decoded.type == PacketType::Ack || decoded.type == PacketType::Reject;
        if (answer && !message.answeredMs && sameStation(source, message.addressee) &&
            sameStation(QString::fromLatin1(decoded.addressee), ownCallsign) &&
            QString::fromLatin1(decoded.messageNumber) == message.number) {
            message.answeredMs = packet.utcMs;
            message.state = decoded.type == PacketType::Ack ? OutgoingMessage::State::Acknowledged
                                                            : OutgoingMessage::State::Rejected;
            changed = true;
        }
        if (packet.viaSatellite && !message.heardBackMs && sameStation(source, ownCallsign) &&
            bareInfo(QString::fromLatin1(packet.frame.info)) == message.info) {
            message.heardBackMs = packet.utcMs;
            if (message.state == OutgoingMessage::State::Sent)
                message.state = OutgoingMessage::State::Repeated;
            changed = true;
        }
    }
    return changed;
}

} // namespace aprs
