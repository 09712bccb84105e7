// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/MessageTraffic.h"

namespace aprs {

MessageTraffic::MessageTraffic(Station station, int firstNumber, QObject *parent)
    : QObject(parent), station_(std::move(station)), outbox_(firstNumber)
{
    timer_.setObjectName(QStringLiteral("outboxTimer"));
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &MessageTraffic::sendDue);
    timer_.start();
}

void MessageTraffic::heard(const HeardPacket &packet)
{
    const QString callsign = station_.callsign();
    if (!packet.transmitted)
        noteStation(QString::fromStdString(packet.frame.source.text()));
    if (const std::optional<MessageAcker::Answer> answer = acker_.answer(packet, callsign)) {
        emit transmit(answer->ack.path, answer->ack.info);
        if (answer->repeat) {
            for (IncomingMessage &message : incoming_) {
                if (sameStation(message.sender,
                                QString::fromStdString(packet.frame.source.text())) &&
                    message.number == QString::fromLatin1(packet.packet.messageNumber))
                    ++message.timesHeard;
            }
        } else {
            incoming_.push_back({packet.utcMs, QString::fromStdString(packet.frame.source.text()),
                                 QString::fromLatin1(packet.packet.text),
                                 QString::fromLatin1(packet.packet.messageNumber),
                                 packet.viaSatellite, 1});
        }
    } else if (!packet.transmitted && packet.packet.type == PacketType::Message &&
               packet.packet.messageNumber.empty() &&
               sameStation(QString::fromLatin1(packet.packet.addressee), callsign)) {
        // A message that asks for no ack is shown each time it is heard.
        incoming_.push_back({packet.utcMs, QString::fromStdString(packet.frame.source.text()),
                             QString::fromLatin1(packet.packet.text), QString(),
                             packet.viaSatellite, 1});
    }
    outbox_.heard(packet, callsign);
    own_.heard(packet);
    emit changed();
}

void MessageTraffic::sent(const QString &source, const QString &destination, const QString &info)
{
    own_.sent(station_.nowMs(), source, destination, info);
    emit changed();
}

QString MessageTraffic::send(const QString &addressee, const QString &text)
{
    if (station_.callsign().trimmed().isEmpty())
        return QStringLiteral("To send a message, give the station's callsign in "
                              "'Station Information'.");
    QString error = outbox_.add(addressee, text, station_.nowMs());
    if (!error.isEmpty())
        return error;
    noteStation(addressee.trimmed().toUpper());
    sendDue();
    emit changed();
    return {};
}

void MessageTraffic::sendDue()
{
    std::vector<OutgoingMessage::State> before;
    for (const OutgoingMessage &message : outbox_.messages())
        before.push_back(message.state);
    const std::vector<OutgoingFrame> frames =
        outbox_.due(station_.nowMs(), station_.satelliteInView());
    for (const OutgoingFrame &frame : frames)
        emit transmit(frame.path, frame.info);
    bool moved = !frames.empty();
    for (std::size_t i = 0; i < before.size(); ++i)
        moved = moved || outbox_.messages()[i].state != before[i];
    if (moved)
        emit changed();
}

void MessageTraffic::noteStation(const QString &callsign)
{
    if (callsign.isEmpty())
        return;
    recent_.removeAll(callsign);
    recent_.prepend(callsign);
    while (recent_.size() > recentKept)
        recent_.removeLast();
}

} // namespace aprs
