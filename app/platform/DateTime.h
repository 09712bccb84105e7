// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDateTime>
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
// A Date read as wall-clock time (no zone): for dates already converted to
// local time for display.
QDateTime dateToWallClock(Date date);
Date wallClockToDate(const QDateTime &wallClock);

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
};

} // namespace orvex
