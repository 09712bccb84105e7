// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/DateTime.h"

#include <cmath>
#include <cstdio>

namespace orvex {
namespace {

const QDateTime &epochUtc()
{
    static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    return epoch;
}

// Days from the Date zero to the Unix epoch: the two epochs' Julian dates apart.
constexpr double dateOfUnixEpoch = orbit::julianDateOfUnixEpoch - orbit::julianDateOfDateZero;

std::function<QDateTime()> &clockSource()
{
    static std::function<QDateTime()> source;
    return source;
}

constexpr auto msPerDay = static_cast<double>(orbit::msPerDay);

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

double julianDateOf(Date date)
{
    return date + orbit::julianDateOfDateZero;
}

Date dateOfJulianDate(double jd)
{
    return jd - orbit::julianDateOfDateZero;
}

qint64 unixMsOfJulianDate(double jd)
{
    return orbit::unixMilliseconds(jd);
}

double julianDateOfUnixMs(qint64 unixMs)
{
    return orbit::julianDateOfUnixMilliseconds(unixMs);
}

qint64 unixMsOf(Date date)
{
    return std::llround((date - dateOfUnixEpoch) * msPerDay);
}

Date dateOfUnixMs(qint64 unixMs)
{
    return dateOfUnixEpoch + static_cast<double>(unixMs) / msPerDay;
}

std::string_view UtcText::of(qint64 unixMs)
{
    long long days = unixMs / orbit::msPerDay;
    long long rest = unixMs % orbit::msPerDay;
    if (rest < 0) {
        rest += orbit::msPerDay;
        --days;
    }
    if (days != day_ || text_.empty()) {
        day_ = days;
        const orbit::CivilTime civil = orbit::civilTime(days * orbit::msPerDay);
        char date[32];
        const bool iso = style_ != Style::Display;
        std::snprintf(date, sizeof date, "%04lld-%02d-%02d%c", civil.year, civil.month, civil.day,
                      iso ? 'T' : ' ');
        text_ = date;
        dateLength_ = text_.size();
        text_ += style_ == Style::IsoMilliseconds ? "00:00:00.000Z"
                 : style_ == Style::IsoSeconds    ? "00:00:00Z"
                                                  : "00:00:00";
    }
    char *time = text_.data() + dateLength_;
    const auto put = [](char *at, long long value, int digits) {
        for (int index = digits - 1; index >= 0; --index, value /= 10)
            at[index] = static_cast<char>('0' + value % 10);
    };
    put(time, rest / 3600000, 2);
    put(time + 3, rest / 60000 % 60, 2);
    put(time + 6, rest / 1000 % 60, 2);
    if (style_ == Style::IsoMilliseconds)
        put(time + 9, rest % 1000, 3);
    return text_;
}

QString UtcText::text(qint64 unixMs, Style style)
{
    UtcText format(style);
    const std::string_view text = format.of(unixMs);
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QString UtcText::text(const QDateTime &when, Style style)
{
    return text(when.toMSecsSinceEpoch(), style);
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

double Clock::nowJulianDate()
{
    return julianDateOfUnixMs(nowUtc().toMSecsSinceEpoch());
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
