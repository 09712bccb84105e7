// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class clsIni;

namespace radio {

// Whether the program runs the Hamlib daemon itself, and for which device:
// keys START_DAEMON, MODEL, DEVICE and SPEED of the RADIO or ROTATOR section.
struct DaemonSettings
{
    bool start = false; // START_DAEMON
    int model = 1;      // MODEL: Hamlib's model number; 1 is its dummy
    QString device;     // DEVICE: serial port (/dev/ttyUSB0), or host:port for a network model
    int speed = 0;      // SPEED: bits per second; 0 leaves the model's own

    static DaemonSettings load(clsIni &ini, const QString &section);
    void save(clsIni &ini, const QString &section) const;
};

// The daemon's arguments: "-m MODEL [-r DEVICE] [-s SPEED] -T 127.0.0.1 -t
// PORT". It listens on the loopback interface only.
QStringList daemonArguments(const DaemonSettings &settings, quint16 port);

// Reading settings: an integer in [low, high], else `fallback`.
int intSetting(clsIni &ini, const QString &section, const QString &key, int fallback, int low,
               int high);
double numberSetting(clsIni &ini, const QString &section, const QString &key, double fallback,
                     double low, double high);

} // namespace radio
