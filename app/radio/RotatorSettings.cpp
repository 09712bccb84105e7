// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RotatorSettings.h"

#include "shared/clsIni.h"

namespace radio {

namespace {
const QString section = QStringLiteral("ROTATOR");

QString degreesText(double degrees)
{
    return QString::number(degrees, 'g', 6);
}
} // namespace

RotatorSettings RotatorSettings::load(clsIni &ini)
{
    RotatorSettings settings;
    static_cast<DaemonPlace &>(settings) = DaemonPlace::load(ini, section, 4533);
    settings.minElevationDeg = numberSetting(ini, section, QStringLiteral("MIN_EL"), 0, 0, 90);
    settings.prepositionSeconds =
        intSetting(ini, section, QStringLiteral("PREPOSITION_S"), 60, 0, 3600);
    settings.parkAzimuthDeg = numberSetting(ini, section, QStringLiteral("PARK_AZ"), 0, -360, 720);
    settings.parkElevationDeg = numberSetting(ini, section, QStringLiteral("PARK_EL"), 0, -90, 180);
    RotatorLimits limits;
    limits.minAzimuthDeg = numberSetting(ini, section, QStringLiteral("AZ_MIN"), 0, -360, 360);
    limits.maxAzimuthDeg = numberSetting(ini, section, QStringLiteral("AZ_MAX"), 360, 0, 720);
    limits.minElevationDeg = numberSetting(ini, section, QStringLiteral("EL_MIN"), 0, -90, 90);
    limits.maxElevationDeg = numberSetting(ini, section, QStringLiteral("EL_MAX"), 90, 0, 180);
    // A range that is not one keeps the usual 0..360, 0..90.
    if (limits.maxAzimuthDeg - limits.minAzimuthDeg >= 1 &&
        limits.maxElevationDeg - limits.minElevationDeg >= 1)
        settings.limits = limits;
    return settings;
}

void RotatorSettings::save(clsIni &ini) const
{
    ini.SaveIniStrings(section,
                       {{QStringLiteral("ENABLED"), clsIni::TrueOrFalse(enabled)},
                        {QStringLiteral("HOST"), host},
                        {QStringLiteral("PORT"), QString::number(port)},
                        {QStringLiteral("MIN_EL"), degreesText(minElevationDeg)},
                        {QStringLiteral("PREPOSITION_S"), QString::number(prepositionSeconds)},
                        {QStringLiteral("PARK_AZ"), degreesText(parkAzimuthDeg)},
                        {QStringLiteral("PARK_EL"), degreesText(parkElevationDeg)},
                        {QStringLiteral("AZ_MIN"), degreesText(limits.minAzimuthDeg)},
                        {QStringLiteral("AZ_MAX"), degreesText(limits.maxAzimuthDeg)},
                        {QStringLiteral("EL_MIN"), degreesText(limits.minElevationDeg)},
                        {QStringLiteral("EL_MAX"), degreesText(limits.maxElevationDeg)}});
    daemon.save(ini, section);
}

} // namespace radio
