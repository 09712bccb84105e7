// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's part in tracking: the sky view and the pass alarms
// follow the satellite shown in the status panel, and learn of every change
// of satellite, element sets or station.
#include "core/frmORVEX.h"
#include "orbit/KepsAutoUpdate.h"
#include "orbit/clsSats.h"
#include "shared/clsIni.h"
#include "tracking/AlarmSettingsDialog.h"
#include "tracking/PassAlarms.h"
#include "tracking/PassGeometry.h"
#include "tracking/SkyViewWindow.h"
#include "ui/ToolWindow.h"

#include <QLabel>
#include <QStatusBar>

namespace {
constexpr double julianOfDate = 2415018.5;
}

void frmORVEX::startTracking()
{
    alarms_ = new PassAlarms(this);
    alarms_->setSettings(tracking::AlarmSettings::load(*cIni()));
    trackingChanged();

    kepsUpdate_ = new KepsAutoUpdate(*cIni(), strAppPath_, this);
    auto *kepsStatus = new QLabel(this);
    kepsStatus->setObjectName(QStringLiteral("labKepsStatus"));
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

void frmORVEX::trackingChanged()
{
    const QString name = blnLocationKnown_ && cSats_ ? strObject() : QString();
    if (alarms_) {
        clsSats *sats = cSats_.get();
        alarms_->setSatellite(
            name,
            [sats, name](double fromJd, double days) {
                return tracking::passesFrom(sats->engine(), name.toStdString(), fromJd, days);
            },
            [sats](double jd) {
                const orvex::Date utc = jd - julianOfDate;
                const bool local = sats->blnLocalTime();
                return orvex::dateToWallClock(local ? sats->GmtToLocal(utc) : utc)
                           .toString(QStringLiteral("HH:mm:ss")) +
                       (local ? QString() : QStringLiteral(" UTC"));
            });
    }
    if (skyView_) {
        skyView_->setSatellite(name);
        skyView_->invalidate();
    }
}

void frmORVEX::showSkyView()
{
    if (!cSats_)
        return;
    if (!skyView_) {
        skyView_ = new SkyViewWindow(*cSats_, cIni(), this);
        skyView_->setAttribute(Qt::WA_DeleteOnClose);
        orvex::closeOnEscape(skyView_);
        trackingChanged();
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
