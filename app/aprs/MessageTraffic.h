// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "aprs/HeardPacket.h"
#include "aprs/MessageAcker.h"
#include "aprs/Outbox.h"
#include "aprs/OwnPackets.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <vector>

namespace aprs {

// A message to the station, as shown once however often it was heard.
struct IncomingMessage
{
    qint64 heardMs = 0;
    QString sender;
    QString text;
    QString number;            // empty when none was sent
    bool viaSatellite = false; // first heard via the satellite
    int timesHeard = 1;
};

// The station's side of APRS messaging: answers the messages addressed to
// it, sends the operator's messages through the outbox, and follows the
// station's own frames until they are heard back. The station is asked for
// its callsign, whether the satellite is in view and the time each time it
// matters; what is to go on the air leaves through transmit().
class MessageTraffic : public QObject
{
    Q_OBJECT
public:
    struct Station
    {
        std::function<QString()> callsign;     // "Q9ABC-7"; empty until given
        std::function<bool()> satelliteInView; // above the station's horizon now
        std::function<qint64()> nowMs;         // ms since 1970-01-01 UTC
    };

    // `firstNumber`: the first message number (see Outbox).
    MessageTraffic(Station station, int firstNumber, QObject *parent = nullptr);

    // A packet the station heard (or the engine reports as sent).
    void heard(const aprs::HeardPacket &packet);
    // The engine was handed a frame: `destination` with its path
    // ("APZ36Q ORVEX-1") and the information field.
    void sent(const QString &source, const QString &destination, const QString &info);
    // Queues a message; the reason when it cannot go, empty when queued.
    QString send(const QString &addressee, const QString &text);
    // Sends what the outbox has due; runs every second by itself.
    void sendDue();

    const std::vector<IncomingMessage> &incoming() const { return incoming_; }
    const Outbox &outbox() const { return outbox_; }
    const OwnPackets &ownPackets() const { return own_; }
    // Stations heard lately, newest first, each once.
    QStringList recentStations() const { return recent_; }

    static constexpr int recentKept = 50;

signals:
    // To go on the air now: by `path` ("ORVEX-1", or empty for direct).
    void transmit(const QString &path, const QString &info);
    // Something shown changed: a message, a state, a station heard.
    void changed();

private:
    void noteStation(const QString &callsign);

    Station station_;
    MessageAcker acker_;
    Outbox outbox_;
    OwnPackets own_;
    std::vector<IncomingMessage> incoming_;
    QStringList recent_;
    QTimer timer_;
};

} // namespace aprs
