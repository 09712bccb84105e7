// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Passes.h"

#include "orbitengine/EpochClock.h"
#include "orbitengine/FastTrig.h"
#include "orbitengine/RootSearch.h"
#include "orbitengine/SearchSpan.h"

#include <algorithm>
#include <cmath>

namespace orbit {
namespace {

constexpr double earthRotationRadPerSec = 7.292115e-5;
constexpr double polarRadiusKm = 6356.752;
constexpr double maxToleranceMin = 1.0e-5; // 0.6 ms: far below 0.01 degree at any pass
constexpr int maxIterationCap = 200;
constexpr double overrunDays = 2.0; // how far past the end a pass's LOS is followed

struct Sample
{
    double t = 0;       // minutes since epoch
    double sinEl = 0;   // sine of the elevation: cheaper, and ordered alike
    double stepMin = 0; // scan step the state at t asks for
    double rangeKm = 0;
    double speedKmPerMin = 0; // bound of the speed relative to the station
    double altitudeKm = 0;    // above the equatorial radius

    // Upper bound of the elevation anywhere within `spanMin` of this sample:
    // the line of sight turns at most as fast as the speed over the range.
    double elevationBound(double spanMin) const
    {
        const double travel = speedKmPerMin * spanMin;
        const double nearest = std::max(rangeKm - travel, altitudeKm - travel);
        if (nearest <= 1.0)
            return pi / 2;
        return std::asin(std::clamp(sinEl, -1.0, 1.0)) + travel / nearest;
    }
};

// Elevation of the satellite as a function of minutes since its epoch.
class ElevationFunction
{
public:
    ElevationFunction(Sgp4 &satellite, const Observer &observer)
        : satellite_(satellite), observer_(observer), clock_(satellite.elements())
    {
    }

    const EpochClock &clock() const { return clock_; }

    // False (with status()) when the propagation fails.
    bool sample(double t, Sample &out)
    {
        StateVector state;
        if (!propagate(t, state))
            return false;
        const double dx = ecef_[0] - observer_.ecef[0], dy = ecef_[1] - observer_.ecef[1],
                     dz = ecef_[2] - observer_.ecef[2];
        const double up = observer_.cosLat * (observer_.cosLon * dx + observer_.sinLon * dy) +
                          observer_.sinLat * dz;
        out.t = t;
        out.rangeKm = std::sqrt(dx * dx + dy * dy + dz * dz);
        out.sinEl = out.rangeKm > 0 ? up / out.rangeKm : 1.0;

        const double *r = state.position, *v = state.velocity;
        const double rr = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
        const double hx = r[1] * v[2] - r[2] * v[1], hy = r[2] * v[0] - r[0] * v[2],
                     hz = r[0] * v[1] - r[1] * v[0];
        const double angularRate = std::sqrt(hx * hx + hy * hy + hz * hz) / (rr * rr); // rad/s
        // A twentieth of a revolution of the orbit as seen from the Earth's centre.
        out.stepMin =
            std::clamp(twoPi / 20.0 / angularRate / 60.0, 0.05, 2.0 * minutesPerDay / 20.0);
        const double vv = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        // Speed relative to the rotating Earth, with room for its change within a step.
        out.speedKmPerMin = 1.25 * (vv + earthRotationRadPerSec * rr) * 60.0;
        out.altitudeKm = rr - wgs84::radiusKm;
        return true;
    }

    // The sine of the elevation at t, NaN (with status()) when the propagation fails.
    double value(double t)
    {
        Sample s;
        if (!sample(t, s))
            return std::nan("");
        return s.sinEl;
    }

    // Full look angles at t (for the reported AOS and LOS).
    bool look(double t, LookAngles &out)
    {
        StateVector state;
        if (!propagate(t, state))
            return false;
        out = lookAngles(observer_, ecef_);
        return true;
    }

    const Status &status() const { return status_; }

private:
    Sgp4 &satellite_;
    const Observer &observer_;
    EpochClock clock_;
    // The state at t, and its position Earth-fixed in ecef_.
    bool propagate(double t, StateVector &state)
    {
        const Status s = satellite_.propagate(t, state);
        if (!s) {
            status_ = s;
            return false;
        }
        double sg, cg;
        trig::sinCos(gmst(clock_.jd(t)), sg, cg);
        ecef_[0] = cg * state.position[0] + sg * state.position[1];
        ecef_[1] = -sg * state.position[0] + cg * state.position[1];
        ecef_[2] = state.position[2];
        return true;
    }

    Status status_;
    double ecef_[3] = {0, 0, 0};
};

// Maximum of the elevation in [a, b] around the interior sample m, where
// f(m) >= f(a) and f(m) >= f(b): Brent's method (parabolic steps through the
// three best points, golden-section steps where those do not shrink the
// bracket, as at the cusp of an overhead pass). Gives up early, with `best`
// below the horizon, once the bracket is too narrow for the maximum to reach
// above it.
bool findMax(ElevationFunction &f, const Sample &left, const Sample &m, const Sample &right,
             Sample &best)
{
    constexpr double golden = 0.3819660112501051;
    constexpr double tol = maxToleranceMin / 2;
    best = m;
    double a = left.t, b = right.t;
    // Minimise g = -sin(elevation); x is the best point, w the second, v the
    // third: the three scan samples, so the first step is already parabolic.
    const bool leftBetter = left.sinEl >= right.sinEl;
    double x = m.t, w = leftBetter ? a : b, v = leftBetter ? b : a;
    double gx = -m.sinEl, gw = -(leftBetter ? left.sinEl : right.sinEl),
           gv = -(leftBetter ? right.sinEl : left.sinEl);
    double d = 0, e = b - a;
    for (int i = 0; i < maxIterationCap; ++i) {
        const double xm = 0.5 * (a + b);
        if (std::fabs(x - xm) <= 2 * tol - 0.5 * (b - a))
            return true;
        if (best.sinEl < 0 && best.elevationBound(std::max(x - a, b - x)) < 0)
            return true;
        bool parabolic = false;
        if (std::fabs(e) > tol) {
            double r = (x - w) * (gx - gv);
            double q = (x - v) * (gx - gw);
            double p = (x - v) * q - (x - w) * r;
            q = 2.0 * (q - r);
            if (q > 0)
                p = -p;
            q = std::fabs(q);
            const double previous = e;
            e = d;
            if (std::fabs(p) < std::fabs(0.5 * q * previous) && p > q * (a - x) &&
                p < q * (b - x)) {
                d = p / q;
                const double u = x + d;
                if (u - a < 2 * tol || b - u < 2 * tol)
                    d = xm >= x ? tol : -tol;
                parabolic = true;
            }
        }
        if (!parabolic) {
            e = x >= xm ? a - x : b - x;
            d = golden * e;
        }
        const double u = std::fabs(d) >= tol ? x + d : x + (d >= 0 ? tol : -tol);
        Sample su;
        if (!f.sample(u, su))
            return false;
        const double gu = -su.sinEl;
        if (gu <= gx) {
            if (u >= x)
                a = x;
            else
                b = x;
            v = w, gv = gw;
            w = x, gw = gx;
            x = u, gx = gu;
            best = su;
        } else {
            if (u < x)
                a = u;
            else
                b = u;
            if (gu <= gw || w == x) {
                v = w, gv = gw;
                w = u, gw = gu;
            } else if (gu <= gv || v == x || v == w) {
                v = u, gv = gu;
            }
        }
    }
    return true;
}

// Whether the orbit can ever come above the horizon of a station at this
// latitude: the ground track reaches at most the inclination, and the
// satellite is seen at most acos(R / r) of arc from it. Generous margins.
bool canRise(const Sgp4 &satellite, const Observer &observer)
{
    const ElementSet &e = satellite.elements();
    const double n = satellite.meanMotionRadPerMin() / 60.0; // rad/s
    const double a = std::cbrt(wgs72::mu / (n * n));
    const double apogee = a * (1.0 + e.eccentricity) + 100.0;
    if (apogee <= polarRadiusKm)
        return true; // let the propagator report the decay
    const double reach = std::acos(polarRadiusKm / apogee);
    double inclination = e.inclinationDeg * degToRad;
    if (inclination > pi / 2)
        inclination = pi - inclination;
    const double margin = 3.0 * degToRad;
    return std::fabs(observer.latitudeRad) <= inclination + reach + margin;
}

} // namespace

PassSearch findPasses(Sgp4 &satellite, const Observer &observer, double startJd, double endJd)
{
    PassSearch result;
    result.status = checkSearchSpan(satellite, startJd, endJd);
    if (!result.status)
        return result;
    if (!canRise(satellite, observer)) {
        result.visibility = Visibility::NeverRises;
        return result;
    }

    ElevationFunction f(satellite, observer);
    const EpochClock &clock = f.clock();
    const auto failed = [&result, &f]() {
        result.status = f.status();
        return result;
    };
    const auto elevation = [&f](double t) { return f.value(t); };
    const double t0 = clock.minutes(startJd);
    const double t1 = clock.minutes(endJd);
    const double tCap = t1 + overrunDays * minutesPerDay;

    Sample prev2, prev1, cur;
    if (!f.sample(t0, prev1) || !f.sample(t0 - prev1.stepMin, prev2))
        return failed();

    bool sawBelow = prev2.sinEl <= 0 || prev1.sinEl <= 0;
    double lastLos = -1e300;
    bool belowAfterEnd = false;
    // The scan: a sample every step; a local maximum of three samples is a
    // bracket, and every bracket that could reach above the horizon is refined.
    const long scanCap = static_cast<long>((tCap - t0) / 0.05) + 10;
    for (long i = 0; i < scanCap; ++i) {
        if (!f.sample(prev1.t + prev1.stepMin, cur))
            return failed();
        sawBelow = sawBelow || cur.sinEl <= 0;

        const bool bracket = prev1.sinEl >= prev2.sinEl && prev1.sinEl > cur.sinEl;
        const double span = std::max(prev1.t - prev2.t, cur.t - prev1.t);
        if (bracket && prev1.elevationBound(span) > 0) {
            Sample summit;
            if (!findMax(f, prev2, prev1, cur, summit))
                return failed();
            const double tm = summit.t, em = summit.sinEl;
            const double emDeg = std::asin(std::clamp(em, -1.0, 1.0)) * radToDeg;
            if (em > 0 && tm <= lastLos) {
                // A second summit inside a long pass already found.
                if (!result.passes.empty() && emDeg > result.passes.back().maxElevationDeg &&
                    result.passes.back().losJd >= clock.jd(tm)) {
                    result.passes.back().maxElevationDeg = emDeg;
                    result.passes.back().maxJd = clock.jd(tm);
                }
            } else if (em > 0) {
                // AOS: back to a time below the horizon, then the root; LOS alike.
                // Each walk step is the one the state there asks for, so a dip
                // below the horizon near perigee is not stepped over.
                // The root is then bracketed by the last two samples of the walk.
                Sample back = prev2, backAbove = summit;
                bool underWay = false;
                for (int k = 0; back.sinEl > 0; ++k) {
                    if (back.t < t0 || k > 100000) {
                        underWay = true;
                        break;
                    }
                    backAbove = back;
                    if (!f.sample(back.t - back.stepMin, back))
                        return failed();
                }
                Sample ahead = cur, aheadAbove = summit;
                bool open = false; // no LOS before the cap
                for (int k = 0; ahead.sinEl > 0; ++k) {
                    if (ahead.t > tCap || k > 100000) {
                        open = true;
                        break;
                    }
                    aheadAbove = ahead;
                    if (!f.sample(ahead.t + ahead.stepMin, ahead))
                        return failed();
                }
                double aos = back.t, los = ahead.t;
                if (!underWay &&
                    !findRoot(elevation, back.t, back.sinEl, backAbove.t, backAbove.sinEl, aos))
                    return failed();
                if (!open &&
                    !findRoot(elevation, aheadAbove.t, aheadAbove.sinEl, ahead.t, ahead.sinEl, los))
                    return failed();
                lastLos = los;
                if (!underWay && aos >= t0 && aos <= t1) {
                    Pass p;
                    LookAngles atAos, atLos;
                    if (!f.look(aos, atAos) || !f.look(los, atLos))
                        return failed();
                    p.aosJd = clock.jd(aos);
                    p.losJd = clock.jd(los);
                    p.maxJd = clock.jd(tm);
                    p.maxElevationDeg = emDeg;
                    p.aosAzimuthDeg = atAos.azimuthRad * radToDeg;
                    p.losAzimuthDeg = atLos.azimuthRad * radToDeg;
                    result.passes.push_back(p);
                }
            }
        }
        prev2 = prev1;
        prev1 = cur;
        if (prev1.t > t1) {
            // Past the end: one sample below the horizon, closed by one more.
            if (belowAfterEnd || prev1.t > tCap)
                break;
            belowAfterEnd = prev1.sinEl <= 0;
        }
    }
    if (!sawBelow && result.passes.empty())
        result.visibility = Visibility::AlwaysInView;
    return result;
}

} // namespace orbit
