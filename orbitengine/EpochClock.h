// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/CivilTime.h"
#include "orbitengine/Tle.h"

// The propagator's time, minutes since the element set's epoch, and Julian
// dates (UTC). The epoch stays in its whole and fractional days, as the
// element set has them, and the whole days are taken off first: that
// subtraction is exact, so minutes keep all the precision of the date.
namespace orbit {

class EpochClock
{
public:
    explicit EpochClock(const ElementSet &elements)
        : whole_(elements.epochJdWhole), fraction_(elements.epochJdFraction)
    {
    }

    double jd(double minutes) const { return whole_ + (fraction_ + minutes / minutesPerDay); }
    double minutes(double jd) const { return ((jd - whole_) - fraction_) * minutesPerDay; }

private:
    double whole_, fraction_;
};

} // namespace orbit
