// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cmath>

// Sine and cosine together, inline, within about one unit in the last place
// of the C library's for |x| up to 1e5 (larger arguments go to the library).
// Reduction by pi/2 in three parts (Cody and Waite), then the minimax
// polynomials on [-pi/4, pi/4] of the freely distributable fdlibm.
namespace orbit::trig {

inline void sinCosKernel(double r, double &s, double &c)
{
    constexpr double s1 = -1.66666666666666324348e-01, s2 = 8.33333333332248946124e-03,
                     s3 = -1.98412698298579493134e-04, s4 = 2.75573137070700676789e-06,
                     s5 = -2.50507602534068634195e-08, s6 = 1.58969099521155010221e-10;
    constexpr double c1 = 4.16666666666666019037e-02, c2 = -1.38888888888741095749e-03,
                     c3 = 2.48015872894767294178e-05, c4 = -2.75573143513906633035e-07,
                     c5 = 2.08757232129817482790e-09, c6 = -1.13596475577881948265e-11;
    const double z = r * r;
    const double ps = s2 + z * (s3 + z * (s4 + z * (s5 + z * s6)));
    s = r + z * r * (s1 + z * ps);
    const double pc = z * (c1 + z * (c2 + z * (c3 + z * (c4 + z * (c5 + z * c6)))));
    const double hz = 0.5 * z;
    const double w = 1.0 - hz;
    c = w + (((1.0 - w) - hz) + z * pc);
}

// For |r| below 0.01, the Taylor series to r^7 and r^6 is exact to rounding.
inline void sinCosSmall(double r, double &s, double &c)
{
    const double z = r * r;
    s = r + r * z * (-1.0 / 6.0 + z * (1.0 / 120.0 - z * (1.0 / 5040.0)));
    c = 1.0 + z * (-0.5 + z * (1.0 / 24.0 - z * (1.0 / 720.0)));
}

// A small angle, |r| up to pi/4, as used for rotating by corrections.
inline void sinCosOfCorrection(double r, double &s, double &c)
{
    if (std::fabs(r) < 0.01)
        sinCosSmall(r, s, c);
    else
        sinCosKernel(r, s, c);
}

inline void sinCos(double x, double &s, double &c)
{
    if (!(std::fabs(x) < 1.0e5)) {
        s = std::sin(x);
        c = std::cos(x);
        return;
    }
    constexpr double twoOverPi = 6.36619772367581382433e-01;
    constexpr double pio2a = 1.57079632673412561417e+00; // 33 bits: k * pio2a is exact
    constexpr double pio2b = 6.07710050630396597660e-11;
    constexpr double pio2c = 2.02226624871116645580e-21;
    constexpr double roundingShift =
        6755399441055744.0; // 1.5 * 2^52: adding it rounds to an integer
    const double k = (x * twoOverPi + roundingShift) - roundingShift;
    const double r = ((x - k * pio2a) - k * pio2b) - k * pio2c;
    double sr, cr;
    sinCosKernel(r, sr, cr);
    switch (static_cast<long>(k) & 3) {
    case 0:
        s = sr, c = cr;
        break;
    case 1:
        s = cr, c = -sr;
        break;
    case 2:
        s = -sr, c = -cr;
        break;
    default:
        s = -cr, c = sr;
        break;
    }
}

inline double sin(double x)
{
    double s, c;
    sinCos(x, s, c);
    return s;
}

inline double cos(double x)
{
    double s, c;
    sinCos(x, s, c);
    return c;
}

} // namespace orbit::trig
