// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "aprs/HeardStations.h"

#include <QAbstractTableModel>

#include <vector>

namespace aprs {

// The heard list as a table: one row per station, the columns below. The
// display texts are plain, on one line (control and format characters of
// outside texts become blanks); sortRole holds what a column sorts by
// (times and numbers as numbers, stations without a distance last).
class HeardListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column {
        CallsignColumn,
        ViaColumn,
        FirstColumn,
        LastColumn,
        CountColumn,
        LocatorColumn,
        DistanceColumn,
        BearingColumn,
        SymbolColumn,
        CommentColumn,
        ColumnCount
    };
    static constexpr int sortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void setStations(std::vector<HeardStation> stations);
    const std::vector<HeardStation> &stations() const { return stations_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<HeardStation> stations_;
};

// `text` on one plain line: control and format characters (line breaks,
// direction overrides, ...) become blanks.
QString oneLine(const QString &text);

} // namespace aprs
