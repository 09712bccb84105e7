// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/OrbitEngine.h"

#include "orbitengine/CivilTime.h"
#include "orbitengine/EpochClock.h"
#include "orbitengine/Sun.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>

namespace orbit {
namespace {

constexpr double maxSearchDays = 30.0;

// Fixed-point text that ignores the C locale (the program sets a local one).
std::string fixed(double value, int decimals)
{
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return "0";
    return std::string(buffer, end);
}

// yyyymmddhhnnss of a Julian date (UTC), rounded to the second. Also returns
// the rounded instant.
std::string stamp(double jd, double &roundedJd)
{
    const long long ms = std::llround(static_cast<double>(unixMilliseconds(jd)) / 1000.0) * 1000;
    roundedJd = julianDateOfUnixMilliseconds(ms);
    const CivilTime c = civilTime(ms);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%04lld%02d%02d%02d%02d%02d", c.year, c.month, c.day,
                  c.hour, c.minute, c.second);
    return buffer;
}

bool finite(const StateVector &s)
{
    for (int i = 0; i < 3; ++i)
        if (!std::isfinite(s.position[i]) || !std::isfinite(s.velocity[i]))
            return false;
    return true;
}

} // namespace

Status OrbitEngine::SetElementFolder(const std::string &path)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(fs::path(path), ec);
    if (ec)
        return {StatusCode::NotFound, "element folder " + path + ": " + ec.message()};
    std::vector<fs::path> files;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            break;
        std::error_code typeError;
        if (it->is_regular_file(typeError))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    clearElementSets();
    for (const auto &file : files)
        catalogue_.readFile(file.string());
    return Status::ok();
}

Status OrbitEngine::SetObserverLatitude(double degrees)
{
    if (!std::isfinite(degrees) || degrees < -90.0 || degrees > 90.0)
        return {StatusCode::BadArgument, "latitude outside -90 to 90 degrees"};
    latitudeDeg_ = degrees;
    ++revision_;
    observer_ = makeObserver(latitudeDeg_, longitudeDeg_);
    return Status::ok();
}

Status OrbitEngine::SetObserverLongitude(double degrees)
{
    if (!std::isfinite(degrees) || degrees < -180.0 || degrees >= 360.0)
        return {StatusCode::BadArgument, "longitude outside 0 up to 360 degrees"};
    longitudeDeg_ = degrees;
    ++revision_;
    observer_ = makeObserver(latitudeDeg_, longitudeDeg_);
    return Status::ok();
}

void OrbitEngine::clearElementSets()
{
    catalogue_.clear();
    ++revision_;
}

void OrbitEngine::addElementText(std::string_view text)
{
    catalogue_.addText(text);
    ++revision_;
}

const ElementSet *OrbitEngine::findElementSet(const std::string &name) const
{
    const LoadedElementSet *set = catalogue_.find(name);
    return set && set->elements ? &*set->elements : nullptr;
}

Status OrbitEngine::elementStatus(const std::string &name) const
{
    Status status;
    lookup(name, status);
    return status;
}

std::optional<ElementSource> OrbitEngine::elementSource(const std::string &name) const
{
    return catalogue_.source(name);
}

std::vector<std::string> OrbitEngine::names() const
{
    return catalogue_.names();
}

LoadedElementSet *OrbitEngine::lookup(const std::string &name, Status &status) const
{
    LoadedElementSet *set = catalogue_.find(name);
    if (!set) {
        status = {StatusCode::NotFound, "no element set named \"" + name + "\""};
        return nullptr;
    }
    status = set->status;
    return status ? set : nullptr;
}

Status OrbitEngine::stateAt(const std::string &name, EngineTime time, StateVector &state)
{
    Status status;
    LoadedElementSet *entry = lookup(name, status);
    if (!entry)
        return status;
    if (!std::isfinite(time))
        return {StatusCode::BadArgument, "time is not a number"};
    const double minutes = EpochClock(*entry->elements).minutes(time);
    status = entry->propagator.propagate(minutes, state);
    if (!status)
        return status;
    if (!finite(state))
        return {StatusCode::NotConverged, "propagation gave no finite position"};
    return Status::ok();
}

Status OrbitEngine::GetPosition(const std::string &name, EngineTime time, Position &out)
{
    out = Position{};
    StateVector state;
    if (Status status = stateAt(name, time, state); !status)
        return status;
    double ecef[3];
    temeToEcef(state.position, gmst(time), ecef);
    const LookAngles look = lookAngles(observer_, ecef);
    const SubPoint sub = subPoint(ecef);
    out.inView = look.elevationRad > 0 ? 1 : 0;
    out.azimuth = look.azimuthRad;
    out.elevation = look.elevationRad;
    out.longitude = sub.longitudeRad < 0 ? sub.longitudeRad + twoPi : sub.longitudeRad;
    if (out.longitude >= twoPi)
        out.longitude = 0;
    out.latitude = sub.latitudeRad;
    out.altitudeKm = sub.altitudeKm;
    out.rangeKm = look.rangeKm;
    return Status::ok();
}

PassSearch OrbitEngine::findPasses(const std::string &name, EngineTime startJd, EngineTime endJd)
{
    PassSearch result;
    LoadedElementSet *entry = lookup(name, result.status);
    if (!entry)
        return result;
    ++passSearches_;
    return orbit::findPasses(entry->propagator, observer_, startJd, endJd);
}

Status OrbitEngine::GetRangeRate(const std::string &name, EngineTime time, RangeRate &out)
{
    out = RangeRate{};
    StateVector state;
    if (Status status = stateAt(name, time, state); !status)
        return status;
    out = rangeRate(observer_, state, time);
    return Status::ok();
}

Status OrbitEngine::GetIllumination(const std::string &name, EngineTime time, Illumination &out)
{
    StateVector state;
    if (Status status = stateAt(name, time, state); !status)
        return status;
    double sun[3];
    sunPositionTeme(time, sun);
    out = illumination(state.position, sun);
    return Status::ok();
}

EclipseSearch OrbitEngine::findEclipses(const std::string &name, EngineTime startJd,
                                        EngineTime endJd, ShadowEdge edge)
{
    EclipseSearch result;
    LoadedElementSet *entry = lookup(name, result.status);
    if (!entry)
        return result;
    return orbit::findEclipses(entry->propagator, startJd, endJd, edge);
}

Status OrbitEngine::ListPasses(const std::string &name, double startDate, int minPasses,
                               int minDays, int, int, std::string &text)
{
    text.clear();
    if (!std::isfinite(startDate))
        return {StatusCode::BadArgument, "start is not a number"};
    if (minPasses < 0 || minDays < 0)
        return {StatusCode::BadArgument, "negative pass or day count"};
    const double startJd = ToEngineTime(startDate);
    const double capJd = startJd + maxSearchDays;
    double coveredJd = std::min(capJd, startJd + minDays);

    PassSearch search = findPasses(name, startJd, coveredJd);
    if (!search.status)
        return search.status;
    std::vector<Pass> passes = std::move(search.passes);
    // Not enough passes yet: go on a day at a time, up to the cap.
    while (static_cast<int>(passes.size()) < minPasses && coveredJd < capJd &&
           search.visibility == Visibility::Passes) {
        const double nextJd = std::min(capJd, coveredJd + 1.0);
        search = findPasses(name, coveredJd, nextJd);
        if (!search.status)
            return search.status;
        for (const Pass &p : search.passes)
            if (passes.empty() || p.aosJd > passes.back().aosJd)
                passes.push_back(p);
        coveredJd = nextJd;
    }

    for (const Pass &p : passes) {
        double roundedAos = 0, roundedLos = 0;
        const std::string aos = stamp(p.aosJd, roundedAos);
        const std::string los = stamp(p.losJd, roundedLos);
        const double duration = std::max(0.0, (p.losJd - roundedAos) * secondsPerDay);
        if (!text.empty())
            text += ',';
        text += '{';
        text += aos;
        text += ' ';
        text += los;
        text += ' ';
        text += fixed(p.aosAzimuthDeg, 1);
        text += ' ';
        text += fixed(p.maxElevationDeg, 2);
        text += ' ';
        text += fixed(duration, 1);
        text += '}';
    }
    return Status::ok();
}

} // namespace orbit
