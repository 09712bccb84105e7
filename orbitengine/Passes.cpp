// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Passes.h"

#include <algorithm>
#include <cmath>

namespace orbit {
namespace {

constexpr double earthRotationRadPerSec = 7.292115e-5;
constexpr double polarRadiusKm = 6356.752;
constexpr double rootToleranceMin = 1.0e-6;      // 0.06 ms
constexpr double maxToleranceMin = 1.0e-5;       // 0.6 ms: far below 0.01 degree at any pass
constexpr int rootIterationCap = 100;
constexpr int maxIterationCap = 200;
constexpr double maxSearchDays = 400.0;
constexpr double overrunDays = 2.0; // how far past the end a pass's LOS is followed

struct Sample
{
    double t = 0;         // minutes since epoch
    double elevation = 0; // radians
    double stepMin = 0;   // scan step the state at t asks for
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
        return elevation + travel / nearest;
    }
};

// Elevation of the satellite as a function of minutes since its epoch.
class ElevationFunction
{
public:
    ElevationFunction(Sgp4 &satellite, const Observer &observer)
        : satellite_(satellite), observer_(observer),
          epochWhole_(satellite.elements().epochJdWhole),
          epochFraction_(satellite.elements().epochJdFraction)
    {
    }

    double jd(double t) const { return epochWhole_ + (epochFraction_ + t / 1440.0); }
    double minutes(double jdValue) const
    {
        return ((jdValue - epochWhole_) - epochFraction_) * 1440.0;
    }

    // False (with status()) when the propagation fails.
    bool sample(double t, Sample &out, double *azimuthRad = nullptr)
    {
        StateVector state;
        Status s = satellite_.propagate(t, state);
        if (!s) {
            status_ = s;
            return false;
        }
        double ecef[3];
        temeToEcef(state.position, gmst(jd(t)), ecef);
        const LookAngles look = lookAngles(observer_, ecef);
        out.t = t;
        out.elevation = look.elevationRad;
        out.rangeKm = look.rangeKm;
        if (azimuthRad)
            *azimuthRad = look.azimuthRad;

        const double *r = state.position, *v = state.velocity;
        const double rr = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2]);
        const double hx = r[1] * v[2] - r[2] * v[1], hy = r[2] * v[0] - r[0] * v[2],
                     hz = r[0] * v[1] - r[1] * v[0];
        const double angularRate = std::sqrt(hx * hx + hy * hy + hz * hz) / (rr * rr); // rad/s
        // A twentieth of a revolution of the orbit as seen from the Earth's centre.
        out.stepMin = std::clamp(twoPi / 20.0 / angularRate / 60.0, 0.05, 2.0 * 1440.0 / 20.0);
        const double vv = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        // Generous: the satellite's speed, the station's, and the speed's change
        // within a step taken as the same again.
        out.speedKmPerMin = 2.0 * (vv + earthRotationRadPerSec * (rr + wgs84::radiusKm)) * 60.0;
        out.altitudeKm = rr - wgs84::radiusKm;
        return true;
    }

    double value(double t)
    {
        Sample s;
        if (!sample(t, s))
            return std::nan("");
        return s.elevation;
    }

    const Status &status() const { return status_; }

private:
    Sgp4 &satellite_;
    const Observer &observer_;
    double epochWhole_, epochFraction_;
    Status status_;
};

// Root of the elevation in [a, b] with f(a) and f(b) of opposite signs
// (Illinois variant of regula falsi, with bisection as a fallback).
bool findRoot(ElevationFunction &f, double a, double fa, double b, double fb, double &root)
{
    int side = 0;
    for (int i = 0; i < rootIterationCap; ++i) {
        if (std::fabs(b - a) < rootToleranceMin) {
            root = 0.5 * (a + b);
            return true;
        }
        double c = (a * fb - b * fa) / (fb - fa);
        if (!(c > std::min(a, b) && c < std::max(a, b)) || i % 8 == 7)
            c = 0.5 * (a + b); // keep shrinking even when the secant stalls
        const double fc = f.value(c);
        if (std::isnan(fc))
            return false;
        if (fc == 0) {
            root = c;
            return true;
        }
        if ((fc > 0) == (fb > 0)) {
            b = c;
            fb = fc;
            if (side == -1)
                fa *= 0.5;
            side = -1;
        } else {
            a = c;
            fa = fc;
            if (side == 1)
                fb *= 0.5;
            side = 1;
        }
    }
    root = 0.5 * (a + b);
    return std::fabs(b - a) < 1e-3;
}

// Maximum of the elevation in [a, b] around the interior point m, where
// f(m) >= f(a) and f(m) >= f(b): golden-section search (robust at the
// cusp of an overhead pass).
bool findMax(ElevationFunction &f, double a, double m, double fm, double b, double &tMax,
             double &eMax)
{
    constexpr double golden = 0.3819660112501051;
    double x = m, fx = fm;
    for (int i = 0; i < maxIterationCap; ++i) {
        if (b - a < maxToleranceMin) {
            tMax = x;
            eMax = fx;
            return true;
        }
        // Probe the larger part of the bracket.
        const double u = (x - a > b - x) ? x - golden * (x - a) : x + golden * (b - x);
        const double fu = f.value(u);
        if (std::isnan(fu))
            return false;
        if (fu > fx) {
            if (u < x)
                b = x;
            else
                a = x;
            x = u;
            fx = fu;
        } else {
            if (u < x)
                a = u;
            else
                b = u;
        }
    }
    tMax = x;
    eMax = fx;
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
    if (!satellite.isReady()) {
        result.status = {StatusCode::BadElements, "propagator not initialised"};
        return result;
    }
    if (!std::isfinite(startJd) || !std::isfinite(endJd) || endJd < startJd ||
        endJd - startJd > maxSearchDays) {
        result.status = {StatusCode::BadArgument, "search span empty, reversed or too long"};
        return result;
    }
    if (!canRise(satellite, observer)) {
        result.visibility = Visibility::NeverRises;
        return result;
    }

    ElevationFunction f(satellite, observer);
    const auto failed = [&result, &f]() {
        result.status = f.status();
        return result;
    };
    const double t0 = f.minutes(startJd);
    const double t1 = f.minutes(endJd);
    const double tCap = t1 + overrunDays * 1440.0;

    Sample prev2, prev1, cur;
    if (!f.sample(t0, prev1) || !f.sample(t0 - prev1.stepMin, prev2))
        return failed();

    bool sawBelow = prev2.elevation <= 0 || prev1.elevation <= 0;
    double lastLos = -1e300;
    bool belowAfterEnd = false;
    // The scan: a sample every step; a local maximum of three samples is a
    // bracket, and every bracket that could reach above the horizon is refined.
    const long scanCap = static_cast<long>((tCap - t0) / 0.05) + 10;
    for (long i = 0; i < scanCap; ++i) {
        if (!f.sample(prev1.t + prev1.stepMin, cur))
            return failed();
        sawBelow = sawBelow || cur.elevation <= 0;

        const bool bracket = prev1.elevation >= prev2.elevation && prev1.elevation > cur.elevation;
        const double span = std::max(prev1.t - prev2.t, cur.t - prev1.t);
        if (bracket && prev1.elevationBound(span) > 0) {
            double tm = 0, em = 0;
            if (!findMax(f, prev2.t, prev1.t, prev1.elevation, cur.t, tm, em))
                return failed();
            if (em > 0 && tm <= lastLos) {
                // A second summit inside a long pass already found.
                if (!result.passes.empty() &&
                    em * radToDeg > result.passes.back().maxElevationDeg &&
                    result.passes.back().losJd >= f.jd(tm)) {
                    result.passes.back().maxElevationDeg = em * radToDeg;
                    result.passes.back().maxJd = f.jd(tm);
                }
            } else if (em > 0) {
                // AOS: back to a time below the horizon, then the root; LOS alike.
                double ta = prev2.t, fa = prev2.elevation;
                bool underWay = false;
                for (int k = 0; fa > 0; ++k) {
                    if (ta < t0 || k > 100000) {
                        underWay = true;
                        break;
                    }
                    ta -= prev1.stepMin;
                    fa = f.value(ta);
                    if (std::isnan(fa))
                        return failed();
                }
                double tb = cur.t, fb = cur.elevation;
                bool open = false; // no LOS before the cap
                for (int k = 0; fb > 0; ++k) {
                    if (tb > tCap || k > 100000) {
                        open = true;
                        break;
                    }
                    tb += prev1.stepMin;
                    fb = f.value(tb);
                    if (std::isnan(fb))
                        return failed();
                }
                double aos = ta, los = tb;
                if (!underWay && !findRoot(f, ta, fa, tm, em, aos))
                    return failed();
                if (!open && !findRoot(f, tm, em, tb, fb, los))
                    return failed();
                lastLos = los;
                if (!underWay && aos >= t0 && aos <= t1) {
                    Pass p;
                    Sample s;
                    double azAos = 0, azLos = 0;
                    if (!f.sample(aos, s, &azAos) || !f.sample(los, s, &azLos))
                        return failed();
                    p.aosJd = f.jd(aos);
                    p.losJd = f.jd(los);
                    p.maxJd = f.jd(tm);
                    p.maxElevationDeg = em * radToDeg;
                    p.aosAzimuthDeg = azAos * radToDeg;
                    p.losAzimuthDeg = azLos * radToDeg;
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
            belowAfterEnd = prev1.elevation <= 0;
        }
    }
    if (!sawBelow && result.passes.empty())
        result.visibility = Visibility::AlwaysInView;
    return result;
}

} // namespace orbit
