// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "tracking/PassGeometry.h"

#include <QString>
#include <optional>
#include <vector>

// What the sky view shows at one moment, computed without a window. The
// pass and its track are kept until the pass is over, so the once-a-second
// update only places the satellite.
namespace tracking {

struct SkyView
{
    QString problem; // why nothing can be shown; empty when a pass is known
    std::optional<orbit::Pass> pass;
    std::vector<SkyPoint> track;
    bool inPass = false;
    double secondsToEvent = 0;         // to AOS, or to LOS during the pass
    std::optional<SkyPoint> live;      // the satellite now, while above the horizon
    std::optional<clsSats::Look> look; // where it stands now, above the horizon or not
    std::optional<orbit::RangeRate> range;
    std::optional<orbit::Illumination> light; // sunlight or the Earth's shadow
};

class SkyViewModel
{
public:
    explicit SkyViewModel(clsSats &sats) : sats_(sats) {}

    void setSatellite(const QString &name);
    // The element sets or the station changed: search the pass again.
    void invalidate() { cached_.reset(); }
    SkyView update(double nowJd);

private:
    clsSats &sats_;
    QString name_;
    std::optional<SkyView> cached_; // pass, track and problem of the last search
    double searchedAtJd_ = 0;
};

// "01:02:03", or "1 d 02:03:04" beyond a day; negative counts as zero.
QString countdownText(double seconds);
// "145.828 412 MHz"
QString frequencyText(double hz);
// "+3 412 Hz", "-15 Hz"
QString shiftText(double hz);

} // namespace tracking
