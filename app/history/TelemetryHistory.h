// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelLimits.h"
#include "history/TelemetryStore.h"

#include <QObject>
#include <QTimer>

// The main window's telemetry history: every line the grids take goes to the
// store (telemetry.db beside the settings file), committed in batches at
// most commitIntervalMs after it arrived, so a flood costs one commit per
// batch. Limits come from limits.txt in the same folder.
//
// When the store cannot be opened or written, failed() is emitted once and
// the history is off for the rest of the run; the grids never depend on it.
namespace history {

class TelemetryHistory : public QObject
{
    Q_OBJECT
public:
    static constexpr int commitIntervalMs = 250;

    // programFolder ends with a separator, as frmORVEX::strAppPath() does.
    explicit TelemetryHistory(const QString &programFolder, QObject *parent = nullptr);
    ~TelemetryHistory() override;

    // Reads limits.txt and opens the store with formula.txt's calibration.
    // False (after failed()) when there is no history this run.
    bool open();

    // One line the grids took, heard now.
    void record(const QString &source, const QString &line,
                const std::optional<TelemetryDecoder::Frame> &frame);
    // Commits what is pending.
    void flush();

    // The open store, or null when the history is off.
    TelemetryStore *store() { return store_.isOpen() ? &store_ : nullptr; }
    const ChannelLimits &limits() const { return limits_; }
    QString storePath() const { return folder_ + QStringLiteral("telemetry.db"); }

signals:
    // The store cannot be used; said once per run.
    void failed(const QString &message);

private:
    void stop(const QString &why);

    QString folder_;
    TelemetryStore store_;
    ChannelLimits limits_;
    QTimer commitTimer_;
    bool failed_ = false;
};

} // namespace history
