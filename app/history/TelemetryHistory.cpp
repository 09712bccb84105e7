// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/TelemetryHistory.h"

#include "database/Connection.h"
#include "platform/DateTime.h"

#include <QFile>

namespace history {

TelemetryHistory::TelemetryHistory(database::StationDatabase &database,
                                   const QString &programFolder, QObject *parent)
    : QObject(parent), folder_(programFolder), store_(database)
{
}

QStringList TelemetryHistory::open()
{
    QStringList notices = limits_.load(folder_ + QStringLiteral("limits.txt"));
    reader_.setLimits(limits_);
    QFile formulas(folder_ + QStringLiteral("formula.txt"));
    store_.useFormulaSet(formulas.open(QIODevice::ReadOnly) ? formulas.readAll() : QByteArray());
    return notices;
}

bool TelemetryHistory::available() const
{
    return store_.database().state() != database::StationDatabase::State::Unusable;
}

void TelemetryHistory::record(const QString &source, const QString &line,
                              const std::optional<TelemetryDecoder::Frame> &frame)
{
    if (!frame || !available())
        return;
    store_.add({orvex::Clock::nowUtc().toMSecsSinceEpoch(), source, line, *frame});
}

std::vector<telemetry::StoredValue>
TelemetryHistory::lastValues(const std::function<orvex::Date(qint64 utcMs)> &displayTimeOf)
{
    std::vector<telemetry::StoredValue> values;
    database::Connection *connection = available() ? store_.database().reader() : nullptr;
    if (!connection)
        return values;
    // Within a side each mode fills places of its own: the last frame of
    // each side and mode holds the last value of each of its places, found
    // through the index by side, mode and time.
    database::Query last =
        connection->prepare("SELECT id, utc_ms, label FROM frame WHERE side = ?1 AND mode = ?2"
                            " ORDER BY utc_ms DESC LIMIT 1");
    database::Query channels =
        connection->prepare("SELECT grid, row, value FROM channel_value WHERE frame_id = ?1"
                            " AND grid IS NOT NULL AND value IS NOT NULL");
    if (!last || !channels)
        return values;
    for (int side = 0; side < telemetry::sideCount; ++side) {
        for (int mode = 0; mode < telemetry::modeCount; ++mode) {
            last.reset();
            last.bind(1, side).bind(2, mode);
            if (!last.next())
                continue;
            const orvex::Date heard = displayTimeOf(last.int64(1));
            const QString label = last.text(2);
            channels.reset();
            channels.bind(1, last.int64(0));
            while (channels.next())
                values.push_back({channels.integer(0), channels.integer(1), side, channels.real(2),
                                  label, heard});
        }
    }
    return values;
}

BackgroundReader::Opener TelemetryHistory::sourceOpener() const
{
    return [database = &store_.database(), limits = limits_]() -> std::unique_ptr<ChannelSource> {
        std::unique_ptr<database::Connection> connection = database->openReader();
        if (!connection)
            return nullptr;
        auto source = std::make_unique<StoreReader>(std::move(connection));
        source->setLimits(limits);
        return source;
    };
}

StoreReader *TelemetryHistory::reader()
{
    database::Connection *connection = available() ? store_.database().reader() : nullptr;
    reader_.setConnection(connection);
    return connection ? &reader_ : nullptr;
}

} // namespace history
