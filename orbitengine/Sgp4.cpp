// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Sgp4.h"

namespace orbit {

Status Sgp4::init(const ElementSet &elements)
{
    elements_ = elements;
    return {StatusCode::BadElements, "propagator not yet available"};
}

Status Sgp4::propagate(double, StateVector &out)
{
    out = StateVector{};
    return {StatusCode::BadElements, "propagator not yet available"};
}

} // namespace orbit
