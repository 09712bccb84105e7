// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/LogImporter.h"
#include "StoreFixture.h"
#include "platform/DateTime.h"

#include <QFile>
#include <gtest/gtest.h>

using history::LogImporter;

namespace {

class LogImport : public ::testing::Test, public orvex::test::StoreFixture
{
protected:
    void SetUp() override { ASSERT_EQ(opened.state, database::StationDatabase::State::Ready); }
    void TearDown() override { orvex::Clock::setLocalZone({}); }

    QString writeLog(const QString &name, const QByteArray &text)
    {
        QFile file(dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(text);
        return file.fileName();
    }
    LogImporter importer(bool timesAreLocal = false)
    {
        return LogImporter(
            store, decoder,
            [](const QString &call) -> std::optional<int> {
                if (call == "ORVEX-1")
                    return 0;
                if (call == "ORVEX-2")
                    return 1;
                return std::nullopt;
            },
            timesAreLocal);
    }
    static void runToEnd(LogImporter &run)
    {
        for (int steps = 0; run.step(1) && steps < 100000; ++steps) {
        }
    }

    orvex::test::HistoryDatabase opened{path()};
    history::TelemetryStore &store = opened.store;
};

} // namespace

TEST_F(LogImport, ImportsTheSatellitesTelemetryOnceAndSkipsDamagedLines)
{
    const QString log = writeLog(
        "20260305.TXT",
        "*** AGW-Connected to - 127.0.0.1\r\n"
        "14:07:41R ORVEX-1>APRS Port=1 <UI Len=26>:\r\n"
        "HK,100,50,25,10,0,0,0000,0\r\n"
        "14:07:45R K1ABC>APRS Port=1 <UI Len=26>:\r\n"
        "HK,1,1,1,1,0,0,0000,0\r\n" // not a listed callsign
        "14:07:50R ORVEX-1>APRS Port=1 <UI Len=12>:\r\n"
        "garbage here\r\n" +
            QByteArray(3 * LogImporter::longestLine, 'x') + "\r\n" +
            "14:07:55R ORVEX-1>APRS Port=1 <UI Len=26>:\r\n" + QByteArray(5000, '\0') + "\r\n" +
            "14:08:00R ORVEX-2>APRS,ORVEX-1 Port=1 <UI Len=30>:\r\n"
            "T#417,112,87,131,96,0,0,0011,0\r\n"
            "14:08:01T ORVEX-1>APRS Port=1 <UI Len=26>:\r\n" // sent, not heard
            "HK,9,9,9,9,0,0,0000,0\r\n");
    const QString notALog = writeLog("notes.txt", "14:07:41R ORVEX-1>APRS Port=1 <UI Len=1>:\r\n");

    LogImporter first = importer();
    first.start({log, notALog, dir.filePath("20260306.TXT")});
    runToEnd(first);
    EXPECT_EQ(first.progress().stored, 2);
    EXPECT_EQ(first.progress().skippedLines, 3);
    EXPECT_EQ(first.progress().unreadable, (QStringList{notALog, dir.filePath("20260306.TXT")}));
    EXPECT_EQ(first.progress().bytesDone, first.progress().bytesTotal);
    EXPECT_FALSE(first.progress().failed);
    EXPECT_TRUE(first.summary().startsWith("2 telemetry frames imported, 0 already stored. 3 "
                                           "damaged lines skipped. 2 files could not be read"))
        << first.summary().toStdString();

    EXPECT_EQ(scalar("SELECT count(*) FROM frame"), 2);
    EXPECT_EQ(scalar("SELECT utc_ms FROM frame WHERE line LIKE 'HK,%'"),
              ms("2026-03-05T14:07:41Z"));
    EXPECT_EQ(scalar("SELECT side FROM frame WHERE line LIKE 'T#417,%'"), 1);
    // 196 + 98 + 49 + 20 mA on side A, 6.72 + 5.22 + 1.07 + 3.76 on side B.
    EXPECT_EQ(scalar("SELECT CAST(round(sum(value) * 100) AS INTEGER) FROM channel_value"), 37977);

    // A second import finds everything stored.
    LogImporter again = importer();
    again.start({log});
    runToEnd(again);
    EXPECT_EQ(again.progress().stored, 0);
    EXPECT_EQ(again.progress().alreadyStored, 2);
    EXPECT_EQ(scalar("SELECT sum(heard) FROM frame"), 2);
}

TEST(LogImportTime, TheFileNamesTheLocalDayAndTheHeaderTheLocalOrUtcTime)
{
    orvex::Clock::setLocalZone(QTimeZone("Europe/Berlin")); // UTC+1 in March
    const QDate day(2026, 3, 5);
    EXPECT_EQ(LogImporter::frameTime(day, QTime(14, 7, 41), true),
              orvex::test::StoreFixture::ms("2026-03-05T13:07:41Z"));
    EXPECT_EQ(LogImporter::frameTime(day, QTime(14, 7, 41), false),
              orvex::test::StoreFixture::ms("2026-03-05T14:07:41Z"));
    // 23:30 UTC on the 5th is already the 6th in Berlin: the log of the 5th means the 4th.
    EXPECT_EQ(LogImporter::frameTime(day, QTime(23, 30, 0), false),
              orvex::test::StoreFixture::ms("2026-03-04T23:30:00Z"));
    orvex::Clock::setLocalZone({});
}
