// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/ConversationText.h"

#include "aprs/MessageTraffic.h"

#include <QDateTime>
#include <QTimeZone>

#include <map>

namespace aprs {

namespace {

QString timeOf(qint64 utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, QTimeZone::utc())
        .toString(QStringLiteral("HH:mm:ss"));
}

QString satellite()
{
    return QString::fromLatin1(satelliteDigipeater);
}

QString outcome(const OutgoingMessage &message)
{
    using State = OutgoingMessage::State;
    if (message.attempts == 0)
        return QStringLiteral("waiting for the satellite");
    QStringList parts;
    parts << (message.attempts == 1 ? QStringLiteral("sent once")
                                    : QStringLiteral("sent %1 times").arg(message.attempts));
    if (message.heardBackMs)
        parts << QStringLiteral("repeated by %1 at %2")
                     .arg(satellite(), timeOf(*message.heardBackMs));
    if (message.state == State::Acknowledged)
        parts << QStringLiteral("acknowledged at %1").arg(timeOf(*message.answeredMs));
    else if (message.state == State::Rejected)
        parts << QStringLiteral("rejected at %1").arg(timeOf(*message.answeredMs));
    else if (message.state == State::GivenUp)
        parts << QStringLiteral("given up");
    return parts.join(QStringLiteral(", "));
}

} // namespace

QString conversationText(const MessageTraffic &traffic)
{
    std::multimap<qint64, QString> lines;
    for (const OutgoingMessage &message : traffic.outbox().messages())
        lines.emplace(message.writtenMs, QStringLiteral("%1 to %2: %3 [%4] - %5")
                                             .arg(timeOf(message.writtenMs), message.addressee,
                                                  message.text, message.number, outcome(message)));
    for (const IncomingMessage &message : traffic.incoming()) {
        QString line = timeOf(message.heardMs) + QStringLiteral(" from ") + message.sender;
        if (message.viaSatellite)
            line += QStringLiteral(" via ") + satellite();
        line += QStringLiteral(": ") + message.text;
        if (!message.number.isEmpty())
            line += QStringLiteral(" [%1]").arg(message.number);
        lines.emplace(message.heardMs, line);
    }
    QStringList text;
    for (const auto &[when, line] : lines)
        text << line;
    return text.join(QLatin1Char('\n'));
}

QString ownPacketsText(const MessageTraffic &traffic)
{
    QStringList text;
    for (const OwnPacket &packet : traffic.ownPackets().packets()) {
        const QString heard = packet.heardBackMs
                                  ? QStringLiteral("heard back via %1 at %2")
                                        .arg(satellite(), timeOf(*packet.heardBackMs))
                                  : QStringLiteral("not heard back");
        text << QStringLiteral("%1 %2>%3: %4 - %5")
                    .arg(timeOf(packet.sentMs), packet.source, packet.destination, packet.info,
                         heard);
    }
    return text.join(QLatin1Char('\n'));
}

} // namespace aprs
