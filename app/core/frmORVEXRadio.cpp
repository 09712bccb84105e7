// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's part in steering the station: the radio's Doppler
// tuning and the rotator follow the tracking context; the sky view shows
// what they do, the status bar says it in a line each.
#include "core/frmORVEX.h"
#include "orbit/TrackingContext.h"
#include "radio/RadioDialog.h"
#include "radio/RotatorDialog.h"
#include "radio/StationSteering.h"
#include "radio/SteeringPanel.h"
#include "shared/clsIni.h"
#include "tracking/SkyViewWindow.h"
#include "ui/ElidedLabel.h"

#include <QStatusBar>

void frmORVEX::startSteering()
{
    steering_ = std::make_unique<radio::StationSteering>(*tracking_, *cIni());
    auto *radioStatus = new ElidedLabel(this);
    radioStatus->setObjectName(QStringLiteral("radioStatus"));
    auto *rotatorStatus = new ElidedLabel(this);
    rotatorStatus->setObjectName(QStringLiteral("rotatorStatus"));
    statusBar()->addWidget(radioStatus);
    statusBar()->addWidget(rotatorStatus);
    const auto show = [this, radioStatus, rotatorStatus] {
        radioStatus->setText(steering_->radioStatus());
        radioStatus->setVisible(!radioStatus->text().isEmpty());
        rotatorStatus->setText(steering_->rotatorStatus());
        rotatorStatus->setVisible(!rotatorStatus->text().isEmpty());
    };
    connect(steering_.get(), &radio::StationSteering::changed, this, show);
    show();
}

void frmORVEX::stopSteering()
{
    // Its daemons end with it.
    steering_.reset();
}

void frmORVEX::showRadioSettings()
{
    RadioDialog dialog(radio::RadioSettings::load(*cIni()), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.settings().save(*cIni());
    steering_->settingsChanged();
}

void frmORVEX::showRotatorSettings()
{
    RotatorDialog dialog(radio::RotatorSettings::load(*cIni()), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    dialog.settings().save(*cIni());
    steering_->settingsChanged();
}
