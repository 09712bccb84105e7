// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/MessageAcker.h"

#include "aprscodec/MessageBuilder.h"

namespace aprs {

namespace {

// "Q9ABC-0" and "q9abc" both as "Q9ABC".
QString normalStation(const QString &callsign)
{
    QString text = callsign.trimmed().toUpper();
    if (text.endsWith(QLatin1String("-0")))
        text.chop(2);
    return text;
}

} // namespace

bool sameStation(const QString &first, const QString &second)
{
    return normalStation(first) == normalStation(second);
}

std::optional<MessageAcker::Answer> MessageAcker::answer(const HeardPacket &packet,
                                                         const QString &ownCallsign)
{
    const Packet &message = packet.packet;
    if (packet.transmitted || ownCallsign.trimmed().isEmpty() ||
        message.type != PacketType::Message || message.messageNumber.empty())
        return std::nullopt;
    const QString sender = QString::fromStdString(packet.frame.source.text());
    if (!sameStation(QString::fromLatin1(message.addressee), ownCallsign) ||
        sameStation(sender, ownCallsign))
        return std::nullopt;
    const BuildResult ack = buildAck(packet.frame.source.text(), message.messageNumber);
    if (!ack.info)
        return std::nullopt;

    Answer result;
    result.ack.path = packet.viaSatellite ? QString::fromLatin1(satelliteDigipeater) : QString();
    result.ack.info = QString::fromLatin1(*ack.info);
    Key key{normalStation(sender), QString::fromLatin1(message.messageNumber),
            QString::fromLatin1(message.text)};
    result.repeat = !answered_.insert(key).second;
    if (!result.repeat) {
        order_.push_back(std::move(key));
        if (order_.size() > remembered) {
            answered_.erase(order_.front());
            order_.pop_front();
        }
    }
    return result;
}

} // namespace aprs
