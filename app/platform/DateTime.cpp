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

QTimeZone &localZoneOverride()
{
    static QTimeZone zone;
    return zone;
}

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
    // Kept in UTC, which has no gaps: as a local time of the machine, a time
    // that its zone skips at a daylight-saving change would come out
    // invalid, and every conversion would consult the zone files.
    return dateToUtc(date);
}

Date wallClockToDate(const QDateTime &wallClock)
{
    return utcToDate(QDateTime(wallClock.date(), wallClock.time(), Qt::UTC));
}

SystemTime toSystemTime(const QDateTime &when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    SystemTime st;
    st.year = d.year();
    st.month = d.month();
    st.dayOfWeek = d.dayOfWeek() % 7;
    st.day = d.day();
    st.hour = t.hour();
    st.minute = t.minute();
    st.second = t.second();
    st.milliseconds = t.msec();
    return st;
}

QDateTime fromSystemTime(const SystemTime &time, const QTimeZone &zone)
{
    const QDate d(time.year, time.month, time.day);
    const QTime t(time.hour, time.minute, time.second, time.milliseconds);
    if (!d.isValid() || !t.isValid() || !zone.isValid())
        return {};
    return QDateTime(d, t, zone);
}

QDateTime Clock::nowUtc()
{
    if (clockSource())
        return clockSource()().toUTC();
    return QDateTime::currentDateTimeUtc();
}

void Clock::setSource(std::function<QDateTime()> source)
{
    clockSource() = std::move(source);
}

void Clock::setFixed(const QDateTime &when)
{
    setSource([when] { return when; });
}

QTimeZone Clock::localZone()
{
    if (localZoneOverride().isValid())
        return localZoneOverride();
    return QTimeZone::systemTimeZone();
}

void Clock::setLocalZone(const QTimeZone &zone)
{
    localZoneOverride() = zone;
}

} // namespace orvex
