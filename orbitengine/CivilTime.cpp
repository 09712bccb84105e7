// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/CivilTime.h"

#include <cmath>

namespace orbit {
namespace {

// Days since 1970-01-01 (the era arithmetic of H. Hinnant's date algorithms).
long long daysFromCivil(long long y, int m, int d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

} // namespace

double julianDate(long long year, int month, int day, int hour, int minute, double second)
{
    return julianDateOfUnixEpoch + static_cast<double>(daysFromCivil(year, month, day)) +
           (hour * 3600.0 + minute * 60.0 + second) / secondsPerDay;
}

long long unixMilliseconds(double jd)
{
    return std::llround((jd - julianDateOfUnixEpoch) * static_cast<double>(msPerDay));
}

double julianDateOfUnixMilliseconds(long long ms)
{
    return julianDateOfUnixEpoch + static_cast<double>(ms) / static_cast<double>(msPerDay);
}

CivilTime civilTime(long long unixMs)
{
    long long days = unixMs / msPerDay;
    long long rest = unixMs % msPerDay;
    if (rest < 0) {
        rest += msPerDay;
        --days;
    }
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    CivilTime c;
    c.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    c.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    c.year = yoe + era * 400 + (c.month <= 2 ? 1 : 0);
    c.hour = static_cast<int>(rest / 3600000);
    c.minute = static_cast<int>(rest / 60000 % 60);
    c.second = static_cast<int>(rest / 1000 % 60);
    c.millisecond = static_cast<int>(rest % 1000);
    return c;
}

} // namespace orbit
