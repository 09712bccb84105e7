// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryWindow.h"
#include "history/HistoryStatistics.h"
#include "support/MemoryChannelSource.h"
#include "telemetry/TelemetryGrids.h"

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

using namespace history;

namespace {

constexpr qint64 t0 = 1'796'083'200'000; // 2026-12-01T00:00:00Z

QTreeWidgetItem *channelItem(QTreeWidget &tree, const QString &grid, const QString &row,
                             const QString &side)
{
    for (int g = 0; g < tree.topLevelItemCount(); ++g) {
        QTreeWidgetItem *gridItem = tree.topLevelItem(g);
        if (gridItem->text(0) != grid)
            continue;
        for (int r = 0; r < gridItem->childCount(); ++r)
            if (gridItem->child(r)->text(0) == row)
                for (int s = 0; s < gridItem->child(r)->childCount(); ++s)
                    if (gridItem->child(r)->child(s)->text(0) == side)
                        return gridItem->child(r)->child(s);
    }
    return nullptr;
}

QPushButton *button(QWidget &window, const QString &text)
{
    for (QPushButton *candidate : window.findChildren<QPushButton *>())
        if (candidate->text() == text)
            return candidate;
    return nullptr;
}

} // namespace

TEST(HistoryWindow, TickedChannelsOverSevenDaysShowStatisticsAndAlarms)
{
    const TelemetryWeek week(t0);
    HistoryWindow window(week.source);
    window.setShadowSpans([&](qint64 from, qint64 to) { return week.shadow(from, to); });
    window.setInViewSpans([&](qint64 from, qint64 to) { return week.inView(from, to); });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("channels"));
    ASSERT_NE(tree, nullptr);
    QTreeWidgetItem *battery = channelItem(*tree, QStringLiteral("POWER"), QStringLiteral("Batt A"),
                                           QStringLiteral("Side A"));
    QTreeWidgetItem *transmitter = channelItem(*tree, QStringLiteral("TEMP"),
                                               QStringLiteral("Xmtr"), QStringLiteral("Side B"));
    ASSERT_TRUE(battery && transmitter);
    battery->setCheckState(0, Qt::Checked);
    transmitter->setCheckState(0, Qt::Checked);
    QTest::mouseClick(button(window, QStringLiteral("7 days")), Qt::LeftButton);

    const TimeSpan stored = *week.source.storedSpan();
    const TimeSpan shown{stored.toMs - 7 * 24 * 3600 * 1000LL, stored.toMs};
    auto *statistics = window.findChild<QTableWidget *>(QStringLiteral("statistics"));
    ASSERT_EQ(statistics->rowCount(), 2);
    const ChannelKey batteryKey{telemetry::PowerGrid, 1, 0};
    const ChannelStatistics expected =
        statisticsOver(week.source.series(batteryKey, shown.fromMs, shown.toMs), shown);
    ASSERT_GT(expected.count, 0);
    EXPECT_EQ(statistics->item(0, 0)->text(), QStringLiteral("POWER Batt A A"));
    EXPECT_EQ(statistics->item(0, 1)->text(), telemetry::formatGridValue(0, expected.min));
    EXPECT_EQ(statistics->item(0, 2)->text(), telemetry::formatGridValue(0, expected.max));
    EXPECT_EQ(statistics->item(0, 3)->text(), telemetry::formatGridValue(0, expected.mean));
    EXPECT_EQ(statistics->item(0, 4)->text(), telemetry::formatGridValue(0, expected.last));
    EXPECT_EQ(statistics->item(0, 5)->text(), QStringLiteral("V"));
    EXPECT_EQ(statistics->item(1, 5)->text(), QStringLiteral("°C"));

    // The cold battery of the fifth day and the hot transmitter of the sixth.
    auto *alarms = window.findChild<QTableWidget *>(QStringLiteral("alarms"));
    const auto low = limitAlarms(batteryKey, week.source.info(batteryKey),
                                 week.source.series(batteryKey, shown.fromMs, shown.toMs), shown);
    const ChannelKey transmitterKey{telemetry::TempGrid, 9, 1};
    const auto high =
        limitAlarms(transmitterKey, week.source.info(transmitterKey),
                    week.source.series(transmitterKey, shown.fromMs, shown.toMs), shown);
    ASSERT_FALSE(low.empty());
    ASSERT_FALSE(high.empty());
    ASSERT_EQ(alarms->rowCount(), int(std::min<size_t>(low.size() + high.size(), 500)));
    EXPECT_EQ(alarms->item(0, 0)->text(),
              QStringLiteral("2026-12-05 %1")
                  .arg(QDateTime::fromMSecsSinceEpoch(low[0].utcMs, Qt::UTC)
                           .toString(QStringLiteral("HH:mm:ss"))));
    EXPECT_EQ(alarms->item(0, 1)->text(), QStringLiteral("POWER Batt A A"));
    EXPECT_EQ(alarms->item(0, 3)->text(), QStringLiteral("below low 7.00 V"));
    const int last = alarms->rowCount() - 1;
    EXPECT_EQ(alarms->item(last, 1)->text(), QStringLiteral("TEMP Xmtr B"));
    EXPECT_EQ(alarms->item(last, 3)->text(), QStringLiteral("above high 40.0 °C"));

    // "Last pass" narrows the statistics to the last pass heard.
    QTest::mouseClick(button(window, QStringLiteral("Last pass")), Qt::LeftButton);
    const TimeSpan pass = week.passes.back();
    const ChannelStatistics inPass =
        statisticsOver(week.source.series(batteryKey, pass.fromMs, pass.toMs), pass);
    EXPECT_EQ(statistics->item(0, 1)->text(), telemetry::formatGridValue(0, inPass.min));
    EXPECT_EQ(alarms->rowCount(), 0);
}
