// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "platform/DateTime.h"

#include <functional>
#include <optional>

// What the radio and the rotator are told of the current satellite: its
// passes over the station and where it stands at any moment. The tracking
// context supplies both; tests build them from the orbit engine.
namespace radio {

struct PassWindow
{
    double aosJd = 0; // Julian date UTC: the satellite rises
    double losJd = 0; // and sets
};

// The satellite seen from the station at one moment.
struct LookSample
{
    double azimuthDeg = 0;      // from north through east, [0, 360)
    double elevationDeg = 0;    // above the horizon
    double rangeKm = 0;         // station to satellite
    double rangeRateKmPerS = 0; // positive while the satellite recedes
};

struct TrackInput
{
    // The pass under way at `nowJd` (Julian date UTC), else the next one;
    // nothing when none is known.
    std::function<std::optional<PassWindow>(double nowJd)> pass;
    // The satellite at `jd` (Julian date UTC); nothing when it cannot be placed.
    std::function<std::optional<LookSample>(double jd)> look;
};

// The pass a controller works on, asked of the input only when needed: when
// the pass held has ended `keepSeconds` after LOS, when none is held and the
// last search is a minute old, or after invalidate().
class PassCache
{
public:
    void setInput(std::function<std::optional<PassWindow>(double nowJd)> pass);
    void invalidate() { stale_ = true; }
    const std::optional<PassWindow> &at(double nowJd, double keepSeconds);

private:
    std::function<std::optional<PassWindow>(double nowJd)> input_;
    std::optional<PassWindow> pass_;
    double searchedJd_ = 0;
    bool stale_ = true;
};

// The program's clock as a Julian date UTC.
inline double nowJd()
{
    return orvex::Clock::nowJulianDate();
}

using orvex::secondsPerDay;

} // namespace radio
