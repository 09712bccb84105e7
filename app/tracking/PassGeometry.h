// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbit/clsSats.h"

#include <optional>
#include <vector>

// What the sky view and the pass alarms need of one satellite's passes over
// the station: the pass under way or coming, its track across the sky, and
// the range rate with the Doppler shift it causes.
namespace tracking {

// One point of a pass's track: Julian date UTC, degrees.
struct SkyPoint
{
    double jd = 0;
    double azimuthDeg = 0; // from north through east, [0, 360)
    double elevationDeg = 0;
};

struct NextPass
{
    orbit::Status status;
    orbit::Visibility visibility = orbit::Visibility::Passes;
    std::optional<orbit::Pass> pass; // under way at nowJd, else the next one
};

// The pass under way at `nowJd` (Julian date UTC), else the first one that
// begins within `horizonDays` after it.
NextPass currentOrNextPass(clsSats &sats, const QString &name, double nowJd,
                           double horizonDays = 2.0);

// The passes whose AOS lies in [fromJd, fromJd + days].
std::vector<orbit::Pass> passesFrom(clsSats &sats, const QString &name, double fromJd, double days);

// Points from AOS to LOS, every `stepSeconds`, with AOS and LOS themselves.
std::vector<SkyPoint> skyTrack(clsSats &sats, const QString &name, const orbit::Pass &pass,
                               double stepSeconds = 10.0);

} // namespace tracking
