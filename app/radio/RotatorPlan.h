// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <optional>
#include <vector>

// How a rotator follows one pass without swinging round through its stop in
// the middle of it. Planned before AOS over the sampled track:
//  - normal: the track fits into one turn from the rotator's lowest azimuth;
//  - overlap: it fits only with azimuths past that turn (a rotator of 0 to
//    450 degrees follows a track across north from 350 to 370);
//  - flip: with elevations to 180 degrees, the rotator points the other way
//    over the top (azimuth + 180, elevation 180 - elevation), which moves
//    the crossing of north to the south;
//  - cut: nothing fits; the beam stays at the stop while the satellite is
//    beyond it, and the part of the pass followed is the longest one.
namespace radio {

// Degrees, as the rotator counts them.
struct RotatorLimits
{
    double minAzimuthDeg = 0;
    double maxAzimuthDeg = 360;
    double minElevationDeg = 0;
    double maxElevationDeg = 90;
};

// One point of a pass's track: Julian date UTC, degrees.
struct TrackPoint
{
    double jd = 0;
    double azimuthDeg = 0; // [0, 360)
    double elevationDeg = 0;
};

// Where the rotator is sent, degrees in its own terms.
struct RotatorPosition
{
    double azimuthDeg = 0;
    double elevationDeg = 0;
};

enum class PlanKind { Normal, Overlap, Flip, Cut };

struct RotatorPlan
{
    PlanKind kind = PlanKind::Normal;
    bool flip = false;
    RotatorLimits limits;
    // The azimuth the rotator is to have along the track, continuous (no jump
    // of a turn) and before clamping to the limits: Julian date UTC, degrees.
    std::vector<std::pair<double, double>> path;
};

// The plan for a track (points by time). Of the ways of one kind, the one
// that starts nearest to `fromAzimuthDeg` (where the rotator stands, in its
// terms) is taken, so that turning to the AOS azimuth is short.
RotatorPlan planPass(const std::vector<TrackPoint> &track, const RotatorLimits &limits,
                     std::optional<double> fromAzimuthDeg = std::nullopt);

// Where the rotator points for the satellite at `azimuthDeg`,
// `elevationDeg` at `jd`: the turn of the planned path, within the limits.
RotatorPosition pointFor(const RotatorPlan &plan, double jd, double azimuthDeg,
                         double elevationDeg);

// An azimuth and elevation (such as the park position) within the limits:
// the azimuth as usually counted (0 to 360) when the range holds it, else a
// turn below or above.
RotatorPosition withinLimits(const RotatorLimits &limits, double azimuthDeg, double elevationDeg);

// "normal", "overlap past 360°", "flip over the top", "cut at the stop"
QString planText(const RotatorPlan &plan);

} // namespace radio
