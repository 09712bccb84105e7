// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/Status.h"
#include "orbitengine/Tle.h"

namespace orbit {

// Refuses element values that no real orbit has: inclination outside 0 to
// 180 degrees, eccentricity outside [0, 1), mean motion outside 0.05 to 20
// revolutions a day, angles outside 0 to 360 degrees, a perigee inside the
// Earth. Ok, or BadElements with the value and the bound in its reason.
Status checkOrbitElements(const ElementSet &elements);

} // namespace orbit
