// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/DaemonSettings.h"

#include <QString>

class clsIni;

namespace radio {

class DaemonRunner;
class HamlibLink;

// Where the radio's or the rotator's daemon is reached and whether the
// program runs it: keys ENABLED, HOST and PORT of the section, and the
// daemon's own keys.
struct DaemonPlace
{
    bool enabled = false;
    QString host;
    int port = 0;
    DaemonSettings daemon;

    static DaemonPlace load(clsIni &ini, const QString &section, int defaultPort);
};

// The place of a RadioSettings or RotatorSettings.
template <class Settings> DaemonPlace placeOf(const Settings &settings)
{
    return {settings.enabled, settings.host, settings.port, settings.daemon};
}

// Starts, stops or restarts the daemon the program runs and opens or closes
// the link so that both match `next`; what `previous` already had is left
// as it is.
void moveTo(const DaemonPlace &previous, const DaemonPlace &next, DaemonRunner &daemon,
            HamlibLink &link);

} // namespace radio
