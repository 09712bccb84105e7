// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/Status.h"
#include "orbitengine/Tle.h"

// SGP4 and SDP4 (Hoots and Roehrich, Spacetrack Report #3, 1980, with the
// corrections of Vallado, Crawford, Hujsak and Kelso, AIAA 2006-6753), WGS-72
// constants. Output is in the TEME frame of the element set's epoch.
namespace orbit {

struct StateVector
{
    double position[3] = {0, 0, 0}; // km, TEME
    double velocity[3] = {0, 0, 0}; // km/s, TEME
};

class Sgp4
{
public:
    Sgp4() = default;

    // Prepares the propagator; a failed status (codes 1, 2 or 4) leaves it unusable.
    Status init(const ElementSet &elements);
    bool isReady() const { return ready_; }
    bool isDeepSpace() const { return deepSpace_; }
    const ElementSet &elements() const { return elements_; }

    // State at `minutes` after the epoch. Never yields NaN: any failure is a status.
    // Not const: the resonance integrator keeps its last step to continue from it.
    Status propagate(double minutes, StateVector &out);

    // Mean motion of the element set, radians per minute (after un-Kozai).
    double meanMotionRadPerMin() const { return noUnkozai_; }

private:
    // Lunar-solar terms and the resonance of the deep-space model.
    struct Deep
    {
        int irez = 0; // 0 none, 1 one-day (synchronous), 2 half-day resonance
        double d2201 = 0, d2211 = 0, d3210 = 0, d3222 = 0, d4410 = 0, d4422 = 0, d5220 = 0;
        double d5232 = 0, d5421 = 0, d5433 = 0, dedt = 0, del1 = 0, del2 = 0, del3 = 0;
        double didt = 0, dmdt = 0, dnodt = 0, domdt = 0, e3 = 0, ee2 = 0, se2 = 0, se3 = 0;
        double sgh2 = 0, sgh3 = 0, sgh4 = 0, sh2 = 0, sh3 = 0, si2 = 0, si3 = 0, sl2 = 0;
        double sl3 = 0, sl4 = 0, gsto = 0, xfact = 0, xgh2 = 0, xgh3 = 0, xgh4 = 0, xh2 = 0;
        double xh3 = 0, xi2 = 0, xi3 = 0, xl2 = 0, xl3 = 0, xl4 = 0, xlamo = 0, zmol = 0;
        double zmos = 0;
        // Integrator state: the last whole step reached, kept between calls.
        double atime = 0, xli = 0, xni = 0;
        bool derivativesValid = false;
        double xndt = 0, xldot = 0, xnddt = 0; // at atime
    };

    void initDeepSpace(double epochDays, double eccsq, double xpidot);
    Status deepSecular(double t, double &em, double &argpm, double &inclm, double &mm,
                       double &nodem, double &nm);
    void deepPeriodics(double t, double &ep, double &inclp, double &nodep, double &argpp,
                       double &mp, double &sinip, double &cosip) const;

    ElementSet elements_;
    bool ready_ = false;
    bool deepSpace_ = false;
    bool simple_ = false; // perigee below 220 km, or deep space: fewer drag terms

    // Mean elements at epoch (radians, radians per minute).
    double ecco_ = 0, inclo_ = 0, nodeo_ = 0, argpo_ = 0, mo_ = 0, noUnkozai_ = 0, bstar_ = 0;
    double ao_ = 0; // semi-major axis at epoch, Earth radii
    // Secular and drag constants.
    double aycof_ = 0, con41_ = 0, cc1_ = 0, cc4_ = 0, cc5_ = 0, d2_ = 0, d3_ = 0, d4_ = 0;
    double delmo_ = 0, eta_ = 0, argpdot_ = 0, omgcof_ = 0, sinmao_ = 0, t2cof_ = 0;
    double t3cof_ = 0, t4cof_ = 0, t5cof_ = 0, x1mth2_ = 0, x7thm1_ = 0, mdot_ = 0;
    double nodedot_ = 0, xlcof_ = 0, xmcof_ = 0, nodecf_ = 0, sinio_ = 0, cosio_ = 1;
    Deep deep_;
};

} // namespace orbit
