// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryWindow.h"
#include "history/HistoryPlot.h"
#include "history/HistoryStatistics.h"
#include "shared/clsIni.h"
#include "support/MemoryChannelSource.h"
#include "telemetry/TelemetryGrids.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
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
    auto *alarms = window.findChild<QTableView *>(QStringLiteral("alarms"))->model();
    const auto text = [&](int row, int column) {
        return alarms->index(row, column).data().toString();
    };
    const auto low = limitAlarms(batteryKey, week.source.info(batteryKey),
                                 week.source.series(batteryKey, shown.fromMs, shown.toMs), shown);
    const ChannelKey transmitterKey{telemetry::TempGrid, 9, 1};
    const auto high =
        limitAlarms(transmitterKey, week.source.info(transmitterKey),
                    week.source.series(transmitterKey, shown.fromMs, shown.toMs), shown);
    ASSERT_FALSE(low.empty());
    ASSERT_FALSE(high.empty());
    ASSERT_EQ(alarms->rowCount(), int(std::min<size_t>(low.size() + high.size(), 500)));
    EXPECT_EQ(text(0, 0), QStringLiteral("2026-12-05 %1")
                              .arg(QDateTime::fromMSecsSinceEpoch(low[0].utcMs, Qt::UTC)
                                       .toString(QStringLiteral("HH:mm:ss"))));
    EXPECT_EQ(text(0, 1), QStringLiteral("POWER Batt A A"));
    EXPECT_EQ(text(0, 3), QStringLiteral("below low 7.00 V"));
    const int last = alarms->rowCount() - 1;
    EXPECT_EQ(text(last, 1), QStringLiteral("TEMP Xmtr B"));
    EXPECT_EQ(text(last, 3), QStringLiteral("above high 40.0 °C"));

    // "Last pass" narrows the statistics to the last pass heard.
    QTest::mouseClick(button(window, QStringLiteral("Last pass")), Qt::LeftButton);
    const TimeSpan pass = week.passes.back();
    const ChannelStatistics inPass =
        statisticsOver(week.source.series(batteryKey, pass.fromMs, pass.toMs), pass);
    EXPECT_EQ(statistics->item(0, 1)->text(), telemetry::formatGridValue(0, inPass.min));
    EXPECT_EQ(alarms->rowCount(), 0);
}

TEST(HistoryWindow, FollowsNewValuesAtItsRightEdgeWithLabelsApartAndRemembersItsState)
{
    constexpr qint64 minute = 60'000;
    const ChannelKey key{telemetry::PowerGrid, 1, 0};
    const ChannelInfo info{QStringLiteral("POWER Batt A A"), QStringLiteral("V"), 7.0, 8.4};
    std::vector<ChannelPoint> points;
    for (qint64 at = 0; at <= 2 * 24 * 60; ++at)
        points.push_back({t0 + at * minute, 780, 7.8});
    MemoryChannelSource source;
    source.add(key, info, points);
    const auto storeMore = [&](int minutes, double value) {
        for (int i = 0; i < minutes; ++i)
            points.push_back({points.back().utcMs + minute, value * 100, value});
        source.add(key, info, points);
    };
    QTemporaryDir dir;
    clsIni ini(dir.filePath(QStringLiteral("ORVEX.INI")));

    TimeSpan older;
    QList<int> across;
    {
        HistoryWindow window(source);
        window.useSettings(&ini);
        window.resize(1024, 768);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        auto *tree = window.findChild<QTreeWidget *>(QStringLiteral("channels"));
        channelItem(*tree, QStringLiteral("POWER"), QStringLiteral("Batt A"),
                    QStringLiteral("Side A"))
            ->setCheckState(0, Qt::Checked);
        // The plot narrowed by the panes beside it to a fifth of 1024.
        window.findChild<QSplitter *>(QStringLiteral("across"))->setSizes({210, 250, 564});
        QTest::mouseClick(button(window, QStringLiteral("7 days")), Qt::LeftButton);
        auto *plot = window.findChild<HistoryPlot *>();
        QApplication::processEvents();
        plot->replot();

        // The legend sits beside the data, not over it.
        const QList<QCPLayoutElement *> elements = plot->plotLayout()->elements(true);
        QCPAxisRect *rect = plot->axisRect(0);
        int legends = 0;
        for (QCPLayoutElement *element : elements)
            if (auto *legend = qobject_cast<QCPLegend *>(element)) {
                ++legends;
                EXPECT_FALSE(legend->outerRect().intersects(rect->rect()));
            }
        EXPECT_EQ(legends, 1);

        // The time labels at 1024x768 stand apart, the widest of them too.
        QCPAxis *time = rect->axis(QCPAxis::atBottom);
        const QFontMetrics metrics(time->tickLabelFont());
        const auto widthOf = [&](const QString &label) {
            int widest = 0;
            for (const QString &line : label.split(QLatin1Char('\n')))
                widest = std::max(widest, metrics.horizontalAdvance(line));
            return widest;
        };
        const QVector<double> ticks = time->tickVector();
        const QVector<QString> labels = time->tickVectorLabels();
        ASSERT_GE(ticks.size(), 2);
        for (qsizetype i = 1; i < ticks.size(); ++i)
            EXPECT_GT(time->coordToPixel(ticks[i]) - time->coordToPixel(ticks[i - 1]),
                      (widthOf(labels[i]) + widthOf(labels[i - 1])) / 2.0)
                << labels[i - 1].toStdString() << " and " << labels[i].toStdString();

        // At "now", new values move the view on and reach the statistics.
        QTest::mouseClick(button(window, QStringLiteral("24 hours")), Qt::LeftButton);
        storeMore(5, 8.1);
        window.followStore();
        EXPECT_EQ(plot->view().toMs, points.back().utcMs);
        EXPECT_EQ(plot->view().toMs - plot->view().fromMs, 24 * 60 * minute);
        auto *statistics = window.findChild<QTableWidget *>(QStringLiteral("statistics"));
        EXPECT_EQ(statistics->item(0, 4)->text(), telemetry::formatGridValue(0, 8.1));

        // Reading an older range, it stays where it is.
        older = {t0 + 3 * 60 * minute, t0 + 9 * 60 * minute};
        plot->setView(older);
        storeMore(5, 8.2);
        window.followStore();
        EXPECT_EQ(plot->view().fromMs, older.fromMs);
        EXPECT_EQ(plot->view().toMs, older.toMs);

        auto *splitter = window.findChild<QSplitter *>(QStringLiteral("across"));
        splitter->setSizes({150, 600, 274});
        across = splitter->sizes();
        window.close();
    }

    // A new window shows what the last one did.
    HistoryWindow again(source);
    again.resize(1024, 768);
    again.useSettings(&ini);
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&again));
    auto *tree = again.findChild<QTreeWidget *>(QStringLiteral("channels"));
    EXPECT_EQ(channelItem(*tree, QStringLiteral("POWER"), QStringLiteral("Batt A"),
                          QStringLiteral("Side A"))
                  ->checkState(0),
              Qt::Checked);
    EXPECT_EQ(again.findChild<HistoryPlot *>()->view().fromMs, older.fromMs);
    EXPECT_EQ(again.findChild<HistoryPlot *>()->view().toMs, older.toMs);
    EXPECT_EQ(again.findChild<QSplitter *>(QStringLiteral("across"))->sizes(), across);
}
