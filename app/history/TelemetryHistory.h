// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelLimits.h"
#include "history/TelemetryStore.h"

#include <QObject>

// The main window's telemetry history: every line the grids take goes to the
// store in the station database, committed in the database's batches.
// Limits come from limits.txt in the program folder. A file that refuses
// writes for a while holds nothing up: the database keeps them until it
// takes them again.
namespace history {

class TelemetryHistory : public QObject
{
    Q_OBJECT
public:
    // programFolder ends with a separator, as frmORVEX::strAppPath() does.
    TelemetryHistory(database::StationDatabase &database, const QString &programFolder,
                     QObject *parent = nullptr);

    // Reads limits.txt, and formula.txt as the calibration of what is
    // stored. Returns what was wrong in limits.txt, line by line.
    QStringList open();

    // One line the grids took, heard now.
    void record(const QString &source, const QString &line,
                const std::optional<TelemetryDecoder::Frame> &frame);

    // Whether the store can be used in this run.
    bool available() const;
    TelemetryStore &store() { return store_; }
    // The stored values over the station's read connection; null while the
    // file cannot be read.
    StoreReader *reader();
    const ChannelLimits &limits() const { return limits_; }

private:
    QString folder_;
    TelemetryStore store_;
    StoreReader reader_;
    ChannelLimits limits_;
};

} // namespace history
