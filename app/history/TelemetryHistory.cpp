// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/TelemetryHistory.h"

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

StoreReader *TelemetryHistory::reader()
{
    database::Connection *connection = available() ? store_.database().reader() : nullptr;
    reader_.setConnection(connection);
    return connection ? &reader_ : nullptr;
}

} // namespace history
