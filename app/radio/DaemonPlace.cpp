// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/DaemonPlace.h"

#include "radio/DaemonRunner.h"
#include "radio/HamlibLink.h"
#include "shared/clsIni.h"

namespace radio {

DaemonPlace DaemonPlace::load(clsIni &ini, const QString &section, int defaultPort)
{
    DaemonPlace place;
    place.enabled = clsIni::IsItTrue(
        ini.GetIniStringWriteDefault(section, QStringLiteral("ENABLED"), QStringLiteral("FALSE")));
    place.host =
        ini.GetIniStringWriteDefault(section, QStringLiteral("HOST"), QStringLiteral("127.0.0.1"))
            .trimmed();
    if (place.host.isEmpty())
        place.host = QStringLiteral("127.0.0.1");
    place.port = intSetting(ini, section, QStringLiteral("PORT"), defaultPort, 1, 65535);
    place.daemon = DaemonSettings::load(ini, section);
    return place;
}

void moveTo(const DaemonPlace &previous, const DaemonPlace &next, DaemonRunner &daemon,
            HamlibLink &link)
{
    const bool daemonChanged = next.daemon.start != previous.daemon.start ||
                               next.daemon.model != previous.daemon.model ||
                               next.daemon.device != previous.daemon.device ||
                               next.daemon.speed != previous.daemon.speed ||
                               next.port != previous.port || next.enabled != previous.enabled;
    const bool linkChanged =
        daemonChanged || next.host != previous.host || link.state() == HamlibLink::State::Closed;
    const auto port = static_cast<quint16>(next.port);
    if (!next.enabled || !next.daemon.start)
        daemon.stop();
    else if (daemonChanged || !daemon.isRunning())
        daemon.start(next.daemon, port);
    if (!next.enabled)
        link.close();
    else if (linkChanged)
        // A daemon the program runs listens on the loopback interface only.
        link.open(next.daemon.start ? QStringLiteral("127.0.0.1") : next.host, port);
}

} // namespace radio
