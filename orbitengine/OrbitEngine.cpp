// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/OrbitEngine.h"

#include "orbitengine/CivilTime.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

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
    for (const auto &file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in) {
            skipped_.push_back(file.string() + ": cannot be read");
            continue;
        }
        std::ostringstream text;
        text << in.rdbuf();
        const size_t before = skipped_.size();
        addElementText(text.str());
        for (size_t i = before; i < skipped_.size(); ++i)
            skipped_[i] = file.filename().string() + " " + skipped_[i];
    }
    return Status::ok();
}

Status OrbitEngine::SetObserverLatitude(double degrees)
{
    if (!std::isfinite(degrees) || degrees < -90.0 || degrees > 90.0)
        return {StatusCode::BadArgument, "latitude outside -90 to 90 degrees"};
    latitudeDeg_ = degrees;
    observer_ = makeObserver(latitudeDeg_, longitudeDeg_);
    return Status::ok();
}

Status OrbitEngine::SetObserverLongitude(double degrees)
{
    if (!std::isfinite(degrees) || degrees < -180.0 || degrees >= 360.0)
        return {StatusCode::BadArgument, "longitude outside 0 up to 360 degrees"};
    longitudeDeg_ = degrees;
    observer_ = makeObserver(latitudeDeg_, longitudeDeg_);
    return Status::ok();
}

void OrbitEngine::clearElementSets()
{
    sets_.clear();
    skipped_.clear();
}

void OrbitEngine::addSet(const ElementSet &set)
{
    if (set.name.empty())
        return;
    auto found = sets_.find(set.name);
    // Of two sets under one name the one with the later epoch is kept.
    if (found != sets_.end() && found->second.elements.epochJd() > set.epochJd())
        return;
    Entry entry;
    entry.elements = set;
    entry.initStatus = entry.propagator.init(set);
    sets_.insert_or_assign(set.name, std::move(entry));
}

void OrbitEngine::addElementText(std::string_view text)
{
    ElementText read = readElementText(text);
    for (const auto &set : read.sets)
        addSet(set);
    for (auto &reason : read.skipped)
        skipped_.push_back(std::move(reason));
}

const ElementSet *OrbitEngine::findElementSet(const std::string &name) const
{
    const auto found = sets_.find(normaliseName(name));
    return found == sets_.end() ? nullptr : &found->second.elements;
}

std::vector<std::string> OrbitEngine::names() const
{
    std::vector<std::string> out;
    for (const auto &[name, entry] : sets_)
        out.push_back(name);
    return out;
}

OrbitEngine::Entry *OrbitEngine::lookup(const std::string &name, Status &status)
{
    const auto found = sets_.find(normaliseName(name));
    if (found == sets_.end()) {
        status = {StatusCode::NotFound, "no element set named \"" + name + "\""};
        return nullptr;
    }
    status = found->second.initStatus;
    return status ? &found->second : nullptr;
}

Status OrbitEngine::GetPosition(const std::string &name, EngineTime time, Position &out)
{
    out = Position{};
    Status status;
    Entry *entry = lookup(name, status);
    if (!entry)
        return status;
    if (!std::isfinite(time))
        return {StatusCode::BadArgument, "time is not a number"};
    const double minutes =
        ((time - entry->elements.epochJdWhole) - entry->elements.epochJdFraction) * 1440.0;
    StateVector state;
    status = entry->propagator.propagate(minutes, state);
    if (!status)
        return status;
    if (!finite(state))
        return {StatusCode::NotConverged, "propagation gave no finite position"};
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
    Entry *entry = lookup(name, result.status);
    if (!entry)
        return result;
    return orbit::findPasses(entry->propagator, observer_, startJd, endJd);
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
        const double duration = std::max(0.0, (p.losJd - roundedAos) * 86400.0);
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
