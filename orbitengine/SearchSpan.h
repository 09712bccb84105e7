// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/Sgp4.h"
#include "orbitengine/Status.h"

#include <cmath>

// The span of a search over a satellite's time (passes, shadows), as both
// searches accept it.
namespace orbit {

// Ok when the propagator is initialised and [startJd, endJd] is finite, in
// order and at most 400 days long: a bound on the work of one request.
inline Status checkSearchSpan(const Sgp4 &satellite, double startJd, double endJd)
{
    constexpr double maxDays = 400.0;
    if (!satellite.isReady())
        return {StatusCode::BadElements, "propagator not initialised"};
    if (!std::isfinite(startJd) || !std::isfinite(endJd) || endJd < startJd ||
        endJd - startJd > maxDays)
        return {StatusCode::BadArgument, "search span empty, reversed or too long"};
    return Status::ok();
}

} // namespace orbit
