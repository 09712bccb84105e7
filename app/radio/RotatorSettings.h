// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/DaemonPlace.h"
#include "radio/RotatorPlan.h"

#include <QString>

class clsIni;

namespace radio {

// Settings section ROTATOR: the antenna rotator turned through rotctld.
struct RotatorSettings : DaemonPlace
{
    RotatorSettings() { port = 4533; }
    double minElevationDeg = 0;  // MIN_EL: followed above this elevation
    int prepositionSeconds = 60; // PREPOSITION_S: turned to the AOS azimuth this long before AOS
    double parkAzimuthDeg = 0;   // PARK_AZ: where it rests after LOS
    double parkElevationDeg = 0; // PARK_EL
    // AZ_MIN, AZ_MAX, EL_MIN, EL_MAX: the rotator's range, for a daemon
    // whose dump_state does not tell it.
    RotatorLimits limits;

    static RotatorSettings load(clsIni &ini);
    void save(clsIni &ini) const;
};

} // namespace radio
