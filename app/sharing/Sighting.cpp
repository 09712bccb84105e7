// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/Sighting.h"

namespace sharing {

QString holdReason(const Sighting &sighting)
{
    switch (sighting.elements) {
    case Sighting::Elements::None:
        return QStringLiteral("No element set of ORVEX is loaded, so nothing shows that the "
                              "satellite could be heard.");
    case Sighting::Elements::Demo:
        return QStringLiteral("Only the demo station's invented element set of ORVEX is "
                              "loaded.");
    case Sighting::Elements::Real:
        break;
    }
    if (!sighting.look)
        return QStringLiteral("Where ORVEX stood cannot be worked out from its element set.");
    if (sighting.look->elevationDeg < lowestElevationDeg)
        return QStringLiteral("ORVEX was below the horizon (elevation %1°).")
            .arg(sighting.look->elevationDeg, 0, 'f', 1);
    return {};
}

} // namespace sharing
