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
    LogImporter importer()
    {
        return LogImporter(store, decoder, [](const QString &call) -> std::optional<int> {
            if (call == "ORVEX-1")
                return 0;
            if (call == "ORVEX-2")
                return 1;
            return std::nullopt;
        });
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

TEST_F(LogImport, ImportsTheSatellitesTelemetryOnceAndCountsWhatItSkips)
{
    orvex::Clock::setLocalZone(QTimeZone::utc());
    const QString log =
        writeLog("20260305.TXT",
                 "*** AGW-Connected to - 127.0.0.1\r\n"
                 "14:07:41R ORVEX-1>APRS Port=1 <UI Len=26>:\r\n"
                 "HK,100,50,25,10,0,0,0000,0\r\n"
                 "14:07:45R K1ABC>APRS Port=1 <UI Len=26>:\r\n"
                 "HK,1,1,1,1,0,0,0000,0\r\n" // not a listed callsign
                 "14:07:50R ORVEX-1>BLN1 Port=1 <UI Len=16>:\r\n"
                 ":BLN1     :Hello\r\n" // a bulletin: not telemetry, not damaged
                 "14:07:51R ORVEX-1>APRS Port=1 <UI Len=20>:\r\n"
                 "!4903.50N/07201.75W-\r\n" + // a position
                     QByteArray(3 * LogImporter::longestLine, 'x') +
                     "\r\n" + "14:07:55R ORVEX-1>APRS Port=1 <UI Len=26>:\r\n" +
                     QByteArray(5000, '\0') + "\r\n" +
                     "\x01\x9f\x02garbage\x7f\r\n"                    // random bytes
                     "25:61:00R ORVEX-1>APRS Port=1 <UI Len=26>:\r\n" // no such time
                     "HK,2,2,2,2,0,0,0000,0\r\n"
                     "14:08:00R ORVEX-2>APRS,ORVEX-1 Port=1 <UI Len=30>:\r\n"
                     "T#417,112,87,131,96,0,0,0011,0\r\n"
                     "14:08:01T ORVEX-1>APRS Port=1 <UI Len=26>:\r\n" // sent, not heard
                     "HK,9,9,9,9,0,0,0000,0\r\n");
    // CR alone ends the lines of this one.
    const QString crLog = writeLog("20260306.TXT", "09:00:00R ORVEX-1>APRS Port=1 <UI Len=26>:\r"
                                                   "HK,101,50,25,10,0,0,0000,0\r");
    const QString notALog = writeLog("notes.txt", "14:07:41R ORVEX-1>APRS Port=1 <UI Len=1>:\r\n");
    const QString missing = dir.filePath("20260307.TXT");

    LogImporter first = importer();
    first.start({log, crLog, notALog, missing});
    runToEnd(first);
    EXPECT_EQ(first.progress().stored, 3);
    EXPECT_EQ(first.progress().notTelemetry, 2);
    EXPECT_EQ(first.progress().damagedLines, 4);
    EXPECT_EQ(first.progress().undated, QStringList{notALog});
    EXPECT_EQ(first.progress().unreadable, QStringList{missing});
    EXPECT_EQ(first.progress().bytesDone, first.progress().bytesTotal);
    EXPECT_FALSE(first.progress().failed);
    EXPECT_EQ(first.summary(),
              "3 telemetry frames imported, 0 already stored. 2 lines of listed callsigns are "
              "not telemetry. 4 damaged lines skipped. 1 files have no date in their names "
              "(yyyymmdd.TXT): " +
                  notALog + ". 1 files could not be read: " + missing + ".");

    EXPECT_EQ(scalar("SELECT count(*) FROM frame"), 3);
    EXPECT_EQ(scalar("SELECT utc_ms FROM frame WHERE line LIKE 'HK,100,%'"),
              ms("2026-03-05T14:07:41Z"));
    EXPECT_EQ(scalar("SELECT utc_ms FROM frame WHERE line LIKE 'HK,101,%'"),
              ms("2026-03-06T09:00:00Z"));
    EXPECT_EQ(scalar("SELECT side FROM frame WHERE line LIKE 'T#417,%'"), 1);

    // A second import finds everything stored.
    LogImporter again = importer();
    again.start({log, crLog});
    runToEnd(again);
    EXPECT_EQ(again.progress().stored, 0);
    EXPECT_EQ(again.progress().alreadyStored, 3);
    EXPECT_EQ(scalar("SELECT sum(heard) FROM frame"), 3);
}

// A day on which Use Local Time was switched on and off again, in Berlin
// (UTC+2 in July): the log holds UTC lines, then local ones, then UTC ones.
TEST_F(LogImport, ALogOfTwoZonesStoresEachFrameAtItsMomentOrLeavesItOut)
{
    const QByteArray oldZone = qgetenv("TZ");
    qputenv("TZ", "Europe/Berlin");
    ASSERT_EQ(orvex::Clock::localZone().id(), QByteArray("Europe/Berlin"));
    const QTimeZone berlin("Europe/Berlin");
    history::DisplayZones::record(opened.database, ms("2026-07-05T06:00:00Z"), false, berlin);
    history::DisplayZones::record(opened.database, ms("2026-07-05T10:00:00Z"), true, berlin);
    history::DisplayZones::record(opened.database, ms("2026-07-05T14:00:00Z"), false, berlin);
    // Heard live, and in the log as 15:30 local.
    std::vector<history::TelemetryStore::Added> added;
    QString error;
    ASSERT_TRUE(store.addNow({frame("HK,104,50,25,10,0,0,0000,0", ms("2026-07-05T13:30:00.400Z"))},
                             history::TelemetryStore::Repeats::Count, added, error));

    const auto entry = [](const char *time, int n) {
        return QByteArray(time) + "R ORVEX-1>APRS Port=1 <UI Len=26>:\r\nHK," +
               QByteArray::number(n) + ",50,25,10,0,0,0000,0\r\n";
    };
    const QString log = writeLog("20260705.TXT", entry("05:30:00", 100) +     // before the record
                                                     entry("08:10:00", 101) + // UTC
                                                     entry("13:00:00", 102) + // local
                                                     entry("15:30:00", 104) + // local, stored
                                                     entry("14:30:00", 105) + // UTC or local
                                                     entry("17:00:00", 106)); // UTC

    LogImporter run = importer();
    run.start({log});
    runToEnd(run);
    EXPECT_EQ(run.progress().stored, 3);
    EXPECT_EQ(run.progress().alreadyStored, 1);
    EXPECT_EQ(run.progress().unrecordedZone, 1);
    EXPECT_EQ(run.progress().twoMoments, 1);
    EXPECT_TRUE(run.summary().contains("1 frames left out: they were logged around a change"))
        << run.summary().toStdString();

    // Each frame stored once, at its moment.
    EXPECT_EQ(scalar("SELECT count(*) FROM frame"), 4);
    EXPECT_EQ(scalar("SELECT utc_ms FROM frame WHERE line LIKE 'HK,101,%'"),
              ms("2026-07-05T08:10:00Z"));
    EXPECT_EQ(scalar("SELECT utc_ms FROM frame WHERE line LIKE 'HK,102,%'"),
              ms("2026-07-05T11:00:00Z"));
    EXPECT_EQ(scalar("SELECT utc_ms FROM frame WHERE line LIKE 'HK,104,%'"),
              ms("2026-07-05T13:30:00.400Z"));
    EXPECT_EQ(scalar("SELECT utc_ms FROM frame WHERE line LIKE 'HK,106,%'"),
              ms("2026-07-05T17:00:00Z"));

    if (oldZone.isNull())
        qunsetenv("TZ");
    else
        qputenv("TZ", oldZone);
}
