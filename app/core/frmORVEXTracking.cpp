// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's part in tracking: the sky view and the pass alarms
// follow the tracking context; the element sets are kept up to date.
#include "core/frmORVEX.h"
#include "orbit/KepsAutoUpdate.h"
#include "orbit/TrackingContext.h"
#include "radio/StationSteering.h"
#include "radio/SteeringPanel.h"
#include "shared/clsIni.h"
#include "tracking/AlarmSettingsDialog.h"
#include "tracking/PassAlarms.h"
#include "tracking/SkyViewWindow.h"
#include "ui/ElidedLabel.h"
#include "ui/ToolWindow.h"

#include <QLabel>
#include <QStatusBar>

void frmORVEX::startTracking()
{
    alarms_ = new PassAlarms(this);
    alarms_->setSettings(tracking::AlarmSettings::load(*cIni()));
    alarms_->follow(*tracking_);

    kepsUpdate_ = new KepsAutoUpdate(*cIni(), strAppPath_,
                                     {tracking_->satellite(0).objectNumber.toInt(),
                                      tracking_->satellite(1).objectNumber.toInt()},
                                     this);
    auto *kepsStatus = new ElidedLabel(this);
    kepsStatus->setObjectName(QStringLiteral("kepsStatus"));
    statusBar()->addPermanentWidget(kepsStatus);
    connect(kepsUpdate_, &KepsAutoUpdate::statusChanged, kepsStatus, &QLabel::setText);
    connect(kepsUpdate_, &KepsAutoUpdate::installed, this, [this] {
        readKepsAgain();
        elementSetsChanged();
    });
    kepsUpdate_->check();
}

void frmORVEX::stopTracking()
{
    // Both hold on to the orbits, which go before the window does.
    delete skyView_;
    delete alarms_;
    delete kepsUpdate_;
}

void frmORVEX::showSkyView()
{
    if (!tracking_)
        return;
    if (!skyView_) {
        skyView_ = new SkyViewWindow(*tracking_, cIni(), this);
        skyView_->setAttribute(Qt::WA_DeleteOnClose);
        // What the radio and the rotator do, and the channels they tune.
        skyView_->addSection(new radio::SteeringPanel(*steering_));
        connect(skyView_, &SkyViewWindow::frequenciesChanged, steering_.get(),
                &radio::StationSteering::settingsChanged);
        orvex::closeOnEscape(skyView_);
    }
    orvex::showToolWindow(skyView_, this);
}

void frmORVEX::showAlarmSettings()
{
    if (!alarms_)
        return;
    AlarmSettingsDialog dialog(alarms_->settings(), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const tracking::AlarmSettings settings = dialog.settings();
    settings.save(*cIni());
    alarms_->setSettings(settings);
}
