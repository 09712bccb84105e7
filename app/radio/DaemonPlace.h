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
// daemon's own keys. The first part of RadioSettings and RotatorSettings.
struct DaemonPlace
{
    bool enabled = false;                       // ENABLED
    QString host = QStringLiteral("127.0.0.1"); // HOST
    int port = 0;                               // PORT
    DaemonSettings daemon;

    static DaemonPlace load(clsIni &ini, const QString &section, int defaultPort);
};

// Starts, stops or restarts the daemon the program runs and opens or closes
// the link so that both match `next`; what `previous` already had is left
// as it is.
void moveTo(const DaemonPlace &previous, const DaemonPlace &next, DaemonRunner &daemon,
            HamlibLink &link);

} // namespace radio
