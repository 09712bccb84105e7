// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Passes.h"

namespace orbit {

PassSearch findPasses(Sgp4 &, const Observer &, double, double)
{
    PassSearch result;
    result.status = {StatusCode::NotConverged, "pass search not yet available"};
    return result;
}

} // namespace orbit
