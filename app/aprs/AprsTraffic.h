// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "aprs/HeardPacket.h"

#include <QByteArray>
#include <QObject>

namespace aprs {

// Where the APRS traffic of the station comes in: every raw UI frame the
// packet engine heard or sent is decoded once here and handed on to the
// parts that keep, list and answer it.
class AprsTraffic : public QObject
{
    Q_OBJECT
public:
    explicit AprsTraffic(QObject *parent = nullptr);

    // A raw AX.25 frame (addresses, control, PID, information) as the
    // engine reports it, heard at `utcMs`; `transmitted` for one this station
    // sent. Frames that are not UI frames are left out.
    void rawFrame(qint64 utcMs, const QByteArray &bytes, bool transmitted);

signals:
    void heard(const aprs::HeardPacket &packet);
};

} // namespace aprs
