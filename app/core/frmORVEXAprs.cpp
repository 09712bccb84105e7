// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's part in the APRS traffic: the engine's raw UI frames go
// to the one decoder of the station, which hands them on to the parts that
// keep, list and answer them.
#include "aprs/AprsTraffic.h"
#include "core/frmORVEX.h"
#include "pklink/PKLINK.h"
#include "platform/DateTime.h"

void frmORVEX::startAprs()
{
    aprsTraffic_ = std::make_unique<aprs::AprsTraffic>();
    // Raw frames are asked for on each new link: the engine forgets the
    // choice when the link ends.
    connect(pklink_, &PKLINK::WsConnected, this, [this] { pklink_->ReceiveRawFrames(true); });
    connect(pklink_, &PKLINK::MonKissFrame, this,
            [this](qint16, const QString &, const QString &, const QByteArray &bData) {
                aprsTraffic_->rawFrame(orvex::Clock::nowUtc().toMSecsSinceEpoch(), bData, false);
            });
}
