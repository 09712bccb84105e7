// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/DaemonSettings.h"

#include "shared/clsIni.h"

namespace radio {

int intSetting(clsIni &ini, const QString &section, const QString &key, int fallback, int low,
               int high)
{
    bool ok = false;
    const int value =
        ini.GetIniStringWriteDefault(section, key, QString::number(fallback)).trimmed().toInt(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

double numberSetting(clsIni &ini, const QString &section, const QString &key, double fallback,
                     double low, double high)
{
    bool ok = false;
    const double value =
        ini.GetIniStringWriteDefault(section, key, QString::number(fallback, 'g', 12))
            .trimmed()
            .toDouble(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

DaemonSettings DaemonSettings::load(clsIni &ini, const QString &section)
{
    DaemonSettings settings;
    settings.start = clsIni::IsItTrue(ini.GetIniStringWriteDefault(
        section, QStringLiteral("START_DAEMON"), QStringLiteral("FALSE")));
    settings.model = intSetting(ini, section, QStringLiteral("MODEL"), 1, 1, 999999);
    settings.device =
        ini.GetIniStringWriteDefault(section, QStringLiteral("DEVICE"), QString()).trimmed();
    settings.speed = intSetting(ini, section, QStringLiteral("SPEED"), 0, 0, 10000000);
    return settings;
}

void DaemonSettings::save(clsIni &ini, const QString &section) const
{
    ini.SaveIniStrings(section, {{QStringLiteral("START_DAEMON"), clsIni::TrueOrFalse(start)},
                                 {QStringLiteral("MODEL"), QString::number(model)},
                                 {QStringLiteral("DEVICE"), device},
                                 {QStringLiteral("SPEED"), QString::number(speed)}});
}

QStringList daemonArguments(const DaemonSettings &settings, quint16 port)
{
    QStringList arguments{QStringLiteral("-m"), QString::number(settings.model)};
    if (!settings.device.isEmpty())
        arguments << QStringLiteral("-r") << settings.device;
    if (settings.speed > 0)
        arguments << QStringLiteral("-s") << QString::number(settings.speed);
    arguments << QStringLiteral("-T") << QStringLiteral("127.0.0.1") << QStringLiteral("-t")
              << QString::number(port);
    return arguments;
}

} // namespace radio
