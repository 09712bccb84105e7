// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's satellite status panel and satellite choice.
#include "core/MainSettings.h"
#include "core/SatStatusPanel.h"
#include "core/frmORVEX.h"
#include "history/DisplayZones.h"
#include "map/frmMap.h"
#include "orbit/ElementProvenance.h"
#include "orbit/KepsFolder.h"
#include "orbit/SatStatus.h"
#include "orbit/TrackingContext.h"
#include "orbit/clsSats.h"
#include "orbit/frmPass.h"
#include "platform/DateTime.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>

void frmORVEX::ApplyStationLocation()
{
    const double latitude = stationLatitude();
    const double longitude = stationLongitude();
    blnLocationKnown_ = latitude != 0 && longitude != 0;
    status_->setLocationKnown(blnLocationKnown_);
    if (cSats_) {
        cSats_->setDblObsLat(latitude);
        cSats_->setDblObsLong(longitude);
    }
    if (tracking_)
        tracking_->setStation(latitude, longitude);
}

void frmORVEX::CheckSatUpdate(bool force)
{
    SatObject &sat = sats_[static_cast<size_t>(intObjIndex_)];
    ++sat.tickCounter;
    if (!force && sat.tickCounter < sat.refreshPeriod)
        return;
    sat.tickCounter = 0;
    UpdateSatStatus();
}

void frmORVEX::UpdateSatStatus()
{
    if (!cSats_)
        return;
    SatObject &sat = sats_[static_cast<size_t>(intObjIndex_)];
    const SatStatus status =
        computeSatStatus(*cSats_, sat.name, blnLocationKnown_, sat.refreshPeriod);
    sat.refreshPeriod = status.refreshPeriod;
    status_->showStatus(status);
    const ElementNote note =
        elementNote(cSats_->elementProvenance(sat.name), cSats_->elementProblem(sat.name),
                    cSats_->datGmtTime(), strAppPath_);
    // Without a position there is nothing to predict either.
    status_->cmdPassInfo->setEnabled(blnLocationKnown_ && status.positionKnown);
    if (status.positionKnown || note.text.contains(status.problem))
        status_->showElementNote(note.text, note.warning);
    else
        status_->showElementNote(status.problem + QStringLiteral("\n") + note.text, true);
}

void frmORVEX::ChangeSat()
{
    intObjIndex_ ^= 1;
    status_->setTitle(MakeLocationCaption() + QStringLiteral(" Current Location"));
    CheckSatUpdate(true);
    if (mfrmMap_)
        mfrmMap_->SatHasChanged();
    if (tracking_)
        tracking_->setCurrent(intObjIndex_);
}

QString frmORVEX::MakeLocationCaption() const
{
    return ::MakeLocationCaption(intObjIndex_, sats_[static_cast<size_t>(intObjIndex_)].name);
}

void frmORVEX::ShowTimeMode()
{
    const bool local = cSats_ && cSats_->blnLocalTime();
    status_->labDueCap->setText(local ? QStringLiteral("Due (local)")
                                      : QStringLiteral("Due (UTC)"));
    mnuUseLocalTime_->setChecked(local);
}

void frmORVEX::toggleUseLocalTime()
{
    cSats_->setBlnLocalTime(!cSats_->blnLocalTime());
    settings_->setUseLocalTime(cSats_->blnLocalTime());
    recordDisplayZone();
    ShowTimeMode();
}

// The monitor and its log print times in the zone shown; a log read back
// needs to know which.
void frmORVEX::recordDisplayZone()
{
    if (database_)
        history::DisplayZones::record(*database_, orvex::Clock::nowUtc().toMSecsSinceEpoch(),
                                      cSats_->blnLocalTime(), orvex::Clock::localZone());
}

void frmORVEX::FindKeps()
{
    ::FindKeps(strAppPath_ + QStringLiteral("Keps"), sats_);
    if (tracking_)
        tracking_->setSatellites(sats_);
    status_->setTitle(MakeLocationCaption() + QStringLiteral(" Current Location"));
}

void frmORVEX::showPassInfo()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    frmPass window(this);
    window.setPassText(cSats_->strPassInfo(strObject()));
    const ElementNote note =
        elementNote(cSats_->elementProvenance(strObject()), cSats_->elementProblem(strObject()),
                    cSats_->datGmtTime(), strAppPath_);
    window.setElementNote(note.text, note.warning);
    window.setWindowTitle(MakeLocationCaption() + QStringLiteral(" Pass Predictions"));
    QApplication::restoreOverrideCursor();
    window.exec();
}
