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
    void SetUp() override
    {
        ASSERT_EQ(opened.state, database::StationDatabase::State::Ready)
            << opened.database.errorText().toStdString();
    }
    // The values as a reader of its own sees them.
    history::StoreReader reader()
    {
        connection = opened.database.openReader();
        return history::StoreReader(connection.get());
    }

    orvex::test::HistoryDatabase opened{path()};
    TelemetryStore &store = opened.store;
    std::unique_ptr<database::Connection> connection;
};

// Side A mode 0: CURRENT X+, Z+, Y+, X- at 1.96 mA per step.
const QString currents = QStringLiteral("HK,100,007,abc,10,0,0,0000,0");
// Side A mode 3: the POWER grid.
const QString power = QStringLiteral("T#417,112,87,131,96,0,0,0011,0");

} // namespace

TEST_F(StoreTest, KeepsEachFrameWithItsRawFieldsAndTheGridsValues)
{
    store.useFormulaSet("A,0,CURRENT,X+,0,0,1.96,0\n");
    const qint64 t0 = ms("2026-03-05T14:07:41.250Z");
    store.add(frame(currents, t0));
    store.add(frame(power, t0 + 5000));
    // Places without a formula, and a mode outside the channel map.
    formulas.LoadFormulae(QStringLiteral("/nonexistent/formula.txt"));
    store.add(frame("B,1,2,3,4,0,0,0011,0", t0 + 6000, "ORVEX-2", 1));
    store.add(frame("X,1,2,3,4,0,0,0099,0", t0 + 7000));
    opened.database.flush();

    history::StoreReader values = reader();
    history::ChannelLimits limits;
    limits.loadText("POWER, Batt A, A, 5.5, 8.2\n");
    values.setLimits(limits);
    // CURRENT X+ side A: raw 100 -> "196"; Z+ raw "007" -> 7 -> "14"; Y+ "abc" -> 0.
    const ChannelKey xPlus{telemetry::CurrentGrid, 1, 0};
    const std::vector<history::ChannelPoint> points = values.series(xPlus, 0, t0 + 60000);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].utcMs, t0);
    EXPECT_EQ(points[0].raw, 100);
    EXPECT_EQ(points[0].value, 196);
    EXPECT_EQ(values.series({telemetry::CurrentGrid, 5, 0}, 0, t0)[0].raw, 7);
    // Batt A: 112 * 0.0588 = 6.5856, kept as the grid shows it.
    EXPECT_EQ(values.series({telemetry::PowerGrid, 1, 0}, 0, t0 + 5000)[0].value, 6.59);
    EXPECT_TRUE(values.series(xPlus, t0 + 1, t0 + 60000).empty());
    // The export's view: each value with the frame it came from.
    const std::vector<history::ChannelRecord> batt =
        values.records({telemetry::PowerGrid, 1, 0}, 0, t0 + 60000);
    ASSERT_EQ(batt.size(), 1u);
    EXPECT_EQ(batt[0].point.value, 6.59);
    EXPECT_EQ(batt[0].mode, 3);
    EXPECT_EQ(batt[0].label, "T#417");
    EXPECT_EQ(batt[0].source, "ORVEX-1");

    const QList<ChannelKey> channels = values.channels();
    EXPECT_EQ(channels.size(), 8);
    EXPECT_TRUE(channels.contains(xPlus));
    EXPECT_FALSE(channels.contains((ChannelKey{telemetry::CurrentGrid, 1, 1})));
    const std::optional<history::TimeSpan> span = values.storedSpan();
    ASSERT_TRUE(span);
    EXPECT_EQ(span->fromMs, t0);
    EXPECT_EQ(span->toMs, t0 + 7000);

    const history::ChannelInfo info = values.info({telemetry::PowerGrid, 1, 0});
    EXPECT_EQ(info.name, "POWER Batt A A");
    EXPECT_EQ(info.unit, "V");
    EXPECT_EQ(info.low, 5.5);
    EXPECT_EQ(info.high, 8.2);
    EXPECT_EQ(values.info({telemetry::PowerGrid, 3, 1}).unit, "W");
    EXPECT_EQ(values.info({telemetry::TempGrid, 9, 1}).unit, "°C");
    EXPECT_FALSE(values.info({telemetry::PowerGrid, 3, 1}).high);

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
    const qint64 t0 = ms("2026-03-05T14:07:41Z");
    std::vector<Added> added;
    QString error;
    ASSERT_TRUE(
        store.addNow({frame(currents, t0), frame(currents, t0 + 60000), frame(currents, t0 + 20)},
                     TelemetryStore::Repeats::Count, added, error));
    EXPECT_EQ(added, (std::vector<Added>{Added::Stored, Added::Repeat, Added::Repeat}));
    // A re-import finds it stored and counts nothing.
    ASSERT_TRUE(
        store.addNow({frame(currents, t0 - 1000)}, TelemetryStore::Repeats::Skip, added, error));
    EXPECT_EQ(added, std::vector<Added>{Added::Repeat});
    // Another source, another line, or later than a minute: frames of their own.
    store.add(frame(currents, t0 + 30, "ORVEX-2"));
    store.add(frame(power, t0 + 40));
    store.add(frame(currents, t0 + 60001));
    opened.database.flush();
    EXPECT_EQ(scalar("SELECT count(*) FROM frame"), 4);
    EXPECT_EQ(scalar("SELECT heard FROM frame ORDER BY id LIMIT 1"), 3);
    EXPECT_EQ(scalar("SELECT sum(heard) FROM frame"), 6);
    EXPECT_EQ(scalar("SELECT count(*) FROM source"), 2);
}

// The writer of the kill test: adds frames and has them committed every
// 50 ms, telling its parent after each commit how many frames are safe.
// Runs only as the child of the test below.
TEST(StoreKill, Writer)
{
    const QByteArray path = qgetenv("ORVEX_STORE_KILL_PATH");
    if (path.isEmpty())
        GTEST_SKIP() << "the child of StoreKill.KilledWriterLosesOnlyWhatWasNotCommitted";
    orvex::test::StoreFixture fixture;
    orvex::test::HistoryDatabase opened(QString::fromUtf8(path));
    ASSERT_EQ(opened.state, database::StationDatabase::State::Ready);
    QElapsedTimer sinceCommit;
    sinceCommit.start();
    for (int index = 0;; ++index) {
        opened.store.add(fixture.frame(QStringLiteral("K%1,1,2,3,4,0,0,0000,0").arg(index), index));
        if (sinceCommit.elapsed() >= 50) {
            opened.database.flush();
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
