// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/DateTime.h"

#include <cmath>

namespace orvex {
namespace {

const QDateTime &epochUtc()
{
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    return epoch;
}

std::function<QDateTime()> &clockSource()
{
    static std::function<QDateTime()> source;
    return source;
}

constexpr double msPerDay = 86400000.0;

} // namespace

QDateTime dateToUtc(Date date)
{
    return epochUtc().addMSecs(static_cast<qint64>(std::llround(date * msPerDay)));
}

Date utcToDate(const QDateTime &when)
{
    return static_cast<double>(epochUtc().msecsTo(when.toUTC())) / msPerDay;
}

QDateTime dateToWallClock(Date date)
{
    const QDateTime utc = dateToUtc(date);
    return QDateTime(utc.date(), utc.time());
}

Date wallClockToDate(const QDateTime &wallClock)
{
    return utcToDate(QDateTime(wallClock.date(), wallClock.time(), Qt::UTC));
}

QDateTime Clock::nowUtc()
{
    if (clockSource())
        return clockSource()().toUTC();
    return QDateTime::currentDateTimeUtc();
}

void Clock::setSource(std::function<QDateTime()> source) { clockSource() = std::move(source); }

void Clock::setFixed(const QDateTime &when)
{
    setSource([when] { return when; });
}

} // namespace orvex
