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
};

} // namespace

TEST_F(HistoryTest, FramesAreCommittedInBatchesSoonAfterTheyArrive)
{
    history::TelemetryHistory history(folder());
    ASSERT_TRUE(history.open());
    for (int index = 0; index < 100; ++index)
        history.record("ORVEX-1", QString("K%1,1,2,3,4,0,0,0000,0").arg(index),
                       decoded(QString("K%1,1,2,3,4,0,0,0000,0").arg(index)));
    history.record("ORVEX-1", "not telemetry", std::nullopt);
    EXPECT_EQ(scalar("SELECT count(*) FROM frame"), 0) << "not yet committed";
    ASSERT_TRUE(
        orvex::test::waitUntil([&] { return scalar("SELECT count(*) FROM frame") == 100; }, 5000));
    // The calibration of the values is the program folder's formula.txt (none here).
    EXPECT_EQ(scalar("SELECT count(*) FROM formula_set WHERE length(text) = 0"), 1);
}

TEST_F(HistoryTest, AFullDiskIsSaidOnceAndTheHistoryStops)
{
    history::TelemetryHistory history(folder());
    ASSERT_TRUE(history.open());
    QSignalSpy failed(&history, &history::TelemetryHistory::failed);
    {
        orvex::test::FullDisk full;
        ASSERT_TRUE(full.active());
        for (int index = 0; index < 2000; ++index)
            history.record("ORVEX-1", QString("K%1,1,2,3,4,0,0,0000,0").arg(index),
                           decoded(QString("K%1,1,2,3,4,0,0,0000,0").arg(index)));
        history.flush();
    }
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0][0].toString().contains("cannot be written"))
        << failed[0][0].toString().toStdString();
    EXPECT_EQ(history.store(), nullptr);
    history.record("ORVEX-1", "K,1,2,3,4,0,0,0000,0", decoded("K,1,2,3,4,0,0,0000,0"));
    history.flush();
    EXPECT_EQ(failed.size(), 1);
}
