// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryChannelPicks.h"
#include "history/HistoryCsv.h"
#include "history/HistoryRanges.h"
#include "history/HistoryStatistics.h"
#include "history/PlotDownsample.h"
#include "history/ValueWriter.h"
#include "support/MemoryChannelSource.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

using namespace history;

namespace {

constexpr qint64 minuteMs = 60 * 1000;
constexpr qint64 hourMs = 60 * minuteMs;
constexpr qint64 t0 = 1'796'083'200'000; // 2026-12-01T00:00:00Z

std::vector<ChannelPoint> pointsOf(std::initializer_list<std::pair<qint64, double>> list)
{
    std::vector<ChannelPoint> points;
    for (const auto &[ms, value] : list)
        points.push_back({t0 + ms, value * 10, value});
    return points;
}

} // namespace

TEST(PlotDownsample, KeepsEveryExtremeOfEachColumnInTimeOrder)
{
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 1);
    std::vector<ChannelPoint> points;
    for (int i = 0; i < 200'000; ++i)
        points.push_back({t0 + i * 1000LL, 0, noise(random)});
    points[123'457].value = 50;  // a lone spike
    points[170'001].value = -50; // and a lone dip
    const qint64 from = t0 + 100'000'000, to = t0 + 180'000'000;
    const int columns = 400;

    const PlotLine line = downsampleForPlot(points, from, to, columns);

    ASSERT_LE(line.keys.size(), 4 * columns + 8);
    EXPECT_TRUE(std::is_sorted(line.keys.begin(), line.keys.end()));
    EXPECT_EQ(std::count_if(line.values.begin(), line.values.end(),
                            [](double v) { return std::isnan(v); }),
              0);
    // Every column's lowest and highest value is drawn, in that column.
    const double columnMs = double(to - from) / columns;
    const auto columnOf = [&](qint64 ms) { return int(std::floor((ms - from) / columnMs)); };
    std::vector<double> low(columns, INFINITY), high(columns, -INFINITY);
    for (const ChannelPoint &point : points)
        if (point.utcMs >= from && point.utcMs <= to) {
            const int c = std::min(columnOf(point.utcMs), columns - 1);
            low[size_t(c)] = std::min(low[size_t(c)], point.value);
            high[size_t(c)] = std::max(high[size_t(c)], point.value);
        }
    std::vector<int> found(columns, 0);
    for (qsizetype i = 0; i < line.keys.size(); ++i) {
        const int c = std::min(columnOf(std::llround(line.keys[i] * 1000)), columns - 1);
        if (c >= 0 && (line.values[i] == low[size_t(c)] || line.values[i] == high[size_t(c)]))
            found[size_t(c)] |= line.values[i] == low[size_t(c)] ? 1 : 2;
    }
    EXPECT_EQ(std::count(found.begin(), found.end(), 3), columns);
    EXPECT_NE(std::find(line.values.begin(), line.values.end(), 50.0), line.values.end());
    EXPECT_NE(std::find(line.values.begin(), line.values.end(), -50.0), line.values.end());
    // The line runs on to the points just outside the view.
    EXPECT_EQ(line.keys.front() * 1000, from - 1000);
    EXPECT_EQ(line.keys.back() * 1000, to + 1000);
}

TEST(PlotDownsample, PassesShortSeriesWholeAndBreaksTheLineBetweenPasses)
{
    // Two passes four hours apart, seen over a day: each stays one piece.
    const auto points =
        pointsOf({{0, 1}, {20'000, 2}, {40'000, 3}, {4 * hourMs, 4}, {4 * hourMs + 20'000, 5}});
    const PlotLine line = downsampleForPlot(points, t0 - hourMs, t0 + 23 * hourMs, 1000);
    ASSERT_EQ(line.values.size(), 6);
    EXPECT_EQ(line.values[0], 1);
    EXPECT_EQ(line.values[2], 3);
    EXPECT_TRUE(std::isnan(line.values[3]));
    EXPECT_EQ(line.values[4], 4);
    EXPECT_EQ(line.values[5], 5);

    // Seen over a year the same gap is less than a pixel: joined.
    const PlotLine coarse =
        downsampleForPlot(points, t0 - 200 * 24 * hourMs, t0 + 165 * 24 * hourMs, 1000);
    EXPECT_EQ(std::count_if(coarse.values.begin(), coarse.values.end(),
                            [](double v) { return std::isnan(v); }),
              0);
}

TEST(HistoryStatistics, MinMaxMeanAndLastOverTheSpanOnly)
{
    const auto points = pointsOf({{0, 9}, {1000, 2}, {2000, 4}, {3000, 6}, {4000, -9}});
    const ChannelStatistics stats = statisticsOver(points, {t0 + 1000, t0 + 3000});
    EXPECT_EQ(stats.count, 3);
    EXPECT_EQ(stats.min, 2);
    EXPECT_EQ(stats.max, 6);
    EXPECT_DOUBLE_EQ(stats.mean, 4);
    EXPECT_EQ(stats.last, 6);
    EXPECT_EQ(stats.lastMs, t0 + 3000);

    EXPECT_EQ(statisticsOver(points, {t0 + 1100, t0 + 1900}).count, 0);
}

TEST(HistoryStatistics, AlarmsForValuesBeyondEitherLimitWithinTheSpan)
{
    const ChannelInfo info{QStringLiteral("POWER Batt A A"), QStringLiteral("V"), 7.0, 8.4};
    const ChannelKey key{0, 1, 0};
    const auto points =
        pointsOf({{0, 6.0}, {1000, 6.9}, {2000, 7.0}, {3000, 8.4}, {4000, 8.5}, {5000, 9.0}});

    const auto alarms = limitAlarms(key, info, points, {t0 + 1000, t0 + 4000});
    ASSERT_EQ(alarms.size(), 2u);
    EXPECT_EQ(alarms[0].utcMs, t0 + 1000);
    EXPECT_EQ(alarms[0].breached, LimitBreached::Low);
    EXPECT_EQ(alarms[0].limit, 7.0);
    EXPECT_EQ(alarms[1].utcMs, t0 + 4000);
    EXPECT_EQ(alarms[1].breached, LimitBreached::High);
    EXPECT_EQ(alarms[1].value, 8.5);

    const ChannelInfo highOnly{QString(), QStringLiteral("°C"), std::nullopt, 40.0};
    EXPECT_EQ(limitAlarms(key, highOnly, points, {t0, t0 + 5000}).size(), 0u);
    EXPECT_EQ(limitAlarms(key, ChannelInfo{}, points, {t0, t0 + 5000}).size(), 0u);
}

TEST(HistoryRanges, ButtonsEndAtTheLastValueAndLastPassNeedsData)
{
    const TimeSpan stored{t0, t0 + 30 * 24 * hourMs};
    const auto noData = [](const TimeSpan &) { return false; };
    EXPECT_EQ(rangeSpan(HistoryRange::Day, stored, {}, noData)->fromMs, stored.toMs - 24 * hourMs);
    EXPECT_EQ(rangeSpan(HistoryRange::Week, stored, {}, noData)->fromMs,
              stored.toMs - 7 * 24 * hourMs);
    EXPECT_EQ(rangeSpan(HistoryRange::Week, stored, {}, noData)->toMs, stored.toMs);
    EXPECT_EQ(rangeSpan(HistoryRange::All, stored, {}, noData)->fromMs, stored.fromMs);

    // The latest pass is empty (heard nothing): the latest before it is shown.
    const TimeSpan early{stored.toMs - 5 * hourMs, stored.toMs - 5 * hourMs + 10 * minuteMs};
    const TimeSpan heard{stored.toMs - 3 * hourMs, stored.toMs - 3 * hourMs + 12 * minuteMs};
    const TimeSpan silent{stored.toMs - hourMs, stored.toMs - hourMs + 9 * minuteMs};
    const auto notSilent = [&](const TimeSpan &span) { return span.fromMs != silent.fromMs; };
    const auto pass = rangeSpan(HistoryRange::LastPass, stored, {silent, early, heard}, notSilent);
    EXPECT_EQ(pass->fromMs, heard.fromMs);
    EXPECT_EQ(pass->toMs, heard.toMs);

    const auto fallback = rangeSpan(HistoryRange::LastPass, stored, {silent}, noData);
    EXPECT_EQ(fallback->fromMs, stored.toMs - 15 * minuteMs);
    EXPECT_EQ(fallback->toMs, stored.toMs);

    EXPECT_FALSE(rangeSpan(HistoryRange::All, std::nullopt, {}, noData));
}

TEST(HistoryChannelPicks, TreeByGridRowSideAndOnePanePerUnit)
{
    const QList<ChannelKey> keys{{2, 9, 1}, {0, 1, 1}, {0, 1, 0}, {2, 9, 0}, {0, 3, 0}};
    const auto tree = channelTree(keys);
    ASSERT_EQ(tree.size(), 2u);
    EXPECT_EQ(tree[0].title, QStringLiteral("POWER"));
    ASSERT_EQ(tree[0].rows.size(), 2u);
    EXPECT_EQ(tree[0].rows[0].caption, QStringLiteral("Batt A"));
    EXPECT_EQ(tree[0].rows[0].sides.size(), 2u);
    EXPECT_EQ(tree[1].title, QStringLiteral("TEMP"));
    EXPECT_EQ(tree[1].rows[0].caption, QStringLiteral("Xmtr"));

    const TelemetryWeek week(t0);
    ChannelPicks picks;
    for (const ChannelKey &key :
         {ChannelKey{2, 9, 0}, ChannelKey{0, 1, 0}, ChannelKey{0, 3, 0}, ChannelKey{0, 2, 1}})
        picks.setChecked(key, true);
    picks.setChecked({0, 3, 0}, false);
    const auto panes = picks.panes(week.source);
    ASSERT_EQ(panes.size(), 2u);
    EXPECT_EQ(panes[0].unit, QStringLiteral("V"));
    EXPECT_EQ(panes[0].channels.size(), 2u);
    EXPECT_EQ(panes[1].unit, QStringLiteral("°C"));
}

TEST(HistoryCsv, TextsThatASpreadsheetWouldRunAreWrittenAsText)
{
    ValueWriter writer(ExportFormat::Csv);
    writer.add({t0, "=CALL", 0, 0, 0, 1, -12, -12.5, "=HYPERLINK(\"http://x\")"});
    writer.add({t0, "+1", 0, 0, 0, 1, 1, 1.0, "@SUM(A1)"});
    writer.add({t0, "-2", 0, 0, 0, 1, 1, 1.0, "\tx"});
    writer.add({t0, "Q9ZZZ", 0, 0, 0, 1, 1, 1.0, "\rx"});
    EXPECT_EQ(writer.finish(),
              "utc,source,side,mode,grid,row,raw,value,unit,label\n"
              "2026-12-01T00:00:00.000Z,\"'=CALL\",A,0,POWER,Batt A,-12,-12.50,V,"
              "\"'=HYPERLINK(\"\"http://x\"\")\"\n"
              "2026-12-01T00:00:00.000Z,\"'+1\",A,0,POWER,Batt A,1,1.00,V,\"'@SUM(A1)\"\n"
              "2026-12-01T00:00:00.000Z,\"'-2\",A,0,POWER,Batt A,1,1.00,V,\"'\tx\"\n"
              "2026-12-01T00:00:00.000Z,Q9ZZZ,A,0,POWER,Batt A,1,1.00,V,\"'\rx\"\n");
}

TEST(HistoryCsv, LinesInTheExportFormatOrderedByTimeThenPlace)
{
    ValueWriter writer(ExportFormat::Csv);
    writer.add({t0 + 3'250, "ORVEX-2", 1, 3, 0, 1, 7, 7.456, "T#417"});
    writer.add({t0, {}, 0, -1, 2, 9, 512, -3.25, {}});
    EXPECT_EQ(writer.finish(), "utc,source,side,mode,grid,row,raw,value,unit,label\n"
                               "2026-12-01T00:00:03.250Z,ORVEX-2,B,3,POWER,Batt A,7,7.46,V,T#417\n"
                               "2026-12-01T00:00:00.000Z,,A,,TEMP,Xmtr,512,-3.3,°C,\n");

    MemoryChannelSource source;
    source.add({2, 8, 0}, {QString(), QStringLiteral("°C"), {}, {}},
               {{t0 + 1000, 1, 10.0}, {t0 + 2000, 2, 11.0}});
    source.add({0, 1, 0}, {QString(), QStringLiteral("V"), {}, {}},
               {{t0, 3, 7.5}, {t0 + 2000, 4, 7.6}, {t0 + 9000, 5, 7.7}});
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(writeHistoryCsv(buffer, source, {{2, 8, 0}, {0, 1, 0}}, {t0, t0 + 2000}));
    const QStringList lines = QString::fromUtf8(buffer.data()).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 6); // header, four values, the empty rest after the last "\n"
    EXPECT_TRUE(
        lines[1].startsWith(QStringLiteral("2026-12-01T00:00:00.000Z,,A,,POWER,Batt A,3,")));
    EXPECT_TRUE(lines[2].contains(QStringLiteral(",TEMP,Batt,1,10.0,°C,")));
    EXPECT_TRUE(lines[3].contains(QStringLiteral("00:00:02.000Z,,A,,POWER,Batt A,4,7.60,V,")));
    EXPECT_TRUE(lines[4].contains(QStringLiteral("00:00:02.000Z,,A,,TEMP,Batt,2,11.0,°C,")));
    EXPECT_TRUE(lines[5].isEmpty());
}
