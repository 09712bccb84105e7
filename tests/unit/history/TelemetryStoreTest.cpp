// SPDX-License-Identifier: GPL-2.0-or-later
#include "StoreFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>

using history::ChannelKey;
using history::TelemetryStore;
using Added = history::TelemetryStore::Added;

namespace {

class StoreTest : public ::testing::Test, public orvex::test::StoreFixture
{
protected:
    TelemetryStore store;
};

// Side A mode 0: CURRENT X+, Z+, Y+, X- at 1.96 mA per step.
const QString currents = QStringLiteral("HK,100,007,abc,10,0,0,0000,0");
// Side A mode 3: the POWER grid.
const QString power = QStringLiteral("T#417,112,87,131,96,0,0,0011,0");

} // namespace

TEST_F(StoreTest, KeepsEachFrameWithItsRawFieldsAndTheGridsValues)
{
    history::ChannelLimits limits;
    limits.loadText("POWER, Batt A, A, 5.5, 8.2\n");
    store.setLimits(limits);
    ASSERT_TRUE(store.open(path())) << store.errorText().toStdString();
    ASSERT_TRUE(store.useFormulaSet("A,0,CURRENT,X+,0,0,1.96,0\n"));
    const qint64 t0 = ms("2026-03-05T14:07:41.250Z");
    EXPECT_EQ(store.add(frame(currents, t0)), Added::Stored);
    EXPECT_EQ(store.add(frame(power, t0 + 5000)), Added::Stored);
    // Places without a formula, and a mode outside the channel map.
    formulas.LoadFormulae(QStringLiteral("/nonexistent/formula.txt"));
    EXPECT_EQ(store.add(frame("B,1,2,3,4,0,0,0011,0", t0 + 6000, "ORVEX-2", 1)), Added::Stored);
    EXPECT_EQ(store.add(frame("X,1,2,3,4,0,0,0099,0", t0 + 7000)), Added::Stored);
    ASSERT_TRUE(store.commit());
    store.close();

    ASSERT_TRUE(store.open(path(), TelemetryStore::Access::ReadOnly))
        << store.errorText().toStdString();
    // CURRENT X+ side A: raw 100 -> "196"; Z+ raw "007" -> 7 -> "14"; Y+ "abc" -> 0.
    const ChannelKey xPlus{telemetry::CurrentGrid, 1, 0};
    const std::vector<history::ChannelPoint> points = store.series(xPlus, 0, t0 + 60000);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].utcMs, t0);
    EXPECT_EQ(points[0].raw, 100);
    EXPECT_EQ(points[0].value, 196);
    EXPECT_EQ(store.series({telemetry::CurrentGrid, 5, 0}, 0, t0)[0].raw, 7);
    // Batt A: 112 * 0.0588 = 6.5856, kept as the grid shows it.
    EXPECT_EQ(store.series({telemetry::PowerGrid, 1, 0}, 0, t0 + 5000)[0].value, 6.59);
    EXPECT_TRUE(store.series(xPlus, t0 + 1, t0 + 60000).empty());
    // The export's view: each value with the frame it came from.
    const std::vector<history::ChannelRecord> batt =
        store.records({telemetry::PowerGrid, 1, 0}, 0, t0 + 60000);
    ASSERT_EQ(batt.size(), 1u);
    EXPECT_EQ(batt[0].point.value, 6.59);
    EXPECT_EQ(batt[0].mode, 3);
    EXPECT_EQ(batt[0].label, "T#417");
    EXPECT_EQ(batt[0].source, "ORVEX-1");

    const QList<ChannelKey> channels = store.channels();
    EXPECT_EQ(channels.size(), 8);
    EXPECT_TRUE(channels.contains(xPlus));
    EXPECT_FALSE(channels.contains((ChannelKey{telemetry::CurrentGrid, 1, 1})));
    const std::optional<history::TimeSpan> span = store.storedSpan();
    ASSERT_TRUE(span);
    EXPECT_EQ(span->fromMs, t0);
    EXPECT_EQ(span->toMs, t0 + 7000);

    const history::ChannelInfo info = store.info({telemetry::PowerGrid, 1, 0});
    EXPECT_EQ(info.name, "POWER Batt A A");
    EXPECT_EQ(info.unit, "V");
    EXPECT_EQ(info.low, 5.5);
    EXPECT_EQ(info.high, 8.2);
    EXPECT_EQ(store.info({telemetry::PowerGrid, 3, 1}).unit, "W");
    EXPECT_EQ(store.info({telemetry::TempGrid, 9, 1}).unit, "°C");
    EXPECT_FALSE(store.info({telemetry::PowerGrid, 3, 1}).high);
    store.close();

    // The fields the grids do not show, and the calibration of the values.
    EXPECT_EQ(
        scalar("SELECT count(*) FROM frame WHERE label = 'T#417' AND bits = '0011' AND "
               "mode = 3 AND side = 0 AND heard = 1 AND line = 'T#417,112,87,131,96,0,0,0011,0'"),
        1);
    EXPECT_EQ(scalar("SELECT count(*) FROM frame f JOIN formula_set s ON s.id = f.formula_set_id "
                     "WHERE CAST(s.text AS TEXT) = 'A,0,CURRENT,X+,0,0,1.96,0' || char(10)"),
              4);
    // Four channel values per frame; a place without a formula keeps its raw value only.
    EXPECT_EQ(scalar("SELECT count(*) FROM channel_value"), 16);
    EXPECT_EQ(scalar("SELECT count(*) FROM channel_value WHERE value IS NULL"), 8);
    EXPECT_EQ(scalar("SELECT count(*) FROM channel_value WHERE grid IS NULL AND raw > 0"), 4);
    EXPECT_EQ(scalar("SELECT sum(raw) FROM channel_value v JOIN frame f ON f.id = v.frame_id "
                     "WHERE f.side = 1 AND v.grid = 0"),
              10);
}

TEST_F(StoreTest, TheSameLineFromTheSameSourceWithinAMinuteIsOneFrameHeardAgain)
{
    ASSERT_TRUE(store.open(path())) << store.errorText().toStdString();
    const qint64 t0 = ms("2026-03-05T14:07:41Z");
    EXPECT_EQ(store.add(frame(currents, t0)), Added::Stored);
    EXPECT_EQ(store.add(frame(currents, t0 + 60000)), Added::Repeat);
    EXPECT_EQ(store.add(frame(currents, t0 + 20)), Added::Repeat);
    // A re-import finds it stored and counts nothing.
    EXPECT_EQ(store.add(frame(currents, t0 - 1000), TelemetryStore::Repeats::Skip), Added::Repeat);
    // Another source, another line, or later than a minute: frames of their own.
    EXPECT_EQ(store.add(frame(currents, t0 + 30, "ORVEX-2")), Added::Stored);
    EXPECT_EQ(store.add(frame(power, t0 + 40)), Added::Stored);
    EXPECT_EQ(store.add(frame(currents, t0 + 60001)), Added::Stored);
    ASSERT_TRUE(store.commit());
    EXPECT_EQ(scalar("SELECT count(*) FROM frame"), 4);
    EXPECT_EQ(scalar("SELECT heard FROM frame ORDER BY id LIMIT 1"), 3);
    EXPECT_EQ(scalar("SELECT sum(heard) FROM frame"), 6);
    EXPECT_EQ(scalar("SELECT count(*) FROM source"), 2);
}

TEST_F(StoreTest, NothingIsVisibleToOthersBeforeTheCommit)
{
    ASSERT_TRUE(store.open(path())) << store.errorText().toStdString();
    store.add(frame(currents, 1000));
    EXPECT_TRUE(store.hasPending());
    EXPECT_EQ(scalar("SELECT count(*) FROM frame"), 0);
    EXPECT_EQ(scalar("SELECT count(*) FROM pragma_journal_mode WHERE journal_mode = 'wal'"), 1);
    ASSERT_TRUE(store.commit());
    EXPECT_EQ(scalar("SELECT count(*) FROM frame"), 1);
}

TEST_F(StoreTest, AnOlderStoreIsBroughtUpToDateAndANewerOneRefused)
{
    // An empty file (version 0) gets the schema.
    QFile(path()).open(QIODevice::WriteOnly);
    ASSERT_TRUE(store.open(path())) << store.errorText().toStdString();
    store.close();
    EXPECT_EQ(scalar("PRAGMA user_version"), TelemetryStore::schemaVersion);
    EXPECT_EQ(scalar("SELECT count(*) FROM sqlite_schema WHERE name = 'channel_value'"), 1);

    // A store of version 1, from before the upload queue, gains the queue.
    sqlite3 *db = nullptr;
    sqlite3_open(path().toUtf8().constData(), &db);
    sqlite3_exec(db, "DROP TABLE sids_queue; PRAGMA user_version = 1", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    ASSERT_TRUE(store.open(path())) << store.errorText().toStdString();
    store.close();
    EXPECT_EQ(scalar("PRAGMA user_version"), TelemetryStore::schemaVersion);
    EXPECT_EQ(scalar("SELECT count(*) FROM sqlite_schema WHERE name = 'sids_queue'"), 1);

    sqlite3_open(path().toUtf8().constData(), &db);
    sqlite3_exec(db, "PRAGMA user_version = 7", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    EXPECT_FALSE(store.open(path()));
    EXPECT_EQ(store.errorText(), "it was written by a newer version of this program (store "
                                 "version 7; this version reads up to 2)");
    EXPECT_FALSE(store.isOpen());
    EXPECT_EQ(scalar("PRAGMA user_version"), 7) << "left as it was";
}

TEST_F(StoreTest, FilesThatAreNoTelemetryStoreAreRefusedAndLeftAlone)
{
    QFile text(path());
    text.open(QIODevice::WriteOnly);
    text.write(QByteArray(5000, 'x'));
    text.close();
    EXPECT_FALSE(store.open(path()));
    EXPECT_TRUE(store.errorText().startsWith("it is not a telemetry store"))
        << store.errorText().toStdString();
    EXPECT_EQ(QFile(path()).size(), 5000);

    QFile::remove(path());
    sqlite3 *db = nullptr;
    sqlite3_open(path().toUtf8().constData(), &db);
    sqlite3_exec(db, "CREATE TABLE contacts(call TEXT)", nullptr, nullptr, nullptr);
    EXPECT_FALSE(store.open(path()));
    EXPECT_TRUE(store.errorText().startsWith("it is a database of another program"));
    sqlite3_close(db);

    // A store another program holds locked for writing.
    QFile::remove(path());
    ASSERT_TRUE(store.open(path()));
    store.close();
    sqlite3_open(path().toUtf8().constData(), &db);
    sqlite3_exec(db, "PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    EXPECT_FALSE(store.open(path()) && store.add(frame(currents, 1)) != Added::Failed);
    sqlite3_close(db);
}

// The writer of the kill test: adds frames and commits every 50 ms, telling
// its parent after each commit how many frames are safe. Runs only as the
// child of the test below.
TEST(StoreKill, Writer)
{
    const QByteArray path = qgetenv("ORVEX_STORE_KILL_PATH");
    if (path.isEmpty())
        GTEST_SKIP() << "the child of StoreKill.KilledWriterLosesOnlyWhatWasNotCommitted";
    orvex::test::StoreFixture fixture;
    TelemetryStore store;
    ASSERT_TRUE(store.open(QString::fromUtf8(path)));
    QElapsedTimer sinceCommit;
    sinceCommit.start();
    for (int index = 0;; ++index) {
        store.add(fixture.frame(QStringLiteral("K%1,1,2,3,4,0,0,0000,0").arg(index), index));
        if (sinceCommit.elapsed() >= 50) {
            store.commit();
            std::printf("committed %d\n", index + 1);
            std::fflush(stdout);
            sinceCommit.restart();
        }
    }
}

TEST(StoreKill, KilledWriterLosesOnlyWhatWasNotCommitted)
{
    orvex::test::StoreFixture fixture;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("ORVEX_STORE_KILL_PATH", fixture.path());
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=StoreKill.Writer"});
    ASSERT_TRUE(child.waitForStarted());
    int committed = 0;
    QByteArray output;
    while (committed < 5000 && child.waitForReadyRead(30000)) {
        output += child.readAllStandardOutput();
        const qsizetype at = output.lastIndexOf("committed ");
        const qsizetype end = output.indexOf('\n', at);
        if (at >= 0 && end > at)
            committed = output.mid(at + 10, end - at - 10).toInt();
    }
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    child.waitForFinished();
    ASSERT_GE(committed, 5000) << output.right(300).constData();

    sqlite3 *db = nullptr;
    sqlite3_stmt *check = nullptr;
    ASSERT_EQ(sqlite3_open(fixture.path().toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &check, nullptr);
    ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(check, 0)), "ok");
    sqlite3_finalize(check);
    sqlite3_close(db);
    const qint64 frames = fixture.scalar("SELECT count(*) FROM frame");
    EXPECT_GE(frames, committed);
    // Every frame kept is whole: four channel values each, in the order added.
    EXPECT_EQ(fixture.scalar("SELECT count(*) FROM channel_value"), 4 * frames);
    EXPECT_EQ(fixture.scalar("SELECT max(utc_ms) FROM frame"), frames - 1);
}
