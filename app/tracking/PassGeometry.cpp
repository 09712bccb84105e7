// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/PassGeometry.h"

#include "platform/DateTime.h"

#include <algorithm>

namespace tracking {

namespace {
using orvex::secondsPerDay;
// A pass under way at the start of a search is not listed: search from far
// enough back to include it (the longest passes of low and medium orbits).
constexpr double lookBackDays = 0.5;
} // namespace

NextPass currentOrNextPass(clsSats &sats, const QString &name, double nowJd, double horizonDays)
{
    NextPass result;
    const orbit::PassSearch search = sats.passes(name, nowJd - lookBackDays, nowJd + horizonDays);
    result.status = search.status;
    result.visibility = search.visibility;
    if (!search.status)
        return result;
    const auto found =
        std::find_if(search.passes.begin(), search.passes.end(),
                     [nowJd](const orbit::Pass &pass) { return pass.losJd > nowJd; });
    if (found != search.passes.end())
        result.pass = *found;
    return result;
}

std::vector<orbit::Pass> passesFrom(clsSats &sats, const QString &name, double fromJd, double days)
{
    orbit::PassSearch search = sats.passes(name, fromJd, fromJd + days);
    if (!search.status)
        return {};
    return std::move(search.passes);
}

std::vector<SkyPoint> skyTrack(clsSats &sats, const QString &name, const orbit::Pass &pass,
                               double stepSeconds)
{
    std::vector<SkyPoint> points;
    const double step = std::max(stepSeconds, 0.1) / secondsPerDay;
    auto add = [&](double jd) {
        if (const std::optional<clsSats::Look> look = sats.lookAt(name, jd))
            points.push_back({jd, look->azimuthDeg, look->elevationDeg});
    };
    for (double jd = pass.aosJd; jd < pass.losJd; jd += step)
        add(jd);
    add(pass.losJd);
    return points;
}

} // namespace tracking
