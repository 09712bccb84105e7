// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <algorithm>
#include <cmath>

// The root of a function of time (minutes) where a scan has bracketed a sign
// change: the Illinois variant of regula falsi, with a bisection every eighth
// step and wherever the secant falls outside the bracket, so that the bracket
// shrinks even where the secant stalls. The pass search's rises and sets and
// the shadow search's edges are found with it.
namespace orbit {

// Root of f in [a, b], where fa = f(a) and fb = f(b) differ in sign, to
// 1e-6 minutes (0.06 ms). f gives NaN where it cannot be evaluated (a failed
// propagation): then false, and the caller reads the cause from its source.
template <class Function>
bool findRoot(Function &&f, double a, double fa, double b, double fb, double &root)
{
    constexpr double toleranceMin = 1.0e-6;
    constexpr int iterationCap = 100;
    int side = 0;
    for (int i = 0; i < iterationCap; ++i) {
        if (std::fabs(b - a) < toleranceMin) {
            root = 0.5 * (a + b);
            return true;
        }
        double c = (a * fb - b * fa) / (fb - fa);
        if (!(c > std::min(a, b) && c < std::max(a, b)) || i % 8 == 7)
            c = 0.5 * (a + b); // keep shrinking even when the secant stalls
        const double fc = f(c);
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
    // Out of steps: still a root if the bracket is down to 0.06 s.
    root = 0.5 * (a + b);
    return std::fabs(b - a) < 1e-3;
}

} // namespace orbit
