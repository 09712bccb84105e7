// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/OwnPackets.h"

#include "aprs/MessageAcker.h"

namespace aprs {

namespace {

QString withoutLineEnd(QString info)
{
    while (info.endsWith(QLatin1Char('\r')) || info.endsWith(QLatin1Char('\n')))
        info.chop(1);
    return info;
}

} // namespace

void OwnPackets::sent(qint64 nowMs, const QString &source, const QString &destination,
                      const QString &info)
{
    packets_.push_back({nowMs, source, destination, withoutLineEnd(info), std::nullopt});
    if (packets_.size() > kept)
        packets_.pop_front();
}

bool OwnPackets::heard(const HeardPacket &packet)
{
    if (packet.transmitted || !packet.viaSatellite)
        return false;
    const QString source = QString::fromStdString(packet.frame.source.text());
    const QString info = withoutLineEnd(QString::fromLatin1(packet.frame.info));
    OwnPacket *match = nullptr;
    for (auto it = packets_.rbegin(); it != packets_.rend(); ++it) {
        if (it->info != info || !sameStation(it->source, source))
            continue;
        if (!it->heardBackMs) {
            match = &*it;
            break;
        }
        if (!match)
            match = &*it;
    }
    if (!match)
        return false;
    if (!match->heardBackMs)
        match->heardBackMs = packet.utcMs;
    return true;
}

} // namespace aprs
