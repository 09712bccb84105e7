// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's part in sharing the satellite's frames over SiDS: it
// hands the uploader the frames heard, the station's facts and the
// satellite's look angles, and opens the upload window.
#include "core/frmORVEX.h"
#include "orbit/clsSats.h"
#include "pklink/PKLINK.h"
#include "sharing/SidsUploader.h"
#include "sharing/frmSidsUpload.h"
#include "ui/ToolWindow.h"

#include <QLabel>
#include <QStatusBar>

void frmORVEX::startSharing()
{
    auto station = [this] {
        return sharing::StationFacts{strCallsign(), strLat(), strLong(), sats_[0].objectNumber};
    };
    auto angles = [this](const QDateTime &utc) -> std::optional<sharing::LookAngles> {
        const SatObject &orvex = sats_[0];
        qint16 inView = 0;
        double azimuth = 0, elevation = 0, longitude = 0, latitude = 0, altitude = 0;
        QString longitudeText, latitudeText;
        if (!cSats_ || !blnLocationKnown_ || !orvex.elementSetFound ||
            !cSats_
                 ->GetSatInfo(inView, orvex.name, orvex::utcToDate(utc), azimuth, elevation,
                              longitude, latitude, longitudeText, latitudeText, altitude)
                 .isOk())
            return std::nullopt;
        return sharing::LookAngles{azimuth, elevation};
    };
    sids_ = std::make_unique<sharing::SidsUploader>(
        *cIni(), strAppPath_ + QStringLiteral("telemetry.db"), station, angles);
    connect(pklink_, &PKLINK::MonKissFrame, sids_.get(),
            [this](qint16, const QString &, const QString &, const QByteArray &bData) {
                sids_->rawFrame(bData);
            });
    // The engine forgets the raw switch with every new link.
    connect(pklink_, &PKLINK::WsConnected, sids_.get(),
            [this] { pklink_->ReceiveRawFrames(sids_->wantsRawFrames()); });
    connect(sids_.get(), &sharing::SidsUploader::rawFramesWanted, pklink_,
            &PKLINK::ReceiveRawFrames);
    auto *waiting = new QLabel(sids_->statusText(), this);
    waiting->setObjectName(QStringLiteral("labSidsStatus"));
    statusBar()->addPermanentWidget(waiting);
    connect(sids_.get(), &sharing::SidsUploader::statusTextChanged, waiting, &QLabel::setText);
}

void frmORVEX::stopSharing()
{
    delete sidsWindow_;
    sids_.reset();
}

void frmORVEX::showSidsUpload()
{
    if (!sids_)
        return;
    if (!sidsWindow_) {
        sidsWindow_ = new sharing::frmSidsUpload(*sids_, this);
        orvex::closeOnEscape(sidsWindow_);
    }
    orvex::showToolWindow(sidsWindow_, this);
}
