// SPDX-License-Identifier: GPL-2.0-or-later
#include "radio/RotatorPlan.h"

#include <algorithm>
#include <cmath>

namespace radio {

namespace {
constexpr double slackDeg = 1e-6;

double normalized(double azimuthDeg)
{
    const double turned = std::fmod(azimuthDeg, 360.0);
    return turned < 0 ? turned + 360.0 : turned;
}

// The turn of the range preferred for azimuths: 0 to 360 when the range
// holds it, so that a rotator that can count west as negative still gets
// the usual azimuths; else the first turn from its lowest azimuth.
std::pair<double, double> firstTurn(const RotatorLimits &limits)
{
    if (limits.minAzimuthDeg <= slackDeg && limits.maxAzimuthDeg >= 360 - slackDeg)
        return {0.0, 360.0};
    return {limits.minAzimuthDeg, std::min(limits.maxAzimuthDeg, limits.minAzimuthDeg + 360)};
}

// The track's azimuths (flipped or not) as one continuous run, starting in [0, 360).
std::vector<double> unwrapped(const std::vector<TrackPoint> &track, bool flip)
{
    std::vector<double> run;
    run.reserve(track.size());
    double previous = 0;
    for (const TrackPoint &point : track) {
        const double azimuth = normalized(point.azimuthDeg + (flip ? 180.0 : 0.0));
        if (run.empty())
            run.push_back(azimuth);
        else
            run.push_back(run.back() + std::remainder(azimuth - previous, 360.0));
        previous = azimuth;
    }
    return run;
}

struct Candidate
{
    bool flip = false;
    double shift = 0; // whole turns added to the run
    std::size_t inside = 0;
    bool fits = false;
    bool inFirstTurn = false;
    double start = 0; // the first azimuth, shifted
};

Candidate judge(const std::vector<double> &run, bool flip, double shift,
                const RotatorLimits &limits)
{
    const auto [turnLow, turnHigh] = firstTurn(limits);
    Candidate candidate{flip, shift, 0, false, false, run.front() + shift};
    const auto [lowest, highest] = std::minmax_element(run.begin(), run.end());
    for (const double azimuth : run)
        if (azimuth + shift >= limits.minAzimuthDeg - slackDeg &&
            azimuth + shift <= limits.maxAzimuthDeg + slackDeg)
            ++candidate.inside;
    candidate.fits = candidate.inside == run.size();
    candidate.inFirstTurn =
        *lowest + shift >= turnLow - slackDeg && *highest + shift <= turnHigh + slackDeg;
    return candidate;
}

RotatorPlan makePlan(const std::vector<TrackPoint> &track, const RotatorLimits &limits,
                     const Candidate &chosen, PlanKind kind)
{
    RotatorPlan plan;
    plan.kind = kind;
    plan.flip = chosen.flip;
    plan.limits = limits;
    const std::vector<double> run = unwrapped(track, chosen.flip);
    plan.path.reserve(track.size());
    for (std::size_t i = 0; i < track.size(); ++i)
        plan.path.emplace_back(track[i].jd, run[i] + chosen.shift);
    return plan;
}
} // namespace

RotatorPlan planPass(const std::vector<TrackPoint> &track, const RotatorLimits &limits,
                     std::optional<double> fromAzimuthDeg)
{
    if (track.empty()) {
        RotatorPlan plan;
        plan.limits = limits;
        return plan;
    }
    const bool canFlip = limits.maxElevationDeg >= 180 - 0.5 && limits.minElevationDeg <= 0.5;
    std::vector<Candidate> candidates;
    for (const bool flip : {false, true}) {
        if (flip && !canFlip)
            continue;
        const std::vector<double> run = unwrapped(track, flip);
        // Shifts in the order tried: the run as it starts in [0, 360) first.
        for (const int turns : {0, -1, 1, -2, 2})
            candidates.push_back(judge(run, flip, 360.0 * turns, limits));
    }
    const auto find = [&](bool flip, bool firstTurnOnly) {
        auto found = candidates.end();
        for (auto each = candidates.begin(); each != candidates.end(); ++each) {
            if (each->flip != flip || !each->fits || (firstTurnOnly && !each->inFirstTurn))
                continue;
            if (found == candidates.end() ||
                (fromAzimuthDeg && std::abs(each->start - *fromAzimuthDeg) <
                                       std::abs(found->start - *fromAzimuthDeg)))
                found = each;
        }
        return found;
    };
    if (auto found = find(false, true); found != candidates.end())
        return makePlan(track, limits, *found, PlanKind::Normal);
    if (auto found = find(false, false); found != candidates.end())
        return makePlan(track, limits, *found, PlanKind::Overlap);
    if (auto found = find(true, true); found != candidates.end())
        return makePlan(track, limits, *found, PlanKind::Flip);
    if (auto found = find(true, false); found != candidates.end())
        return makePlan(track, limits, *found, PlanKind::Flip);
    // The first candidate with the most points inside: the unflipped, least shifted first.
    const auto best = std::max_element(
        candidates.begin(), candidates.end(),
        [](const Candidate &a, const Candidate &b) { return a.inside < b.inside; });
    return makePlan(track, limits, *best, PlanKind::Cut);
}

RotatorPosition pointFor(const RotatorPlan &plan, double jd, double azimuthDeg, double elevationDeg)
{
    double azimuth = plan.flip ? azimuthDeg + 180 : azimuthDeg;
    double elevation = plan.flip ? 180 - elevationDeg : elevationDeg;
    if (!plan.path.empty()) {
        // The planned azimuth at jd, between the points around it.
        const auto after = std::lower_bound(
            plan.path.begin(), plan.path.end(), jd,
            [](const std::pair<double, double> &point, double when) { return point.first < when; });
        double planned = 0;
        if (after == plan.path.begin())
            planned = after->second;
        else if (after == plan.path.end())
            planned = plan.path.back().second;
        else {
            const auto before = after - 1;
            const double span = after->first - before->first;
            const double part = span > 0 ? (jd - before->first) / span : 0;
            planned = before->second + part * (after->second - before->second);
        }
        azimuth += 360.0 * std::round((planned - azimuth) / 360.0);
    }
    const RotatorLimits &limits = plan.limits;
    return {std::clamp(azimuth, limits.minAzimuthDeg, limits.maxAzimuthDeg),
            std::clamp(elevation, limits.minElevationDeg, limits.maxElevationDeg)};
}

RotatorPosition withinLimits(const RotatorLimits &limits, double azimuthDeg, double elevationDeg)
{
    const double elevation =
        std::clamp(elevationDeg, limits.minElevationDeg, limits.maxElevationDeg);
    // The usual azimuth first, then a turn below or above it.
    for (const int turns : {0, -1, 1, -2, 2}) {
        const double azimuth = normalized(azimuthDeg) + 360.0 * turns;
        if (azimuth >= limits.minAzimuthDeg - slackDeg &&
            azimuth <= limits.maxAzimuthDeg + slackDeg)
            return {azimuth, elevation};
    }
    return {std::clamp(normalized(azimuthDeg), limits.minAzimuthDeg, limits.maxAzimuthDeg),
            elevation};
}

QString planText(const RotatorPlan &plan)
{
    switch (plan.kind) {
    case PlanKind::Normal:
        return QStringLiteral("normal");
    case PlanKind::Overlap:
        return QStringLiteral("overlap past the stop");
    case PlanKind::Flip:
        return QStringLiteral("flip over the top");
    case PlanKind::Cut:
        return QStringLiteral("cut at the stop");
    }
    return {};
}

} // namespace radio
