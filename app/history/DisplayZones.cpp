// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/DisplayZones.h"

#include "platform/DateTime.h"

#include <algorithm>
#include <limits>

namespace history {

namespace {

constexpr qint64 dayMs = 86400000;
// Header times are rounded to the second: one read a little before or after
// a change still belongs to its side of it.
constexpr qint64 slackMs = 1000;

} // namespace

const database::SchemaPart &displayZoneSchema()
{
    static const database::SchemaPart part{"display_zone", "time zone record", {R"sql(
    CREATE TABLE display_zone(since_ms INTEGER PRIMARY KEY, local INTEGER NOT NULL,
                              zone TEXT NOT NULL);
    )sql"}};
    return part;
}

void DisplayZones::record(database::StationDatabase &database, qint64 sinceMs, bool local,
                          const QTimeZone &zone)
{
    const QString zoneId = QString::fromUtf8(zone.id());
    database.write(
        [sinceMs, local, zoneId](database::Connection &connection) {
            database::Query insert = connection.cached(
                "INSERT OR REPLACE INTO display_zone(since_ms, local, zone) VALUES(?1, ?2, ?3)");
            return insert && insert.bind(1, sinceMs).bind(2, local ? 1 : 0).bind(3, zoneId).run();
        },
        {}, database::StationDatabase::Keep::Always);
}

DisplayZones DisplayZones::read(database::Connection *connection)
{
    std::vector<Period> periods;
    if (!connection)
        return DisplayZones();
    database::Query query =
        connection->prepare("SELECT since_ms, local, zone FROM display_zone ORDER BY since_ms");
    while (query && query.next()) {
        const QTimeZone zone(query.text(2).toUtf8());
        periods.push_back({query.int64(0), query.integer(1) != 0,
                           zone.isValid() ? zone : orvex::Clock::localZone()});
    }
    return DisplayZones(std::move(periods));
}

DisplayZones::DisplayZones(std::vector<Period> periods)
{
    std::sort(periods.begin(), periods.end(),
              [](const Period &a, const Period &b) { return a.sinceMs < b.sinceMs; });
    for (Period &period : periods)
        if (periods_.empty() || periods_.back().local != period.local ||
            periods_.back().zone != period.zone)
            periods_.push_back(std::move(period));
}

DisplayZones::Readings DisplayZones::readings(const QDate &day, const QTime &time) const
{
    Readings result;
    const auto add = [&result](qint64 moment) {
        if (std::find(result.moments.begin(), result.moments.end(), moment) == result.moments.end())
            result.moments.push_back(moment);
    };
    // The readings of one stretch [fromMs, toMs) shown in `zone`, local or
    // UTC; both while unknown.
    const auto readIn = [&](const QTimeZone &zone, bool asLocal, bool asUtc, qint64 fromMs,
                            qint64 toMs) {
        const auto inside = [&](qint64 moment) {
            return moment >= fromMs - slackMs && moment < toMs + slackMs;
        };
        bool found = false;
        if (asLocal) {
            const QDateTime local(day, time, zone);
            if (local.isValid() && local.time() == time && inside(local.toMSecsSinceEpoch())) {
                add(local.toMSecsSinceEpoch());
                found = true;
            }
        }
        if (asUtc)
            // The UTC day whose instant falls on the file's local day.
            for (int shift = -1; shift <= 1; ++shift) {
                const QDateTime utc(day.addDays(shift), time, QTimeZone::utc());
                if (utc.toTimeZone(zone).date() == day && inside(utc.toMSecsSinceEpoch())) {
                    add(utc.toMSecsSinceEpoch());
                    found = true;
                }
            }
        return found;
    };

    constexpr qint64 never = std::numeric_limits<qint64>::max() / 2;
    const qint64 firstMs = periods_.empty() ? never : periods_.front().sinceMs;
    if (readIn(orvex::Clock::localZone(), true, true, -never, firstMs))
        result.unrecorded = true;
    // Only the stretches near the day can hold one of its readings.
    const qint64 dayStart = QDateTime(day, QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    auto period = std::upper_bound(
        periods_.begin(), periods_.end(), dayStart - 2 * dayMs,
        [](qint64 moment, const Period &candidate) { return moment < candidate.sinceMs; });
    if (period != periods_.begin())
        --period;
    for (; period != periods_.end() && period->sinceMs < dayStart + 3 * dayMs; ++period) {
        const auto next = period + 1;
        const qint64 toMs = next == periods_.end() ? never : next->sinceMs;
        readIn(period->zone, period->local, !period->local, period->sinceMs, toMs);
    }
    return result;
}

} // namespace history
