// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/FrequencyHold.h"

#include "radio/TrackInput.h"
#include "tracking/DopplerTuning.h"

#include <algorithm>

namespace radio {

namespace {
constexpr double toleranceRatio = 20.0 / 146e6;
constexpr double stepSeconds = 0.25;
} // namespace

TunedFrequencies dopplerTuned(double downlinkHz, double uplinkHz, double rangeRateKmPerS)
{
    const tracking::Tuning tuning =
        tracking::DopplerTuning(downlinkHz, uplinkHz).at(rangeRateKmPerS);
    return {tuning.receiveHz, tuning.transmitHz};
}

double toleranceHz(double frequencyHz)
{
    return frequencyHz * toleranceRatio;
}

std::optional<Hold> holdFrom(const std::function<std::optional<double>(double jd)> &wantedHz,
                             double fromJd, double toleranceHz, double longestSeconds)
{
    const std::optional<double> first = wantedHz(fromJd);
    if (!first)
        return std::nullopt;
    double low = *first;
    double high = *first;
    double heldSeconds = 0;
    while (heldSeconds < longestSeconds) {
        const std::optional<double> next =
            wantedHz(fromJd + (heldSeconds + stepSeconds) / secondsPerDay);
        if (!next)
            break;
        const double newLow = std::min(low, *next);
        const double newHigh = std::max(high, *next);
        if (newHigh - newLow > 2 * toleranceHz)
            break;
        low = newLow;
        high = newHigh;
        heldSeconds += stepSeconds;
    }
    return Hold{(low + high) / 2, fromJd + heldSeconds / secondsPerDay};
}

} // namespace radio
