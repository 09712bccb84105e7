// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "aprs/HeardPacket.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include <functional>

class clsIni;

namespace aprs {

// The gateway's settings, section APRSIS of the settings file:
//
//   [APRSIS]
//   ENABLED=FALSE
//   HOST=rotate.aprs2.net
//   PORT=14580
//   PASSCODE=-1
struct IgateSettings
{
    bool enabled = false;
    QString host = QStringLiteral("rotate.aprs2.net");
    quint16 port = 14580;
    QString passcode = QStringLiteral("-1");

    // Reads the section, writing the defaults of missing keys.
    static IgateSettings read(clsIni &ini);
};

// The line an igate sends to APRS-IS for a frame heard on the air: its
// monitor text with the q construct ",qAR,<gateway>" after the path, the
// information field up to its first CR or LF. None for a frame that is not
// to be gated (one that came from the network or asks not to be, a query,
// one without information).
//
//   Q9AAA>APRS,ORVEX-1*,qAR,Q9ABC:!4903.50N/07201.75W-hi
std::optional<QString> gatedLine(const Frame &frame, const QString &gateway);

// A receive-only gateway to APRS-IS: each packet heard via the satellite
// goes to the server as one line, once within 30 s for the same source and
// information; nothing from the server goes on the air. It logs in as
//
//   user Q9ABC pass 12345 vers orvexdecode 2.4.2
//
// and, when the link breaks or cannot be made, tries again after
// `retryMs`. Packets heard while there is no link are not kept.
class IgateClient : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 duplicateWindowMs = 30'000;

    IgateClient(IgateSettings settings, std::function<QString()> callsign,
                std::function<qint64()> nowMs, int retryMs = 30'000, QObject *parent = nullptr);
    ~IgateClient() override;
    IgateClient(const IgateClient &) = delete;
    IgateClient &operator=(const IgateClient &) = delete;

    // Connects, when enabled and the station has a callsign.
    void start();
    void heard(const aprs::HeardPacket &packet);

    bool isLoggedIn() const { return loggedIn_; }

signals:
    // "APRS-IS: connected to host:port", "APRS-IS: ... lost, retrying in 30 s".
    void statusChanged(const QString &text);

private:
    void connectNow();
    void linkDown(const QString &reason);

    IgateSettings settings_;
    std::function<QString()> callsign_;
    std::function<qint64()> nowMs_;
    QTcpSocket socket_;
    QTimer retry_;
    bool loggedIn_ = false;
    QHash<QString, qint64> lastSent_; // source + info -> when it went
};

} // namespace aprs
