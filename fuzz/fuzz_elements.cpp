// SPDX-License-Identifier: GPL-2.0-or-later
// Element files come from the network: any bytes must give sets or reasons,
// and every set read must propagate to finite numbers or a status.
#include "orbitengine/OrbitEngine.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const orbit::ElementText read = orbit::readElementText(text);
    for (const auto &set : read.sets) {
        orbit::Sgp4 sgp4;
        if (!sgp4.init(set))
            continue;
        for (double t : {-1440.0, 0.0, 97.5, 10080.0}) {
            orbit::StateVector s;
            if (!sgp4.propagate(t, s))
                continue;
            for (int k = 0; k < 3; ++k)
                if (!std::isfinite(s.position[k]) || !std::isfinite(s.velocity[k]))
                    std::abort();
        }
    }
    orbit::OrbitEngine engine;
    engine.addElementText(text);
    engine.SetObserverLatitude(38.98);
    engine.SetObserverLongitude(283.5);
    for (const auto &name : engine.names()) {
        orbit::Position p;
        engine.GetPosition(name, 2461382.5, p);
        if (!std::isfinite(p.azimuth) || !std::isfinite(p.altitudeKm))
            std::abort();
        std::string list;
        engine.ListPasses(name, 46364.0, 2, 1, 0, 0, list);
    }
    return 0;
}
