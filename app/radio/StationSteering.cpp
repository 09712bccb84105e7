// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/StationSteering.h"

#include "orbit/TrackingContext.h"
#include "radio/StatusLines.h"
#include "tracking/PassGeometry.h"

namespace radio {

TrackInput trackOf(TrackingContext &context)
{
    TrackInput input;
    input.pass = [&context](double nowJd) -> std::optional<PassWindow> {
        const QString name = context.trackedName();
        if (name.isEmpty())
            return std::nullopt;
        const tracking::NextPass next = tracking::currentOrNextPass(context.sats(), name, nowJd);
        if (!next.pass)
            return std::nullopt;
        return PassWindow{next.pass->aosJd, next.pass->losJd};
    };
    input.look = [&context](double jd) -> std::optional<LookSample> {
        const std::optional<clsSats::Look> look = context.lookAt(context.currentIndex(), jd);
        if (!look)
            return std::nullopt;
        return LookSample{look->azimuthDeg, look->elevationDeg, look->rangeKm,
                          look->rangeRateKmPerS};
    };
    return input;
}

StationSteering::StationSteering(TrackingContext &context, clsIni &ini, QObject *parent)
    : QObject(parent), context_(context), ini_(ini)
{
    connect(&radio_, &RadioController::changed, this, &StationSteering::changed);
    connect(&rotator_, &RotatorController::changed, this, &StationSteering::changed);
    connect(&context_, &TrackingContext::changed, this, &StationSteering::follow);
    settingsChanged();
}

void StationSteering::settingsChanged()
{
    radio_.setSettings(RadioSettings::load(ini_));
    rotator_.setSettings(RotatorSettings::load(ini_));
    follow();
}

void StationSteering::follow()
{
    const RadioSettings settings = RadioSettings::load(ini_);
    const int satellite = context_.currentIndex();
    const SatelliteFrequencies channels = satellite == 1 ? settings.iss : settings.orvex;
    // Another satellite, or other channels, start afresh; new element sets or
    // a moved station only search the pass again, and the operator's dial
    // offset stays.
    if (!followed_ || followed_->satellite != satellite ||
        followed_->channels.downlinkHz != channels.downlinkHz ||
        followed_->channels.uplinkHz != channels.uplinkHz) {
        followed_ = Followed{satellite, channels};
        radio_.setSatellite(channels, trackOf(context_));
        rotator_.setSatellite(trackOf(context_));
        return;
    }
    radio_.invalidatePass();
    rotator_.invalidatePass();
}

QString StationSteering::radioStatus() const
{
    clsSats &sats = context_.sats();
    return radio_.view().enabled
               ? radioStatusLine(radio_.view(), [&sats](double jd) { return sats.clockText(jd); })
               : QString();
}

QString StationSteering::rotatorStatus() const
{
    clsSats &sats = context_.sats();
    return rotator_.view().enabled
               ? rotatorStatusLine(rotator_.view(),
                                   [&sats](double jd) { return sats.clockText(jd); })
               : QString();
}

} // namespace radio
