// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/DaemonPlace.h"
#include "tracking/DopplerTuning.h"

#include <QString>

class clsIni;

namespace radio {

enum class RadioMode {
    Rx,   // RX: the downlink on the current VFO
    Split // SPLIT: the downlink on the VFO, the uplink as the split transmit frequency
};

// A satellite's frequencies, Hz, as the satellite sends and hears them.
struct SatelliteFrequencies
{
    double downlinkHz = 145825000;
    double uplinkHz = 145825000;
};

// Settings section RADIO: the radio tuned through rigctld.
struct RadioSettings : DaemonPlace
{
    RadioSettings() { port = 4532; }
    RadioMode mode = RadioMode::Rx; // MODE: RX or SPLIT
    // ORVEX_DOWNLINK_HZ, ORVEX_UPLINK_HZ, ISS_DOWNLINK_HZ, ISS_UPLINK_HZ:
    // the channels of tracking::DopplerTuning, which keeps them.
    SatelliteFrequencies orvex;
    SatelliteFrequencies iss;

    static RadioSettings load(clsIni &ini);
    void save(clsIni &ini) const;
};

// Frequencies the settings take, Hz.
inline constexpr double lowestFrequencyHz = tracking::DopplerTuning::lowestHz;
inline constexpr double highestFrequencyHz = tracking::DopplerTuning::highestHz;

} // namespace radio
