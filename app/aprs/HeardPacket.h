// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "aprscodec/Decoder.h"
#include "aprscodec/Frame.h"

#include <QtGlobal>

// The APRS subsystem: what the station hears through the satellite and
// directly, the stations it heard, and the messages it exchanges.
namespace aprs {

// The satellite's digipeater: a packet it repeated carries this path entry
// with its has-been-repeated bit.
inline constexpr const char *satelliteDigipeater = "ORVEX-1";

// One APRS packet the station heard or sent, decoded.
struct HeardPacket
{
    qint64 utcMs = 0;          // when it was heard (ms since 1970-01-01 UTC)
    Frame frame;               // addresses, path with its has-been-repeated bits, information
    Packet packet;             // what it says
    bool viaSatellite = false; // the satellite repeated it
    bool transmitted = false;  // this station sent it (the engine's report of a sent frame)
};

} // namespace aprs
