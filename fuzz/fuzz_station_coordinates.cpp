// SPDX-License-Identifier: GPL-2.0-or-later
// Coordinates are typed by the operator: any text is accepted in display
// form or refused, an accepted text is accepted again unchanged and survives
// the trip through its stored form, and any position gives a locator or none.
#include "settings/StationCoordinates.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {
bool isLocator(const QString &l)
{
    if (l.isEmpty())
        return true;
    if (l.size() != 6)
        return false;
    const auto in = [&](int i, char lo, char hi) { return l[i] >= QChar(lo) && l[i] <= QChar(hi); };
    return in(0, 'A', 'R') && in(1, 'A', 'R') && in(2, '0', '9') && in(3, '0', '9') &&
           in(4, 'A', 'X') && in(5, 'A', 'X');
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size >= 8) {
        float lat, lon;
        std::memcpy(&lat, data, 4);
        std::memcpy(&lon, data + 4, 4);
        if (!isLocator(orvex::locatorFromMinutes(lat, lon)))
            std::abort();
    }
    const QString typed =
        QString::fromLatin1(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    for (bool longitude : {false, true}) {
        (void)orvex::coordinateDisplayText(typed, longitude);
        (void)orvex::coordinateStoredText(typed, longitude);
        for (bool emptyAllowed : {false, true}) {
            const std::optional<QString> display =
                orvex::coordinateFromInput(typed, longitude, emptyAllowed);
            if (!display || display->isEmpty())
                continue;
            if (orvex::coordinateFromInput(*display, longitude, false) != display)
                std::abort();
            const QString stored = orvex::coordinateStoredText(*display, longitude);
            if (orvex::coordinateDisplayText(stored, longitude) != *display)
                std::abort();
        }
    }
    return 0;
}
