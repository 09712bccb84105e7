// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/DopplerTuning.h"

#include "orbitengine/Doppler.h"
#include "shared/clsIni.h"

namespace tracking {

namespace {
const QString section = QStringLiteral("RADIO");
// Where the sky view kept one pair of channels before the radio kept each satellite's.
const QString olderSection = QStringLiteral("SKYVIEW");

QString key(int satellite, const char *channel)
{
    return QLatin1String(satellite == 1 ? "ISS_" : "ORVEX_") + QLatin1String(channel);
}

double readHz(clsIni &ini, int satellite, const char *channel, const char *olderKey)
{
    bool ok = false;
    const double older =
        ini.GetIniString(olderSection, QLatin1String(olderKey), QString()).trimmed().toDouble(&ok) *
        1e6;
    const double fallback =
        ok && older >= DopplerTuning::lowestHz && older <= DopplerTuning::highestHz
            ? older
            : DopplerTuning::defaultHz;
    const double value = ini.GetIniStringWriteDefault(section, key(satellite, channel),
                                                      QString::number(fallback, 'f', 0))
                             .trimmed()
                             .toDouble(&ok);
    return ok && value >= DopplerTuning::lowestHz && value <= DopplerTuning::highestHz ? value
                                                                                       : fallback;
}
} // namespace

Tuning DopplerTuning::at(double rangeRateKmPerS) const
{
    return {downlinkHz_, uplinkHz_,
            downlinkHz_ + orbit::downlinkShiftHz(downlinkHz_, rangeRateKmPerS),
            orbit::uplinkFrequencyHz(uplinkHz_, rangeRateKmPerS)};
}

DopplerTuning DopplerTuning::load(clsIni &ini, int satellite)
{
    return {readHz(ini, satellite, "DOWNLINK_HZ", "DOWNLINK_MHZ"),
            readHz(ini, satellite, "UPLINK_HZ", "UPLINK_MHZ")};
}

void DopplerTuning::save(clsIni &ini, int satellite) const
{
    ini.SaveIniStrings(section,
                       {{key(satellite, "DOWNLINK_HZ"), QString::number(downlinkHz_, 'f', 0)},
                        {key(satellite, "UPLINK_HZ"), QString::number(uplinkHz_, 'f', 0)}});
}

} // namespace tracking
