// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/AprsTraffic.h"

#include <cstdint>
#include <span>

namespace aprs {

AprsTraffic::AprsTraffic(QObject *parent) : QObject(parent) {}

void AprsTraffic::rawFrame(qint64 utcMs, const QByteArray &bytes, bool transmitted)
{
    const auto *data = reinterpret_cast<const std::uint8_t *>(bytes.constData());
    FrameResult parsed = parseAx25Frame(std::span(data, static_cast<std::size_t>(bytes.size())));
    if (!parsed.frame)
        return;
    HeardPacket packet;
    packet.utcMs = utcMs;
    packet.frame = std::move(*parsed.frame);
    packet.packet = decode(packet.frame);
    packet.viaSatellite = packet.frame.repeatedBy(satelliteDigipeater);
    packet.transmitted = transmitted;
    emit heard(packet);
}

} // namespace aprs
