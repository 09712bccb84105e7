// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/PassAlarmPlan.h"

#include "platform/DateTime.h"
#include "shared/clsIni.h"

#include <algorithm>
#include <cmath>

namespace tracking {

namespace {
using orvex::secondsPerDay;
const QString section = QStringLiteral("ALARM");

int intSetting(clsIni &ini, const QString &key, int fallback, int low, int high)
{
    bool ok = false;
    const int value =
        ini.GetIniStringWriteDefault(section, key, QString::number(fallback)).trimmed().toInt(&ok);
    return ok ? std::clamp(value, low, high) : fallback;
}
} // namespace

AlarmSettings AlarmSettings::load(clsIni &ini)
{
    AlarmSettings settings;
    settings.enabled = clsIni::IsItTrue(
        ini.GetIniStringWriteDefault(section, QStringLiteral("ENABLED"), QStringLiteral("FALSE")));
    settings.leadMinutes = intSetting(ini, QStringLiteral("LEAD_MIN"), 5, 0, 24 * 60);
    settings.minElevationDeg = intSetting(ini, QStringLiteral("MIN_EL"), 10, 0, 90);
    settings.aosCommand = ini.GetIniString(section, QStringLiteral("AOS_COMMAND"), QString());
    settings.losCommand = ini.GetIniString(section, QStringLiteral("LOS_COMMAND"), QString());
    settings.marginSeconds = intSetting(ini, QStringLiteral("MARGIN_S"), 0, 0, 3600);
    return settings;
}

void AlarmSettings::save(clsIni &ini) const
{
    ini.SaveIniString(section, QStringLiteral("ENABLED"), clsIni::TrueOrFalse(enabled));
    ini.SaveIniString(section, QStringLiteral("LEAD_MIN"), QString::number(leadMinutes));
    ini.SaveIniString(section, QStringLiteral("MIN_EL"),
                      QString::number(static_cast<int>(std::lround(minElevationDeg))));
    ini.SaveIniString(section, QStringLiteral("AOS_COMMAND"), aosCommand);
    ini.SaveIniString(section, QStringLiteral("LOS_COMMAND"), losCommand);
    ini.SaveIniString(section, QStringLiteral("MARGIN_S"), QString::number(marginSeconds));
}

std::vector<AlarmEvent> planAlarms(const std::vector<orbit::Pass> &passes,
                                   const AlarmSettings &settings)
{
    std::vector<AlarmEvent> plan;
    if (!settings.enabled)
        return plan;
    const double margin = settings.marginSeconds / secondsPerDay;
    for (const orbit::Pass &pass : passes) {
        if (pass.maxElevationDeg < settings.minElevationDeg)
            continue;
        plan.push_back(
            {AlarmKind::Warning, pass.aosJd - settings.leadMinutes * 60 / secondsPerDay, pass});
        if (!settings.aosCommand.trimmed().isEmpty())
            plan.push_back({AlarmKind::AosCommand, pass.aosJd - margin, pass});
        if (!settings.losCommand.trimmed().isEmpty())
            plan.push_back({AlarmKind::LosCommand, pass.losJd + margin, pass});
    }
    std::stable_sort(plan.begin(), plan.end(),
                     [](const AlarmEvent &a, const AlarmEvent &b) { return a.dueJd < b.dueJd; });
    return plan;
}

std::vector<AlarmEvent> dueAlarms(const std::vector<AlarmEvent> &plan, double afterJd, double nowJd,
                                  double staleSeconds)
{
    std::vector<AlarmEvent> due;
    const double oldest = std::max(afterJd, nowJd - staleSeconds / secondsPerDay);
    for (const AlarmEvent &event : plan) {
        if (event.dueJd > oldest && event.dueJd <= nowJd)
            due.push_back(event);
    }
    return due;
}

std::vector<AlarmEvent> lateWarnings(const std::vector<AlarmEvent> &plan, double nowJd)
{
    std::vector<AlarmEvent> late;
    for (const AlarmEvent &event : plan) {
        if (event.kind == AlarmKind::Warning && event.dueJd <= nowJd && nowJd < event.pass.aosJd)
            late.push_back(event);
    }
    return late;
}

bool WarnedPasses::contains(const QString &satellite, double aosJd) const
{
    return std::any_of(passes_.begin(), passes_.end(), [&](const Warned &pass) {
        return pass.satellite == satellite && std::abs(pass.aosJd - aosJd) < samePassDays;
    });
}

void WarnedPasses::add(const QString &satellite, double aosJd)
{
    passes_.push_back({satellite, aosJd});
}

void WarnedPasses::forgetBefore(double jd)
{
    std::erase_if(passes_, [jd](const Warned &pass) { return pass.aosJd < jd; });
}

QString isoSecondText(double jd)
{
    const qint64 wholeSeconds =
        std::llround(static_cast<double>(orvex::unixMsOfJulianDate(jd)) / 1000.0);
    return orvex::UtcText::text(wholeSeconds * 1000, orvex::UtcText::Style::IsoSeconds);
}

QProcessEnvironment commandEnvironment(const QProcessEnvironment &base, const QString &satellite,
                                       const orbit::Pass &pass)
{
    QProcessEnvironment environment = base;
    environment.insert(QStringLiteral("ORVEX_SAT"), satellite);
    environment.insert(QStringLiteral("ORVEX_AOS"), isoSecondText(pass.aosJd));
    environment.insert(QStringLiteral("ORVEX_LOS"), isoSecondText(pass.losJd));
    environment.insert(QStringLiteral("ORVEX_MAXEL"),
                       QString::number(pass.maxElevationDeg, 'f', 1));
    environment.insert(QStringLiteral("ORVEX_AOS_AZ"), QString::number(pass.aosAzimuthDeg, 'f', 1));
    return environment;
}

QString warningText(const QString &satellite, const orbit::Pass &pass, double nowJd,
                    const QString &aosTimeText)
{
    const int minutes =
        std::max(0, static_cast<int>(std::lround((pass.aosJd - nowJd) * secondsPerDay / 60)));
    return QStringLiteral("%1 rises in %2 min at %3, azimuth %4°, up to %5°.")
        .arg(satellite)
        .arg(minutes)
        .arg(aosTimeText)
        .arg(std::lround(pass.aosAzimuthDeg))
        .arg(std::lround(pass.maxElevationDeg));
}

} // namespace tracking
