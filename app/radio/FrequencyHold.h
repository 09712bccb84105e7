// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <functional>
#include <optional>

// The frequencies a radio is set to so that it meets the satellite's: the
// downlink as the station receives it, the uplink as it must be sent.
namespace radio {

struct TunedFrequencies
{
    double downlinkHz = 0; // the satellite's downlink as heard here
    double uplinkHz = 0;   // sent here so that the satellite hears its uplink
};

// The frequencies of tracking::DopplerTuning, the one model of the Doppler
// correction, which the sky view shows too: downlink f(1 - rdot/c), uplink
// f(1 + rdot/c) to first order (range rate in km/s, positive receding).
TunedFrequencies dopplerTuned(double downlinkHz, double uplinkHz, double rangeRateKmPerS);

// How far the radio may be from the computed frequency: 20 Hz at 145 MHz,
// 60 Hz at 437 MHz, in proportion to the frequency.
double toleranceHz(double frequencyHz);

struct Hold
{
    double valueHz = 0; // to be set now
    double untilJd = 0; // Julian date UTC until which it stays within the tolerance
};

// The value that stays within `toleranceHz` of the wanted frequency for the
// longest time from `fromJd` (up to `longestSeconds`): the middle of what is
// wanted over that time, so that a value set now serves until the frequency
// has moved twice the tolerance. Nothing when the first value is unknown.
std::optional<Hold> holdFrom(const std::function<std::optional<double>(double jd)> &wantedHz,
                             double fromJd, double toleranceHz, double longestSeconds = 30);

} // namespace radio
