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
    struct Resonance
    {
        double atime = 0, xli = 0, xni = 0;
    };
    Status deepSecular(double t, double &em, double &argpm, double &inclm, double &mm,
                       double &nodem, double &nm);
    void periodics(double t, double &ep, double &inclp, double &nodep, double &argpp,
                   double &mp) const;

    ElementSet elements_;
    bool ready_ = false;
    bool deepSpace_ = false;
    bool simple_ = false; // perigee below 220 km: drop some drag terms

    // Mean elements at epoch (radians, radians per minute).
    double ecco_ = 0, inclo_ = 0, nodeo_ = 0, argpo_ = 0, mo_ = 0, noUnkozai_ = 0, bstar_ = 0;
    // Near-Earth constants.
    double aycof_ = 0, con41_ = 0, cc1_ = 0, cc4_ = 0, cc5_ = 0, d2_ = 0, d3_ = 0, d4_ = 0;
    double delmo_ = 0, eta_ = 0, argpdot_ = 0, omgcof_ = 0, sinmao_ = 0, t2cof_ = 0, t3cof_ = 0;
    double t4cof_ = 0, t5cof_ = 0, x1mth2_ = 0, x7thm1_ = 0, mdot_ = 0, nodedot_ = 0, xlcof_ = 0;
    double xmcof_ = 0, nodecf_ = 0, cosio_ = 0, sinio_ = 0;
    // Deep-space constants.
    int irez_ = 0; // 0 none, 1 one-day (synchronous), 2 half-day resonance
    double d2201_ = 0, d2211_ = 0, d3210_ = 0, d3222_ = 0, d4410_ = 0, d4422_ = 0, d5220_ = 0;
    double d5232_ = 0, d5421_ = 0, d5433_ = 0, dedt_ = 0, del1_ = 0, del2_ = 0, del3_ = 0;
    double didt_ = 0, dmdt_ = 0, dnodt_ = 0, domdt_ = 0, e3_ = 0, ee2_ = 0, peo_ = 0, pgho_ = 0;
    double pho_ = 0, pinco_ = 0, plo_ = 0, se2_ = 0, se3_ = 0, sgh2_ = 0, sgh3_ = 0, sgh4_ = 0;
    double sh2_ = 0, sh3_ = 0, si2_ = 0, si3_ = 0, sl2_ = 0, sl3_ = 0, sl4_ = 0, gsto_ = 0;
    double xfact_ = 0, xgh2_ = 0, xgh3_ = 0, xgh4_ = 0, xh2_ = 0, xh3_ = 0, xi2_ = 0, xi3_ = 0;
    double xl2_ = 0, xl3_ = 0, xl4_ = 0, xlamo_ = 0, zmol_ = 0, zmos_ = 0;
    Resonance resonance_;
};

} // namespace orbit
