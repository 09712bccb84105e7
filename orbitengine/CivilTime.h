// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Julian dates (UTC) to and from calendar dates, proleptic Gregorian.
namespace orbit {

struct CivilTime
{
    long long year = 0;
    int month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Julian date of a calendar date and time of day (seconds may carry a fraction).
double julianDate(long long year, int month, int day, int hour, int minute, double second);

// Milliseconds since 1970-01-01 00:00 UTC of a Julian date, rounded.
long long unixMilliseconds(double jd);
double julianDateOfUnixMilliseconds(long long ms);

CivilTime civilTime(long long unixMs);

} // namespace orbit
