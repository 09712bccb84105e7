// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The engine's one time module: Julian dates (UTC) to and from calendar
// dates (proleptic Gregorian), Unix milliseconds and the program's Dates.
// Every day length and epoch of the engine is named here.
namespace orbit {

inline constexpr double secondsPerDay = 86400.0;
inline constexpr double minutesPerDay = 1440.0;
inline constexpr long long msPerDay = 86400000;
// Julian date of 1899-12-30 00:00 UTC, from which the program's Dates count days.
inline constexpr double julianDateOfDateZero = 2415018.5;
// Julian date of 1970-01-01 00:00 UTC.
inline constexpr double julianDateOfUnixEpoch = 2440587.5;
// Julian date of J2000.0 (2000-01-01 12:00), the epoch of the Sun and sidereal time formulae.
inline constexpr double julianDateOfJ2000 = 2451545.0;

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
