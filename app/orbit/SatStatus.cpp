// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/SatStatus.h"

#include "orbit/clsSats.h"

#include <cmath>

namespace {
constexpr qint16 inViewPeriod = 5;
constexpr qint16 outOfViewPeriod = 10;
} // namespace

SatStatus computeSatStatus(clsSats &sats, const QString &satelliteName, bool locationKnown,
                           qint16 currentPeriod)
{
    SatStatus status;
    status.locationKnown = locationKnown;
    status.refreshPeriod = currentPeriod;
    qint16 inView = 0;
    double azimuth = 0, elevation = 0, longitude = 0, latitude = 0, altitude = 0;
    QString nextPass;
    const orbit::Status found =
        sats.GetSatInfo(inView, satelliteName, sats.datGmtTime(), azimuth, elevation, longitude,
                        latitude, status.longitudeText, status.latitudeText, altitude, &nextPass);
    if (!found) {
        status.positionKnown = false;
        status.problem = QStringLiteral("No position of %1: %2")
                             .arg(satelliteName, QString::fromStdString(found.reason()));
        status.latitudeText.clear();
        status.longitudeText.clear();
        status.dueText.clear();
        status.azimuthText.clear();
        status.elevationText.clear();
        return status;
    }
    if (!locationKnown)
        return status;
    status.dueText = nextPass;
    status.inView = inView != 0;
    status.refreshPeriod = status.inView ? inViewPeriod : outOfViewPeriod;
    if (status.inView) {
        status.azimuthText = QString::number(std::lround(azimuth));
        status.elevationText = QString::number(std::lround(elevation));
    }
    return status;
}
