// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

// What the telemetry history offers its readers (the plot window, the
// export): channels named by where the grids show them, and their values
// over UTC time.
namespace history {

// One place of the grids: grid (telemetry::GridIndex), row (1 = first data
// row, as in the grid) and side (0 = A, 1 = B).
struct ChannelKey
{
    int grid = 0;
    int row = 1;
    int side = 0;
    auto operator<=>(const ChannelKey &) const = default;
};

// One stored value: when it was heard (ms since 1970-01-01 UTC), the raw
// channel value and its calibrated value in the channel's unit.
struct ChannelPoint
{
    qint64 utcMs = 0;
    double raw = 0;
    double value = 0;
};

// A closed interval of UTC time in ms since 1970-01-01.
struct TimeSpan
{
    qint64 fromMs = 0;
    qint64 toMs = 0;
};

// What a channel is called and measured in, and the limits its values
// should keep (engineering units; none where no limit is set).
struct ChannelInfo
{
    QString name; // e.g. "TEMP Battery A"
    QString unit; // "mA", "V", "W", "°C"
    std::optional<double> low;
    std::optional<double> high;
};

// A stored value with the frame it came from, for the export.
struct ChannelRecord
{
    ChannelKey key;
    ChannelPoint point;
    QString source; // the callsign it was heard from; empty where unknown
    int mode = -1;  // -1 where unknown
    QString label;  // the line's first field
};

// Read access to stored channel values.
class ChannelSource
{
public:
    virtual ~ChannelSource() = default;
    // The channels that hold at least one calibrated value.
    virtual QList<ChannelKey> channels() const = 0;
    virtual ChannelInfo info(const ChannelKey &key) const = 0;
    // The calibrated values of one channel heard in [fromMs, toMs], by time.
    virtual std::vector<ChannelPoint> series(const ChannelKey &key, qint64 fromMs,
                                             qint64 toMs) const = 0;
    // From the first to the last value stored; nothing when the store is empty.
    virtual std::optional<TimeSpan> storedSpan() const = 0;
    // The values of one channel in [fromMs, toMs] with their frames, by time.
    // A source that keeps no frames gives them without source, mode and label.
    virtual std::vector<ChannelRecord> records(const ChannelKey &key, qint64 fromMs,
                                               qint64 toMs) const
    {
        std::vector<ChannelRecord> found;
        for (const ChannelPoint &point : series(key, fromMs, toMs))
            found.push_back({key, point, {}, -1, {}});
        return found;
    }
};

} // namespace history
