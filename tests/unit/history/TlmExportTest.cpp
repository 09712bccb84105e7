// SPDX-License-Identifier: GPL-2.0-or-later
// tlmexport run as scripts run it, on a store written through the store's own API.
#include "StoreFixture.h"

#include "aprs/AprsStore.h"

#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

struct ExportRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ExportRun tlmexport(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(ORVEX_BINARY_DIR "/bin/tlmexport"), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

class TlmExport : public ::testing::Test, public orvex::test::StoreFixture
{
protected:
    void SetUp() override
    {
        orvex::test::HistoryDatabase opened(path());
        ASSERT_EQ(opened.state, database::StationDatabase::State::Ready);
        history::TelemetryStore &store = opened.store;
        const qint64 t0 = ms("2026-03-05T14:07:41.250Z");
        store.add(frame("HK,100,007,abc,10,0,0,0000,0", t0));
        store.add(frame("T#417,112,87,131,96,0,0,0011,0", t0 + 5000));
        store.add(frame("B#1,100,0,0,0,0,0,0011,0", t0 + 5000, "ORVEX-2", 1));
        store.add(frame("Q,1,2,3,4,0,0,0099,0", t0 + 6000)); // no place: not exported
        formulas.LoadFormulae(QStringLiteral("/nonexistent/formula.txt"));
        store.add(frame("N,5,0,0,0,0,0,0000,0", t0 + 9000));
        opened.database.flush();
    }
};

} // namespace

TEST_F(TlmExport, WritesEveryChannelValueAsCsvByTimeGridRowAndSide)
{
    const ExportRun run = tlmexport({path()});
    EXPECT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(run.out, "utc,source,side,mode,grid,row,raw,value,unit,label\n"
                       "2026-03-05T14:07:41.250Z,ORVEX-1,A,0,CURRENT,X+,100,196,mA,HK\n"
                       "2026-03-05T14:07:41.250Z,ORVEX-1,A,0,CURRENT,X-,10,20,mA,HK\n"
                       "2026-03-05T14:07:41.250Z,ORVEX-1,A,0,CURRENT,Y+,0,0,mA,HK\n"
                       "2026-03-05T14:07:41.250Z,ORVEX-1,A,0,CURRENT,Z+,7,14,mA,HK\n"
                       "2026-03-05T14:07:46.250Z,ORVEX-1,A,3,POWER,Batt A,112,6.59,V,T#417\n"
                       "2026-03-05T14:07:46.250Z,ORVEX-2,B,3,POWER,Batt A,100,6.00,V,B#1\n"
                       "2026-03-05T14:07:46.250Z,ORVEX-1,A,3,POWER,Batt B,87,5.12,V,T#417\n"
                       "2026-03-05T14:07:46.250Z,ORVEX-2,B,3,POWER,Batt B,0,0.00,V,B#1\n"
                       "2026-03-05T14:07:46.250Z,ORVEX-1,A,3,POWER,P Out,131,1.05,W,T#417\n"
                       "2026-03-05T14:07:46.250Z,ORVEX-2,B,3,POWER,P Out,0,0.00,W,B#1\n"
                       "2026-03-05T14:07:46.250Z,ORVEX-1,A,3,POWER,8V Reg,96,3.76,V,T#417\n"
                       "2026-03-05T14:07:46.250Z,ORVEX-2,B,3,POWER,8V Reg,0,0.00,V,B#1\n"
                       "2026-03-05T14:07:50.250Z,ORVEX-1,A,0,CURRENT,X+,5,,mA,N\n"
                       "2026-03-05T14:07:50.250Z,ORVEX-1,A,0,CURRENT,X-,0,,mA,N\n"
                       "2026-03-05T14:07:50.250Z,ORVEX-1,A,0,CURRENT,Y+,0,,mA,N\n"
                       "2026-03-05T14:07:50.250Z,ORVEX-1,A,0,CURRENT,Z+,0,,mA,N\n");

    // The range is closed at both ends; a time without a zone is UTC.
    const ExportRun range =
        tlmexport({path(), "--from", "2026-03-05T14:07:46.250Z", "--to", "2026-03-05T14:07:50"});
    EXPECT_EQ(range.status, 0);
    EXPECT_EQ(range.out.count('\n'), 1 + 8);
    EXPECT_TRUE(range.out.endsWith("8V Reg,0,0.00,V,B#1\n"));
}

TEST_F(TlmExport, WritesJsonObjectsWithTheSameKeys)
{
    const ExportRun run =
        tlmexport({"--format", "json", "--to", "2026-03-05T14:07:41.250Z", path()});
    EXPECT_EQ(run.status, 0) << run.err.constData();
    const char *head =
        "{\"utc\":\"2026-03-05T14:07:41.250Z\",\"source\":\"ORVEX-1\",\"side\":\"A\","
        "\"mode\":0,\"grid\":\"CURRENT\",\"row\":";
    EXPECT_EQ(run.out,
              QByteArray("[\n") + head +
                  "\"X+\",\"raw\":100,\"value\":196,\"unit\":\"mA\",\"label\":\"HK\"},\n" + head +
                  "\"X-\",\"raw\":10,\"value\":20,\"unit\":\"mA\",\"label\":\"HK\"},\n" + head +
                  "\"Y+\",\"raw\":0,\"value\":0,\"unit\":\"mA\",\"label\":\"HK\"},\n" + head +
                  "\"Z+\",\"raw\":7,\"value\":14,\"unit\":\"mA\",\"label\":\"HK\"}\n]\n");
    const ExportRun none = tlmexport({"--format", "json", "--from", "2027-01-01", path()});
    EXPECT_EQ(none.out, "[]\n");
    const ExportRun empty =
        tlmexport({"--format", "json", "--from", "2026-03-05T14:07:50.250Z", path()});
    EXPECT_TRUE(empty.out.contains("\"raw\":5,\"value\":null,\"unit\":\"mA\""));
}

TEST_F(TlmExport, BadArgumentsAndUnreadableStoresExitWithTwoAndOneLine)
{
    QFile text(dir.filePath("notes.db"));
    text.open(QIODevice::WriteOnly);
    text.write("not a database, just words\n");
    text.close();
    const QList<QStringList> cases = {
        {},
        {path(), "--format", "xml"},
        {path(), "--from", "yesterday"},
        {path(), "--to"},
        {path(), "--to", "2026-03-05T14:07:41Z", "--from", "2026-03-05T14:07:42Z"},
        {path(), "--verbose"},
        {path(), path()},
        {dir.filePath("missing.db")},
        {dir.filePath("notes.db")},
    };
    for (const QStringList &arguments : cases) {
        const ExportRun run = tlmexport(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("tlmexport: ")) << run.err.constData();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.constData();
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("missing.db"))) << "read-only: nothing created";
}

TEST_F(TlmExport, ReadsAStoreOnAReadOnlyMedium)
{
    // The store's folder, seen again through a read-only mount of its own.
    QTemporaryDir mountPoint;
    const QString script =
        QStringLiteral("mount --bind '%1' '%2' && mount -o remount,bind,ro "
                       "'%2' && exec '%3' '%2/telemetry.db'")
            .arg(dir.path(), mountPoint.path(), QStringLiteral(ORVEX_BINARY_DIR "/bin/tlmexport"));
    QProcess process;
    process.start(QStringLiteral("unshare"), {"-m", "sh", "-c", script});
    process.waitForFinished(60000);
    const QByteArray err = process.readAllStandardError();
    if (err.contains("unshare:") || err.contains("mount:"))
        GTEST_SKIP() << "no mount namespace here: " << err.constData();
    EXPECT_EQ(process.exitCode(), 0) << err.constData();
    EXPECT_EQ(process.readAllStandardOutput().count('\n'), 1 + 16);
}

namespace {

aprs::HeardPacket heardPacket(const char *line, qint64 utcMs, bool transmitted = false)
{
    aprs::HeardPacket heard;
    heard.utcMs = utcMs;
    heard.frame = *aprs::parseMonitorLine(line, aprs::InfoBytes::HexEscapes).frame;
    heard.packet = aprs::decode(heard.frame);
    heard.viaSatellite = heard.frame.repeatedBy(aprs::satelliteDigipeater);
    heard.transmitted = transmitted;
    return heard;
}

} // namespace

TEST_F(TlmExport, WritesTheHeardAprsPacketsWithTheirFields)
{
    {
        database::StationDatabase database(path());
        aprs::AprsStore store(database);
        ASSERT_EQ(database.open(), database::StationDatabase::State::Ready);
        const qint64 t0 = ms("2026-03-05T14:07:41.250Z");
        store.add(heardPacket("DL2ABC-7>APRS,ORVEX-1*:!5230.53N/01322.85E-QTH Berlin", t0));
        store.add(heardPacket("W1ABC>APRS:>Net tonight, \"all\" welcome", t0 + 1000));
        store.add(heardPacket("Q9ZZZ>APZ36Q,ORVEX-1:>my own beacon", t0 + 1500, true));
        store.add(heardPacket("K1ABC>APRS,ORVEX-1*::W1ABC-9  :Hello<0xe9>{042", t0 + 2000));
        store.add(heardPacket("N0ABC>APRS:;LEADER   *092345z4903.50N/07201.75W>Point", t0 + 3000));
        database.flush();
    }
    const ExportRun run = tlmexport({path(), "--aprs"});
    EXPECT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(run.out,
              "utc,source,via,type,name,latitude,longitude,symbol,addressee,msgno,text\n"
              "2026-03-05T14:07:41.250Z,DL2ABC-7,ORVEX-1,position,,52.508833,13.380833,/-,,,"
              "QTH Berlin\n"
              "2026-03-05T14:07:42.250Z,W1ABC,,status,,,,,,,\"Net tonight, \"\"all\"\" "
              "welcome\"\n"
              "2026-03-05T14:07:43.250Z,K1ABC,ORVEX-1,message,,,,,W1ABC-9,042,Hello\xc3\xa9\n"
              "2026-03-05T14:07:44.250Z,N0ABC,,object,LEADER,49.058333,-72.029167,/>,,,Point\n");

    const ExportRun json =
        tlmexport({path(), "--aprs", "--format", "json", "--from", "2026-03-05T14:07:42.250Z",
                   "--to", "2026-03-05T14:07:42.250Z"});
    EXPECT_EQ(json.status, 0) << json.err.constData();
    EXPECT_EQ(json.out,
              "[\n{\"utc\":\"2026-03-05T14:07:42.250Z\",\"source\":\"W1ABC\",\"via\":\"\","
              "\"type\":\"status\",\"name\":\"\",\"latitude\":null,\"longitude\":null,"
              "\"symbol\":\"\",\"addressee\":\"\",\"msgno\":\"\",\"text\":\"Net "
              "tonight, \\\"all\\\" welcome\"}\n]\n");
}
