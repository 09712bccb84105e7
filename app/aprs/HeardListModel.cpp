// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/HeardListModel.h"

#include "platform/DateTime.h"

#include <limits>

namespace aprs {

QString oneLine(const QString &text)
{
    QString line = text;
    for (QChar &c : line) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Other_Format ||
            category == QChar::Separator_Line || category == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return line;
}

void HeardListModel::setStations(std::vector<HeardStation> stations)
{
    beginResetModel();
    stations_ = std::move(stations);
    endResetModel();
}

int HeardListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(stations_.size());
}

int HeardListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant HeardListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() ||
        (role != Qt::DisplayRole && role != sortRole && role != Qt::TextAlignmentRole))
        return {};
    const HeardStation &station = stations_[static_cast<std::size_t>(index.row())];
    const int column = index.column();
    const bool numeric =
        column == CountColumn || column == DistanceColumn || column == BearingColumn;
    if (role == Qt::TextAlignmentRole)
        return numeric ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    const bool sort = role == sortRole;
    switch (column) {
    case CallsignColumn:
        return oneLine(station.callsign);
    case ViaColumn:
        if (station.viaSatellite && station.direct)
            return QStringLiteral("ORVEX-1 and direct");
        return station.viaSatellite ? QStringLiteral("ORVEX-1") : QStringLiteral("direct");
    case FirstColumn:
    case LastColumn: {
        const qint64 ms = column == FirstColumn ? station.firstMs : station.lastMs;
        if (sort)
            return ms;
        return orvex::UtcText::text(ms, orvex::UtcText::Style::Display);
    }
    case CountColumn:
        return sort ? QVariant(station.count) : QVariant(QString::number(station.count));
    case LocatorColumn:
        return station.locator;
    case DistanceColumn:
        if (sort)
            return station.distanceKm.value_or(std::numeric_limits<double>::max());
        return station.distanceKm ? QString::number(*station.distanceKm, 'f', 0) : QString();
    case BearingColumn:
        if (sort)
            return station.bearingDeg.value_or(std::numeric_limits<double>::max());
        return station.bearingDeg ? QString::number(*station.bearingDeg, 'f', 0) : QString();
    case SymbolColumn:
        return oneLine(station.symbol);
    case CommentColumn:
        return oneLine(station.comment);
    default:
        return {};
    }
}

QVariant HeardListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case CallsignColumn:
        return QStringLiteral("Station");
    case ViaColumn:
        return QStringLiteral("Heard");
    case FirstColumn:
        return QStringLiteral("First (UTC)");
    case LastColumn:
        return QStringLiteral("Last (UTC)");
    case CountColumn:
        return QStringLiteral("Times");
    case LocatorColumn:
        return QStringLiteral("Locator");
    case DistanceColumn:
        return QStringLiteral("km");
    case BearingColumn:
        return QStringLiteral("Bearing");
    case SymbolColumn:
        return QStringLiteral("Symbol");
    case CommentColumn:
        return QStringLiteral("Comment or status");
    default:
        return {};
    }
}

} // namespace aprs
