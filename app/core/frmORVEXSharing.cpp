// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's part in sharing the satellite's frames over SiDS: it
// hands the uploader the frames heard and the station's facts, and opens
// the upload window.
#include "core/frmORVEX.h"
#include "orbit/TrackingContext.h"
#include "pklink/PKLINK.h"
#include "sharing/SidsUploadWindow.h"
#include "sharing/SidsUploader.h"
#include "ui/ToolWindow.h"

#include <QLabel>
#include <QStatusBar>

void frmORVEX::startSharing()
{
    auto station = [this] {
        return sharing::StationFacts{strCallsign(), strLat(), strLong(),
                                     tracking_->satellite(0).objectNumber};
    };
    sids_ = std::make_unique<sharing::SidsUploader>(*cIni(), *database_, station,
                                                    sharing::SidsUploader::sightingOf(*tracking_));
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
    waiting->setObjectName(QStringLiteral("sidsStatus"));
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
        sidsWindow_ = new sharing::SidsUploadWindow(*sids_, this);
        orvex::closeOnEscape(sidsWindow_);
    }
    orvex::showToolWindow(sidsWindow_, this);
}
