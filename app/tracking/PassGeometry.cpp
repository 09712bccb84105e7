// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/PassGeometry.h"

#include <algorithm>

namespace tracking {

namespace {
constexpr double secondsPerDay = 86400.0;
// A pass under way at the start of a search is not listed: search from far
// enough back to include it (the longest passes of low and medium orbits).
constexpr double lookBackDays = 0.5;
} // namespace

NextPass currentOrNextPass(orbit::OrbitEngine &engine, const std::string &name, double nowJd,
                           double horizonDays)
{
    NextPass result;
    const orbit::PassSearch search =
        engine.findPasses(name, nowJd - lookBackDays, nowJd + horizonDays);
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

std::vector<orbit::Pass> passesFrom(orbit::OrbitEngine &engine, const std::string &name,
                                    double fromJd, double days)
{
    orbit::PassSearch search = engine.findPasses(name, fromJd, fromJd + days);
    if (!search.status)
        return {};
    return std::move(search.passes);
}

std::vector<SkyPoint> skyTrack(orbit::OrbitEngine &engine, const std::string &name,
                               const orbit::Pass &pass, double stepSeconds)
{
    std::vector<SkyPoint> points;
    const double step = std::max(stepSeconds, 0.1) / secondsPerDay;
    auto add = [&](double jd) {
        orbit::Position position;
        if (engine.GetPosition(name, jd, position))
            points.push_back(
                {jd, position.azimuth * orbit::radToDeg, position.elevation * orbit::radToDeg});
    };
    for (double jd = pass.aosJd; jd < pass.losJd; jd += step)
        add(jd);
    add(pass.losJd);
    return points;
}

std::optional<orbit::RangeRate> rangeRateAt(orbit::OrbitEngine &engine, const std::string &name,
                                            double jd)
{
    orbit::RangeRate range;
    if (!engine.GetRangeRate(name, jd, range))
        return std::nullopt;
    return range;
}

} // namespace tracking
