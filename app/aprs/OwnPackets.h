// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "aprs/HeardPacket.h"

#include <QString>

#include <deque>
#include <optional>

namespace aprs {

// One frame the station sent (a beacon, a line, a message or an ack).
struct OwnPacket
{
    qint64 sentMs = 0;   // ms since 1970-01-01 UTC
    QString source;      // the station's callsign
    QString destination; // destination and path as handed to the engine: "APZ36Q ORVEX-1"
    QString info;        // the information field, without a trailing CR or LF
    std::optional<qint64> heardBackMs; // first heard back via the satellite
};

// The frames the station sent, newest last, and whether each came back via
// the satellite: a frame heard with the satellite's has-been-repeated bit
// whose source and information field are those of one sent is that one
// heard back (the newest such one not yet heard back, else the newest).
class OwnPackets
{
public:
    static constexpr std::size_t kept = 500;

    void sent(qint64 nowMs, const QString &source, const QString &destination, const QString &info);
    // True when `packet` was one of the station's own, heard back.
    bool heard(const HeardPacket &packet);

    const std::deque<OwnPacket> &packets() const { return packets_; }

private:
    std::deque<OwnPacket> packets_;
};

} // namespace aprs
