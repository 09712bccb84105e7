// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "database/StationDatabase.h"

#include <QDate>
#include <QTime>
#include <QTimeZone>
#include <vector>

// The record of how the station showed times: from when it showed them in
// UTC or in local time (Use Local Time), and in which local zone. The
// monitor, and so the daily logs, print a frame's time in the zone of the
// moment with nothing to tell which; this record is what tells it when a
// log is read back.
namespace history {

//   display_zone(since_ms, local, zone)   one row per start and change
const database::SchemaPart &displayZoneSchema();

class DisplayZones
{
public:
    struct Period
    {
        qint64 sinceMs = 0;
        bool local = false;
        QTimeZone zone; // the machine's local zone then (names the log files)
    };

    // What a log's header time can stand for.
    struct Readings
    {
        std::vector<qint64> moments; // distinct UTC instants (ms); one when certain
        bool unrecorded = false;     // a reading falls before the first record
    };

    // Queues a row: from `sinceMs` on, times were shown as `local` says.
    static void record(database::StationDatabase &database, qint64 sinceMs, bool local,
                       const QTimeZone &zone);
    // The rows stored; empty where none are or the table cannot be read.
    static DisplayZones read(database::Connection *connection);

    explicit DisplayZones(std::vector<Period> periods = {});

    // The moments a header time of the log named `day` (the local calendar
    // day of its writing) can stand for. Before the first record the zone
    // is unknown: both readings in today's local zone count.
    Readings readings(const QDate &day, const QTime &time) const;

private:
    std::vector<Period> periods_; // by time, neighbours differ
};

} // namespace history
