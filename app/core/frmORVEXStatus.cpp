// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's satellite status panel and satellite choice.
#include "core/SatStatusPanel.h"
#include "core/frmORVEX.h"
#include "map/frmMap.h"
#include "orbit/DemoElements.h"
#include "orbit/clsSats.h"
#include "orbit/frmPass.h"
#include "settings/clsIni.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <cmath>

void frmORVEX::ApplyStationLocation()
{
    blnLocationKnown_ = dblLat_ != 0 && dblLong_ != 0;
    status_->cmdPassInfo->setEnabled(blnLocationKnown_);
    if (!blnLocationKnown_) {
        status_->labAz->setText(QStringLiteral("-"));
        status_->labEl->setText(QStringLiteral("-"));
        status_->labDue->setText(QStringLiteral("-"));
    }
    if (cSats_) {
        cSats_->setDblObsLat(dblLat_);
        cSats_->setDblObsLong(dblLong_);
    }
    trackingChanged();
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
    qint16 inView = 0;
    double azimuth = 0, elevation = 0, longitude = 0, latitude = 0, altitude = 0;
    QString longitudeText, latitudeText, nextPass;
    cSats_->GetSatInfo(inView, sat.name, cSats_->datGmtTime(), azimuth, elevation, longitude,
                       latitude, longitudeText, latitudeText, altitude, &nextPass);
    status_->labLat->setText(latitudeText);
    status_->labLong->setText(longitudeText);
    const ElementNote note =
        elementNote(cSats_->elementProvenance(sat.name), cSats_->elementProblem(sat.name),
                    cSats_->datGmtTime(), strAppPath_);
    status_->showElementNote(note.text, note.warning);
    if (!blnLocationKnown_)
        return;
    status_->labDue->setText(nextPass);
    if (inView) {
        sat.refreshPeriod = 5;
        if (!status_->hasInViewColour())
            status_->setInViewColour(true);
        status_->labAz->setText(QString::number(std::lround(azimuth)));
        status_->labEl->setText(QString::number(std::lround(elevation)));
    } else {
        sat.refreshPeriod = 10;
        if (status_->hasInViewColour())
            status_->setInViewColour(false);
        status_->labAz->setText(QStringLiteral("-"));
        status_->labEl->setText(QStringLiteral("-"));
    }
}

void frmORVEX::ChangeSat()
{
    intObjIndex_ ^= 1;
    status_->setTitle(MakeLocationCaption() + QStringLiteral(" Current Location"));
    CheckSatUpdate(true);
    if (mfrmMap_)
        mfrmMap_->SatHasChanged();
    trackingChanged();
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
    cIni_->SaveIniString(QStringLiteral("SETUP"), QStringLiteral("USE_LOCAL_TIME"),
                         clsIni::TrueOrFalse(cSats_->blnLocalTime()));
    ShowTimeMode();
}

void frmORVEX::FindKeps()
{
    for (SatObject &sat : sats_)
        sat.elementSetFound = false;
    const QDir keps(strAppPath_ + QStringLiteral("Keps"));
    const QStringList files = keps.entryList(QDir::Files, QDir::Name);
    // The demo station's invented sets name only what no other file holds.
    QStringList demoFiles;
    for (const QString &file : files) {
        if (isDemoElementFile(keps.filePath(file))) {
            demoFiles << file;
            continue;
        }
        ScanKepsFile(keps.filePath(file));
        if (blnAllKepsFound(sats_))
            break;
    }
    for (const QString &file : demoFiles) {
        if (blnAllKepsFound(sats_))
            break;
        const SatTable before = sats_;
        ScanKepsFile(keps.filePath(file));
        for (size_t i = 0; i < sats_.size(); ++i)
            if (before[i].elementSetFound)
                sats_[i] = before[i];
    }
    status_->setTitle(MakeLocationCaption() + QStringLiteral(" Current Location"));
}

void frmORVEX::ScanKepsFile(const QString &path)
{
    // Regular files only: the listing also passes links, and opening a FIFO
    // (or a device) would wait for a writer that never comes.
    if (!QFileInfo(path).isFile())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // Block by block, so that a huge file costs no more memory than a small one.
    constexpr qint64 blockSize = 64 * 1024;
    KepsScanner scanner(sats_);
    for (QByteArray block = file.read(blockSize); !block.isEmpty(); block = file.read(blockSize))
        scanner.feed(QString::fromLatin1(block));
    scanner.finish();
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
