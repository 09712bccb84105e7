// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace sharing {

// Where the satellite stood, seen from the station (degrees; azimuth from
// north through east).
struct LookAngles
{
    double azimuthDeg = 0;
    double elevationDeg = 0;
};

// Where ORVEX stood when a frame was heard, and what that rests on.
struct Sighting
{
    enum class Elements {
        None, // no element set of ORVEX is loaded
        Demo, // only the demo station's invented set
        Real, // a set that is not the demo's
    };
    Elements elements = Elements::None;
    std::optional<LookAngles> look; // nothing when it cannot be placed
};

// Below this elevation (degrees) the satellite cannot be heard; the margin
// under the horizon allows for refraction and a station on a hill.
inline constexpr double lowestElevationDeg = -3.0;

// Why a frame heard at `sighting` is held for the operator instead of being
// shared by itself, or an empty text when it may go: only frames that real
// elements place at or above lowestElevationDeg go by themselves.
QString holdReason(const Sighting &sighting);

} // namespace sharing
