// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <functional>

// The program's one conversion between its Date numbers and broken-down time.
// A Date is a double counting days since 1899-12-30 00:00, the fraction being
// the time of day. Nothing else in the program does calendar arithmetic.
namespace orvex {

using Date = double;

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
