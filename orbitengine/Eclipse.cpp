// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Eclipse.h"

#include "orbitengine/EpochClock.h"
#include "orbitengine/Geometry.h"
#include "orbitengine/RootSearch.h"
#include "orbitengine/SearchSpan.h"
#include "orbitengine/Sun.h"

#include <algorithm>
#include <cmath>

namespace orbit {
namespace {

constexpr double earthRadiusKm = wgs84::radiusKm;
constexpr double shortestSpanMin = 1.0e-4; // 6 ms: a shadow this short is a touch, not an eclipse
constexpr double maxOverhangMin = 2.0 * minutesPerDay;
constexpr int stepsPerRevolution = 40;

double norm(const double v[3])
{
    return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
}

// The angle between the directions of a and b, radians, accurate near 0 and pi.
double angleBetween(const double a[3], const double b[3])
{
    const double cx = a[1] * b[2] - a[2] * b[1], cy = a[2] * b[0] - a[0] * b[2],
                 cz = a[0] * b[1] - a[1] * b[0];
    return std::atan2(std::sqrt(cx * cx + cy * cy + cz * cz),
                      a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
}

struct Sample
{
    double t = 0;         // minutes since epoch
    double margin = 0;    // shadowMarginRad; at most 0 in the shadow
    double stepMin = 0;   // scan step the state at t asks for
    double rateBound = 0; // bound of |d margin / dt| near t, radians per minute
};

// The shadow margin as a function of minutes since the element set's epoch.
class ShadowFunction
{
public:
    ShadowFunction(Sgp4 &satellite, ShadowEdge edge)
        : satellite_(satellite), edge_(edge), clock_(satellite.elements())
    {
    }

    const EpochClock &clock() const { return clock_; }

    // False (with status()) when the propagation fails.
    bool sample(double t, Sample &out)
    {
        StateVector state;
        const Status s = satellite_.propagate(t, state);
        if (!s) {
            status_ = s;
            return false;
        }
        double sun[3];
        sunPositionTeme(clock_.jd(t), sun);
        const double *r = state.position, *v = state.velocity;
        out.t = t;
        out.margin = shadowMarginRad(r, sun, edge_);

        const double rr = norm(r), vv = norm(v);
        const double hx = r[1] * v[2] - r[2] * v[1], hy = r[2] * v[0] - r[0] * v[2],
                     hz = r[0] * v[1] - r[1] * v[0];
        const double angularRate = std::sqrt(hx * hx + hy * hy + hz * hz) / (rr * rr); // rad/s
        out.stepMin = std::clamp(twoPi / stepsPerRevolution / angularRate / 60.0, 0.05,
                                 2.0 * minutesPerDay / stepsPerRevolution);
        // The direction to the Earth turns at most at v/r; the Earth's apparent
        // radius changes with the radial speed. Room for their change in a step.
        const double radialSpeed = std::fabs(r[0] * v[0] + r[1] * v[1] + r[2] * v[2]) / rr;
        const double beside = std::sqrt(std::max(rr * rr - earthRadiusKm * earthRadiusKm, 1.0));
        out.rateBound = 1.5 * 60.0 * (vv / rr + earthRadiusKm * radialSpeed / (rr * beside));
        return true;
    }

    const Status &status() const { return status_; }

private:
    Sgp4 &satellite_;
    ShadowEdge edge_;
    EpochClock clock_;
    Status status_;
};

struct Edge
{
    double t = 0;
    bool entering = false;
};

// Appends the shadow's edges between two samples. Where the samples alone
// cannot rule out a brief crossing (the margin could reach 0 and back at the
// bounded rate), the span is halved until they can.
bool findEdges(ShadowFunction &f, const Sample &a, const Sample &b, std::vector<Edge> &edges)
{
    if ((a.margin > 0) != (b.margin > 0)) {
        Edge e;
        e.entering = a.margin > 0;
        // NaN where the propagation fails, which ends the root search.
        const auto margin = [&f](double t) {
            Sample s;
            return f.sample(t, s) ? s.margin : std::nan("");
        };
        if (!findRoot(margin, a.t, a.margin, b.t, b.margin, e.t))
            return false;
        edges.push_back(e);
        return true;
    }
    const double span = b.t - a.t;
    const double rate = std::max(a.rateBound, b.rateBound);
    if (std::fabs(a.margin) + std::fabs(b.margin) > rate * span || span < shortestSpanMin)
        return true;
    Sample middle;
    if (!f.sample(0.5 * (a.t + b.t), middle))
        return false;
    return findEdges(f, a, middle, edges) && findEdges(f, middle, b, edges);
}

} // namespace

double shadowMarginRad(const double satelliteKm[3], const double sunKm[3], ShadowEdge edge)
{
    const double toEarth[3] = {-satelliteKm[0], -satelliteKm[1], -satelliteKm[2]};
    const double toSun[3] = {sunKm[0] - satelliteKm[0], sunKm[1] - satelliteKm[1],
                             sunKm[2] - satelliteKm[2]};
    const double r = norm(toEarth);
    const double earthRadius = r > earthRadiusKm ? std::asin(earthRadiusKm / r) : pi / 2;
    const double sunRadius = std::asin(std::min(sunRadiusKm / norm(toSun), 1.0));
    const double side = edge == ShadowEdge::Umbra ? 1.0 : edge == ShadowEdge::Penumbra ? -1.0 : 0.0;
    return angleBetween(toEarth, toSun) - earthRadius + side * sunRadius;
}

Illumination illumination(const double satelliteKm[3], const double sunKm[3])
{
    if (shadowMarginRad(satelliteKm, sunKm, ShadowEdge::Umbra) <= 0)
        return Illumination::Umbra;
    if (shadowMarginRad(satelliteKm, sunKm, ShadowEdge::Penumbra) <= 0)
        return Illumination::Penumbra;
    return Illumination::Sunlit;
}

EclipseSearch findEclipses(Sgp4 &satellite, double startJd, double endJd, ShadowEdge edge)
{
    EclipseSearch result;
    result.status = checkSearchSpan(satellite, startJd, endJd);
    if (!result.status)
        return result;
    ShadowFunction f(satellite, edge);
    const EpochClock &clock = f.clock();
    const double t0 = clock.minutes(startJd), t1 = clock.minutes(endJd);
    // A shadow lasts less than half a revolution: scanning that much before
    // and after the span finds the edges of the eclipses under way at its ends.
    const double overhang =
        std::min(0.5 * twoPi / satellite.meanMotionRadPerMin() + 1.0, maxOverhangMin);
    const double scanBegin = t0 - overhang, scanEnd = t1 + overhang;

    std::vector<Edge> edges;
    Sample previous, current;
    bool scanned = f.sample(scanBegin, previous);
    const bool shadowAtBegin = scanned && previous.margin <= 0;
    while (scanned && previous.t < scanEnd) {
        scanned = f.sample(std::min(previous.t + previous.stepMin, scanEnd), current) &&
                  findEdges(f, previous, current, edges);
        previous = current;
    }
    if (!scanned)
        result.status = f.status();

    // Pair the edges; a shadow open at either end of the scan is cut there.
    double entry = shadowAtBegin ? scanBegin : std::nan("");
    const auto add = [&](double exit) {
        if (exit >= t0 && entry <= t1)
            result.eclipses.push_back({clock.jd(entry), clock.jd(exit)});
        entry = std::nan("");
    };
    for (const Edge &e : edges) {
        if (e.entering)
            entry = e.t;
        else if (!std::isnan(entry))
            add(e.t);
    }
    if (!std::isnan(entry) && scanned)
        add(scanEnd);
    return result;
}

} // namespace orbit
