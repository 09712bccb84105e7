// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/DaemonSettings.h"
#include "radio/RotatorPlan.h"

#include <QString>

class clsIni;

namespace radio {

// Settings section ROTATOR: the antenna rotator turned through rotctld.
struct RotatorSettings
{
    bool enabled = false;                       // ENABLED
    QString host = QStringLiteral("127.0.0.1"); // HOST
    int port = 4533;                            // PORT
    double minElevationDeg = 0;                 // MIN_EL: followed above this elevation
    int prepositionSeconds = 60; // PREPOSITION_S: turned to the AOS azimuth this long before AOS
    double parkAzimuthDeg = 0;   // PARK_AZ: where it rests after LOS
    double parkElevationDeg = 0; // PARK_EL
    // AZ_MIN, AZ_MAX, EL_MIN, EL_MAX: the rotator's range, for a daemon
    // whose dump_state does not tell it.
    RotatorLimits limits;
    DaemonSettings daemon;

    static RotatorSettings load(clsIni &ini);
    void save(clsIni &ini) const;
};

} // namespace radio
