// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "orbitengine/CivilTime.h"

#include <QDateTime>
#include <QTimeZone>
#include <functional>
#include <string>
#include <string_view>

// The program's one time module: its Date numbers, broken-down time, Julian
// dates (the orbit engine's time) and Unix milliseconds (the store's time)
// convert here, and UTC instants become ISO 8601 text here. A Date is a
// double counting days since 1899-12-30 00:00, the fraction being the time
// of day. Nothing else in the program does calendar arithmetic.
namespace orvex {

using Date = double;

inline constexpr double secondsPerDay = orbit::secondsPerDay;
inline constexpr double minutesPerDay = orbit::minutesPerDay;

// Julian date (UTC) of a Date, and back.
double julianDateOf(Date date);
Date dateOfJulianDate(double jd);
// Milliseconds since 1970-01-01 00:00 UTC of a Julian date (rounded), and back.
qint64 unixMsOfJulianDate(double jd);
double julianDateOfUnixMs(qint64 unixMs);
// Milliseconds since 1970-01-01 00:00 UTC of a Date (rounded), and back.
qint64 unixMsOf(Date date);
Date dateOfUnixMs(qint64 unixMs);

// UTC instants as text: "2026-12-08T10:15:03.250Z" (IsoMilliseconds, the
// program's files and exports), "2026-12-08T10:15:03Z" (IsoSeconds) or
// "2026-12-08 10:15:03" (Display). The date part is kept while consecutive
// times share a day, so an export of millions of values pays for the
// calendar once a day.
class UtcText
{
public:
    enum class Style { IsoMilliseconds, IsoSeconds, Display };
    explicit UtcText(Style style = Style::IsoMilliseconds) : style_(style) {}
    // Valid until the next call.
    std::string_view of(qint64 unixMs);
    static QString text(qint64 unixMs, Style style = Style::IsoMilliseconds);
    static QString text(const QDateTime &when, Style style = Style::IsoMilliseconds);

private:
    Style style_;
    long long day_ = 0;
    std::string text_;
    std::size_t dateLength_ = 0;
};

// Date (UTC) -> QDateTime in UTC, rounded to the millisecond.
QDateTime dateToUtc(Date date);
// Any QDateTime -> Date of the same instant in UTC.
Date utcToDate(const QDateTime &when);
// A Date read as wall-clock time: for dates already converted to local time
// for display. Only its date and time fields are meaningful (it is held in
// UTC, so that no zone can move or void it).
QDateTime dateToWallClock(Date date);
Date wallClockToDate(const QDateTime &wallClock);

// Broken-down time as the platform clock gives it (in the manner of a
// Windows SYSTEMTIME): day of week 0 = Sunday.
struct SystemTime
{
    int year = 0, month = 0, dayOfWeek = 0, day = 0;
    int hour = 0, minute = 0, second = 0, milliseconds = 0;
};
SystemTime toSystemTime(const QDateTime &when);
// Invalid QDateTime when the fields do not form a time.
QDateTime fromSystemTime(const SystemTime &time, const QTimeZone &zone);

// The one clock of the program. Tests replace it to set the time.
class Clock
{
public:
    // Current time, UTC.
    static QDateTime nowUtc();
    // The same as a Julian date (UTC).
    static double nowJulianDate();
    // Replace the clock; an empty function restores the system clock.
    static void setSource(std::function<QDateTime()> source);
    // Convenience for tests: a clock frozen at `when` (UTC).
    static void setFixed(const QDateTime &when);
    // The zone of local time; the system's zone unless a test set another.
    static QTimeZone localZone();
    // An invalid zone restores the system's zone.
    static void setLocalZone(const QTimeZone &zone);
};

} // namespace orvex
