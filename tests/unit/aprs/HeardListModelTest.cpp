// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/HeardListModel.h"

#include <QSortFilterProxyModel>
#include <gtest/gtest.h>

namespace {

aprs::HeardStation station(const char *callsign, int count, std::optional<double> distanceKm,
                           const QString &comment = {})
{
    aprs::HeardStation s;
    s.callsign = QString::fromLatin1(callsign);
    s.count = count;
    s.distanceKm = distanceKm;
    s.comment = comment;
    return s;
}

QStringList callsignsSortedBy(QSortFilterProxyModel &sorted, int column)
{
    sorted.sort(column, Qt::AscendingOrder);
    QStringList callsigns;
    for (int row = 0; row < sorted.rowCount(); ++row)
        callsigns.append(sorted.index(row, aprs::HeardListModel::CallsignColumn).data().toString());
    return callsigns;
}

TEST(HeardListModel, SortsNumbersAsNumbersAndShowsOutsideTextOnOnePlainLine)
{
    aprs::HeardListModel model;
    model.setStations({station("A1AAA", 10, std::nullopt),
                       station("B1BBB", 2, 950.0, QStringLiteral("two\nlines\u202Eevil")),
                       station("C1CCC", 7, 80.0)});
    QSortFilterProxyModel sorted;
    sorted.setSourceModel(&model);
    sorted.setSortRole(aprs::HeardListModel::sortRole);

    EXPECT_EQ(callsignsSortedBy(sorted, aprs::HeardListModel::CountColumn),
              QStringList({"B1BBB", "C1CCC", "A1AAA"}));
    // Stations without a distance go last.
    EXPECT_EQ(callsignsSortedBy(sorted, aprs::HeardListModel::DistanceColumn),
              QStringList({"C1CCC", "B1BBB", "A1AAA"}));
    EXPECT_EQ(model.index(1, aprs::HeardListModel::CommentColumn).data().toString(),
              "two lines evil");
    EXPECT_EQ(model.index(0, aprs::HeardListModel::DistanceColumn).data().toString(), "");
    EXPECT_EQ(model.index(1, aprs::HeardListModel::DistanceColumn).data().toString(), "950");
}

} // namespace
