// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/TelemetryHistory.h"
#include "StoreFixture.h"
#include "support/FullDisk.h"
#include "support/Wait.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

class HistoryTest : public ::testing::Test, public orvex::test::StoreFixture
{
protected:
    QString folder() const { return dir.path() + '/'; }
    std::optional<TelemetryDecoder::Frame> decoded(const QString &line) const
    {
        return decoder.decodeFrame(0, line);
    }
    void record(history::TelemetryHistory &history, int from, int count)
    {
        for (int index = from; index < from + count; ++index) {
            const QString line = QString("K%1,1,2,3,4,0,0,0000,0").arg(index);
            history.record("ORVEX-1", line, decoded(line));
        }
    }
};

} // namespace

TEST_F(HistoryTest, FramesAreCommittedInBatchesSoonAfterTheyArrive)
{
    database::StationDatabase database(path());
    history::TelemetryHistory history(database, folder());
    ASSERT_EQ(database.open(), database::StationDatabase::State::Ready);
    history.open();
    record(history, 0, 100);
    history.record("ORVEX-1", "not telemetry", std::nullopt);
    EXPECT_EQ(scalar("SELECT count(*) FROM frame"), 0) << "not yet committed";
    ASSERT_TRUE(
        orvex::test::waitUntil([&] { return scalar("SELECT count(*) FROM frame") == 100; }, 5000));
    // The calibration of the values is the program folder's formula.txt (none here).
    EXPECT_EQ(scalar("SELECT count(*) FROM formula_set WHERE length(text) = 0"), 1);
}

TEST_F(HistoryTest, AFullDiskHoldsTheFramesUntilSpaceComesBackAndSaysSoInOneLine)
{
    database::StationDatabase database(path());
    history::TelemetryHistory history(database, folder());
    ASSERT_EQ(database.open(), database::StationDatabase::State::Ready);
    history.open();
    record(history, 0, 10);
    database.flush();
    QSignalSpy status(&database, &database::StationDatabase::statusChanged);
    {
        orvex::test::FullDisk full(QFileInfo(path()).size());
        ASSERT_TRUE(full.active());
        record(history, 10, 2000);
        ASSERT_TRUE(orvex::test::waitUntil(
            [&] { return database.statusText().contains("records wait in memory"); }, 10000))
            << database.statusText().toStdString();
        EXPECT_TRUE(database.statusText().contains("refuses writes")) << "why, in words";
        EXPECT_TRUE(history.available()) << "the history never switches itself off";
        record(history, 2010, 500);
    }
    ASSERT_TRUE(
        orvex::test::waitUntil([&] { return scalar("SELECT count(*) FROM frame") == 2510; }, 10000))
        << scalar("SELECT count(*) FROM frame");
    // In order, each whole.
    EXPECT_EQ(scalar("SELECT count(*) FROM frame WHERE label = 'K' || (id - 1)"), 2510);
    EXPECT_EQ(scalar("SELECT count(*) FROM channel_value"), 4 * 2510);
    ASSERT_TRUE(orvex::test::waitUntil(
        [&] { return database.statusText().contains("written again"); }, 5000));
    EXPECT_TRUE(database.statusText().endsWith("nothing lost"))
        << database.statusText().toStdString();
    EXPECT_FALSE(status.isEmpty());
}
