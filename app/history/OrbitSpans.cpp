// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/OrbitSpans.h"

#include "orbit/TrackingContext.h"
#include "platform/DateTime.h"

namespace history {

namespace {
// The telemetry the store holds is ORVEX's.
constexpr int orvex = 0;
// A pass under way at the start of the span is shaded too.
constexpr double lookBackDays = 0.5 / 24;
} // namespace

std::vector<TimeSpan> OrbitSpans::shadows(qint64 fromMs, qint64 toMs) const
{
    std::vector<TimeSpan> spans;
    const SatObject &satellite = context_.satellite(orvex);
    if (!satellite.elementSetFound)
        return spans;
    const orbit::EclipseSearch search = context_.sats().shadows(
        satellite.name, orvex::julianDateOfUnixMs(fromMs), orvex::julianDateOfUnixMs(toMs));
    for (const orbit::Eclipse &eclipse : search.eclipses)
        spans.push_back({orvex::unixMsOfJulianDate(eclipse.entryJd),
                         orvex::unixMsOfJulianDate(eclipse.exitJd)});
    return spans;
}

std::vector<TimeSpan> OrbitSpans::passes(qint64 fromMs, qint64 toMs) const
{
    std::vector<TimeSpan> spans;
    if (!context_.canLookAt(orvex))
        return spans;
    const orbit::PassSearch search = context_.sats().passes(
        context_.satellite(orvex).name, orvex::julianDateOfUnixMs(fromMs) - lookBackDays,
        orvex::julianDateOfUnixMs(toMs));
    for (const orbit::Pass &pass : search.passes)
        spans.push_back(
            {orvex::unixMsOfJulianDate(pass.aosJd), orvex::unixMsOfJulianDate(pass.losJd)});
    return spans;
}

} // namespace history
