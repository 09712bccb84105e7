// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/Passes.h"

#include <QProcessEnvironment>
#include <QString>
#include <optional>
#include <vector>

class clsIni;

// When to warn of a pass and when to run the operator's AOS and LOS
// commands. Plain rules; PassAlarms carries them out.
namespace tracking {

// Settings section ALARM.
struct AlarmSettings
{
    bool enabled = false;
    int leadMinutes = 5;         // LEAD_MIN: the warning comes this long before AOS
    double minElevationDeg = 10; // MIN_EL: lower passes raise nothing
    QString aosCommand;          // AOS_COMMAND, run at AOS less the margin
    QString losCommand;          // LOS_COMMAND, run at LOS plus the margin
    int marginSeconds = 0;       // MARGIN_S

    static AlarmSettings load(clsIni &ini);
    void save(clsIni &ini) const;
};

enum class AlarmKind { Warning, AosCommand, LosCommand };

struct AlarmEvent
{
    AlarmKind kind = AlarmKind::Warning;
    double dueJd = 0; // Julian date UTC
    orbit::Pass pass;
};

// Every event of the passes that reach the minimum elevation, by time. A
// pass whose commands have no text raises only its warning.
std::vector<AlarmEvent> planAlarms(const std::vector<orbit::Pass> &passes,
                                   const AlarmSettings &settings);

// The events due in (afterJd, nowJd]: those whose time came since the last
// look. An event more than `staleSeconds` late is dropped, so that a machine
// waking from sleep does not run an hour-old AOS command.
std::vector<AlarmEvent> dueAlarms(const std::vector<AlarmEvent> &plan, double afterJd, double nowJd,
                                  double staleSeconds = 60);

// The warnings whose time has come by `nowJd` while their pass is still to
// rise: a plan made inside a pass's lead time (new element sets that reveal
// the pass, another satellite, a longer lead) warns of it at once.
std::vector<AlarmEvent> lateWarnings(const std::vector<AlarmEvent> &plan, double nowJd);

// The passes warned of, so that each pass is warned of once, even when new
// element sets move its AOS a little.
class WarnedPasses
{
public:
    // Two AOS of one satellite closer than this are one pass: a low orbit
    // rises at most once in 80 minutes.
    static constexpr double samePassDays = 30.0 / 1440;

    bool contains(const QString &satellite, double aosJd) const;
    void add(const QString &satellite, double aosJd);
    // Forgets the passes that rose before `jd` (Julian date UTC).
    void forgetBefore(double jd);

private:
    struct Warned
    {
        QString satellite;
        double aosJd = 0;
    };
    std::vector<Warned> passes_;
};

// "YYYY-MM-DDTHH:MM:SSZ" of a Julian date UTC, rounded to the second.
QString isoSecondText(double jd);

// The environment of an AOS or LOS command: ORVEX_SAT, ORVEX_AOS, ORVEX_LOS,
// ORVEX_MAXEL and ORVEX_AOS_AZ added to `base`.
QProcessEnvironment commandEnvironment(const QProcessEnvironment &base, const QString &satellite,
                                       const orbit::Pass &pass);

// The warning's text: "ISS (ZARYA) rises in 5 min at 09:25:17 UTC, azimuth
// 209°, up to 32°."
QString warningText(const QString &satellite, const orbit::Pass &pass, double nowJd,
                    const QString &aosTimeText);

} // namespace tracking
