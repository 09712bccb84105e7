// SPDX-License-Identifier: GPL-2.0-or-later
#include "tracking/SkyViewModel.h"

#include "platform/DateTime.h"

#include <cmath>

namespace tracking {

namespace {
using orvex::secondsPerDay;
// A search that found nothing is tried again after this long.
constexpr double retryDays = 60.0 / secondsPerDay;

QString grouped(long long value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}
} // namespace

void SkyViewModel::setSatellite(const QString &name)
{
    if (name != name_)
        cached_.reset();
    name_ = name;
}

SkyView SkyViewModel::update(double nowJd)
{
    const bool passOver = cached_ && cached_->pass && nowJd > cached_->pass->losJd;
    const bool retry = cached_ && !cached_->pass && nowJd > searchedAtJd_ + retryDays;
    if (!cached_ || passOver || retry) {
        SkyView found;
        searchedAtJd_ = nowJd;
        if (name_.isEmpty()) {
            found.problem = QStringLiteral("No satellite is tracked.");
        } else {
            const NextPass next = currentOrNextPass(sats_, name_, nowJd);
            if (!next.status)
                found.problem = QStringLiteral("No position: %1")
                                    .arg(QString::fromStdString(next.status.reason()));
            else if (next.visibility == orbit::Visibility::NeverRises)
                found.problem =
                    QStringLiteral("%1 never rises above this station's horizon.").arg(name_);
            else if (next.visibility == orbit::Visibility::AlwaysInView)
                found.problem = QStringLiteral("%1 stays above the horizon.").arg(name_);
            else if (!next.pass)
                found.problem = QStringLiteral("No pass of %1 within two days.").arg(name_);
            else {
                found.pass = next.pass;
                found.track = skyTrack(sats_, name_, *next.pass);
            }
        }
        cached_ = found;
    }

    SkyView view = *cached_;
    if (!name_.isEmpty()) {
        view.look = sats_.lookAt(name_, nowJd);
        if (view.look)
            view.range = orbit::RangeRate{view.look->rangeKm, view.look->rangeRateKmPerS};
        view.light = sats_.illumination(name_, nowJd);
    }
    if (!view.pass)
        return view;
    view.inPass = nowJd >= view.pass->aosJd;
    view.secondsToEvent =
        ((view.inPass ? view.pass->losJd : view.pass->aosJd) - nowJd) * secondsPerDay;
    if (view.inPass && view.look && view.look->elevationDeg >= 0)
        view.live = SkyPoint{nowJd, view.look->azimuthDeg, view.look->elevationDeg};
    return view;
}

QString countdownText(double seconds)
{
    long long total = std::llround(std::max(0.0, seconds));
    constexpr auto secondsInADay = static_cast<long long>(secondsPerDay);
    const long long days = total / secondsInADay;
    total %= secondsInADay;
    const QString clock =
        QStringLiteral("%1:%2:%3")
            .arg(grouped(total / 3600, 2), grouped(total / 60 % 60, 2), grouped(total % 60, 2));
    return days > 0 ? QStringLiteral("%1 d %2").arg(days).arg(clock) : clock;
}

QString frequencyText(double hz)
{
    const long long whole = std::llround(hz);
    return QStringLiteral("%1.%2 %3 MHz")
        .arg(whole / 1000000)
        .arg(grouped(whole / 1000 % 1000, 3), grouped(whole % 1000, 3));
}

QString shiftText(double hz)
{
    const long long whole = std::llround(hz);
    const long long size = std::llabs(whole);
    const QString digits =
        size >= 1000 ? QStringLiteral("%1 %2").arg(size / 1000).arg(grouped(size % 1000, 3))
                     : QString::number(size);
    return (whole < 0 ? QStringLiteral("-") : QStringLiteral("+")) + digits + QStringLiteral(" Hz");
}

} // namespace tracking
