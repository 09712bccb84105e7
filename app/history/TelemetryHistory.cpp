// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/TelemetryHistory.h"

#include "platform/DateTime.h"

#include <QDir>
#include <QFile>

namespace history {

TelemetryHistory::TelemetryHistory(const QString &programFolder, QObject *parent)
    : QObject(parent), folder_(programFolder)
{
    commitTimer_.setSingleShot(true);
    commitTimer_.setInterval(commitIntervalMs);
    connect(&commitTimer_, &QTimer::timeout, this, &TelemetryHistory::flush);
}

TelemetryHistory::~TelemetryHistory()
{
    flush();
}

bool TelemetryHistory::open()
{
    limits_.load(folder_ + QStringLiteral("limits.txt"));
    store_.setLimits(limits_);
    QFile formulas(folder_ + QStringLiteral("formula.txt"));
    const QByteArray calibration =
        formulas.open(QIODevice::ReadOnly) ? formulas.readAll() : QByteArray();
    if (!store_.open(storePath()) || !store_.useFormulaSet(calibration) || !store_.commit()) {
        stop(store_.errorText());
        return false;
    }
    return true;
}

void TelemetryHistory::record(const QString &source, const QString &line,
                              const std::optional<TelemetryDecoder::Frame> &frame)
{
    if (!frame || !store_.isOpen())
        return;
    const HeardFrame heard{orvex::Clock::nowUtc().toMSecsSinceEpoch(), source, line, *frame};
    if (store_.add(heard) == TelemetryStore::Added::Failed) {
        stop(store_.errorText());
        return;
    }
    if (!commitTimer_.isActive())
        commitTimer_.start();
}

void TelemetryHistory::flush()
{
    commitTimer_.stop();
    if (store_.isOpen() && !store_.commit())
        stop(store_.errorText());
}

void TelemetryHistory::stop(const QString &why)
{
    commitTimer_.stop();
    store_.close();
    if (failed_)
        return;
    failed_ = true;
    emit failed(QStringLiteral("The telemetry history %1 cannot be used: %2. The program goes on "
                               "without it; the grids are not affected.")
                    .arg(QDir::toNativeSeparators(storePath()), why));
}

} // namespace history
