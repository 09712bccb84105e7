// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RadioSettings.h"

#include "shared/clsIni.h"
#include "tracking/DopplerTuning.h"

namespace radio {

namespace {
const QString section = QStringLiteral("RADIO");

// The channels are the tuning model's, which the sky view shows too.
SatelliteFrequencies frequencies(clsIni &ini, int satellite)
{
    const tracking::DopplerTuning tuning = tracking::DopplerTuning::load(ini, satellite);
    return {tuning.downlinkHz(), tuning.uplinkHz()};
}

void save(clsIni &ini, int satellite, const SatelliteFrequencies &channels)
{
    tracking::DopplerTuning(channels.downlinkHz, channels.uplinkHz).save(ini, satellite);
}
} // namespace

RadioSettings RadioSettings::load(clsIni &ini)
{
    RadioSettings settings;
    static_cast<DaemonPlace &>(settings) = DaemonPlace::load(ini, section, 4532);
    const QString mode =
        ini.GetIniStringWriteDefault(section, QStringLiteral("MODE"), QStringLiteral("RX"))
            .trimmed()
            .toUpper();
    settings.mode = mode == QLatin1String("SPLIT") ? RadioMode::Split : RadioMode::Rx;
    settings.orvex = frequencies(ini, 0);
    settings.iss = frequencies(ini, 1);
    return settings;
}

void RadioSettings::save(clsIni &ini) const
{
    ini.SaveIniStrings(section,
                       {{QStringLiteral("ENABLED"), clsIni::TrueOrFalse(enabled)},
                        {QStringLiteral("HOST"), host},
                        {QStringLiteral("PORT"), QString::number(port)},
                        {QStringLiteral("MODE"), mode == RadioMode::Split ? QStringLiteral("SPLIT")
                                                                          : QStringLiteral("RX")}});
    radio::save(ini, 0, orvex);
    radio::save(ini, 1, iss);
    daemon.save(ini, section);
}

} // namespace radio
