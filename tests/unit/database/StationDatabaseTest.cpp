// SPDX-License-Identifier: GPL-2.0-or-later
#include "database/StationDatabase.h"
#include "history/TelemetryStore.h"
#include "sharing/UploadQueue.h"
#include "support/Wait.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using database::Connection;
using database::StationDatabase;
using State = database::StationDatabase::State;
using orvex::test::waitUntil;

namespace {

const database::SchemaPart counted{
    "counted", "counted rows", {"CREATE TABLE counted(id INTEGER PRIMARY KEY, n INTEGER UNIQUE)"}};

// Another program's connection to the same file.
class Other
{
public:
    explicit Other(const QString &path) { sqlite3_open(path.toUtf8().constData(), &db_); }
    ~Other() { sqlite3_close(db_); }
    bool exec(const char *sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == 0; }
    qint64 scalar(const char *sql)
    {
        sqlite3_stmt *query = nullptr;
        qint64 value = -1;
        if (sqlite3_prepare_v2(db_, sql, -1, &query, nullptr) == SQLITE_OK &&
            sqlite3_step(query) == SQLITE_ROW)
            value = sqlite3_column_int64(query, 0);
        sqlite3_finalize(query);
        return value;
    }
    // Holds the file so that no one else may write it.
    bool lock() { return exec("BEGIN EXCLUSIVE; CREATE TABLE IF NOT EXISTS other_notes(x)"); }
    bool unlock() { return exec("COMMIT"); }

private:
    sqlite3 *db_ = nullptr;
};

class DatabaseTest : public ::testing::Test
{
protected:
    QString path() const { return dir.filePath(QStringLiteral("telemetry.db")); }
    // A write of row `n` that tells `done` about itself.
    StationDatabase::Work row(int n)
    {
        return [n](Connection &connection) {
            return connection.prepare("INSERT INTO counted(n) VALUES(?1)").bind(1, n).run();
        };
    }
    qint64 scalar(const char *sql) { return Other(path()).scalar(sql); }

    QTemporaryDir dir;
};

} // namespace

TEST_F(DatabaseTest, FilesOfTheOlderLayoutsAreBroughtUpToDateAndNewerOnesRefusedAndLeftAlone)
{
    // A store of the one-version layout at version 1: the history alone, with a frame.
    {
        Other old(path());
        ASSERT_TRUE(old.exec(history::historySchema().steps[0]));
        ASSERT_TRUE(old.exec("INSERT INTO source VALUES(1, 'ORVEX-1'); INSERT INTO frame(utc_ms, "
                             "source_id, side, mode, label, bits, line, line_hash) VALUES(5, 1, "
                             "0, 0, 'HK', '0000', 'HK,1', 7); PRAGMA application_id = 1330796120; "
                             "PRAGMA user_version = 1"));
    }
    {
        StationDatabase database(path());
        history::TelemetryStore store(database);
        sharing::UploadQueue queue(database);
        ASSERT_EQ(database.open(), State::Ready) << database.errorText().toStdString();
    }
    EXPECT_EQ(scalar("PRAGMA user_version"), 3);
    EXPECT_EQ(scalar("SELECT count(*) FROM frame WHERE line = 'HK,1'"), 1) << "kept";
    EXPECT_EQ(scalar("SELECT version FROM schema_part WHERE name = 'history'"),
              history::historySchema().version());
    EXPECT_EQ(scalar("SELECT version FROM schema_part WHERE name = 'sids_queue'"),
              sharing::uploadQueueSchema().version());
    EXPECT_EQ(scalar("SELECT count(*) FROM sqlite_schema WHERE name = 'sids_queue'"), 1);

    // Read as they are by a reader of each part, without being changed.
    QString error;
    EXPECT_TRUE(StationDatabase::openForReading(path(), history::historySchema(), error))
        << error.toStdString();
    EXPECT_FALSE(StationDatabase::openForReading(path(), counted, error));
    EXPECT_EQ(error, "it holds no counted rows");

    // A part newer than this program knows, and a newer layout: refused, untouched.
    Other(path()).exec("UPDATE schema_part SET version = 5 WHERE name = 'history'");
    {
        StationDatabase database(path());
        history::TelemetryStore store(database);
        EXPECT_EQ(database.open(), State::Unusable);
        EXPECT_EQ(database.errorText(), "it was written by a newer version of this program "
                                        "(store version 5; this version reads up to 1)");
    }
    Other(path()).exec("PRAGMA user_version = 7");
    StationDatabase database(path());
    EXPECT_EQ(database.open(), State::Unusable);
    EXPECT_EQ(database.errorText(), "it was written by a newer version of this program (store "
                                    "version 7; this version reads up to 3)");
    EXPECT_EQ(scalar("PRAGMA user_version"), 7) << "left as it was";
    EXPECT_FALSE(StationDatabase::openForReading(path(), history::historySchema(), error));
    EXPECT_TRUE(error.contains("store version 7"));
}

TEST_F(DatabaseTest, FilesThatAreNoStationDatabaseAreRefusedAndLeftAlone)
{
    QFile text(path());
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write(QByteArray(5000, 'x'));
    text.close();
    {
        StationDatabase database(path());
        EXPECT_EQ(database.open(), State::Unusable);
        EXPECT_EQ(database.errorText(), "it is not a telemetry store");
        std::optional<bool> written;
        database.write(row(1), [&written](bool ok) { written = ok; });
        EXPECT_EQ(written, false);
    }
    EXPECT_EQ(QFile(path()).size(), 5000);

    QFile::remove(path());
    Other(path()).exec("CREATE TABLE contacts(call TEXT)");
    StationDatabase database(path());
    EXPECT_EQ(database.open(), State::Unusable);
    EXPECT_EQ(database.errorText(), "it is a database of another program");
    QString error;
    EXPECT_FALSE(StationDatabase::openForReading(dir.filePath("none.db"), counted, error));
    EXPECT_EQ(error, "the file does not exist");

    // A store that another program keeps to itself.
    QFile::remove(path());
    {
        StationDatabase station(path());
        station.addSchema(counted);
        ASSERT_EQ(station.open(), State::Ready);
    }
    Other other(path());
    ASSERT_TRUE(other.exec("PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; "
                           "CREATE TABLE notes(x)"));
    EXPECT_FALSE(StationDatabase::openForReading(path(), counted, error));
    EXPECT_EQ(error, "it is locked by another program");
}

TEST_F(DatabaseTest, WritesWaitInOrderWhileAnotherProgramHoldsTheFileAndGoInAfter)
{
    StationDatabase database(path());
    database.addSchema(counted);
    ASSERT_EQ(database.open(), State::Ready);
    int written = 0;
    database.write(row(0), [&written](bool ok) { written += ok; });
    database.flush();
    QCoreApplication::processEvents();
    EXPECT_EQ(written, 1) << "told after the commit";

    Other other(path());
    ASSERT_TRUE(other.lock());
    for (int n = 1; n <= 500; ++n)
        database.write(row(n), [&written](bool ok) { written += ok; });
    ASSERT_TRUE(waitUntil([&] { return database.statusText().contains("refuses writes"); }))
        << database.statusText().toStdString();
    EXPECT_TRUE(database.statusText().contains("(database is locked); 500 records wait in memory"))
        << database.statusText().toStdString();
    EXPECT_EQ(database.state(), State::Waiting);
    ASSERT_TRUE(other.unlock());

    ASSERT_TRUE(waitUntil([&] { return written == 501; })) << written;
    EXPECT_EQ(scalar("SELECT count(*) FROM counted WHERE n = id - 1"), 501) << "in order";
    EXPECT_TRUE(database.statusText().contains("written again"));
    EXPECT_TRUE(database.statusText().endsWith("; nothing lost"));
}

TEST_F(DatabaseTest, BeyondItsBoundTheOldestWaitingWritesAreDroppedAndCounted)
{
    StationDatabase database(path(), 100);
    database.addSchema(counted);
    ASSERT_EQ(database.open(), State::Ready);
    Other other(path());
    ASSERT_TRUE(other.lock());
    int written = 0, given = 0;
    const auto tally = [&](bool ok) { ++(ok ? written : given); };
    database.write(row(0), tally, StationDatabase::Keep::Always);
    for (int n = 1; n <= 300; ++n)
        database.write(row(n), tally);
    ASSERT_TRUE(waitUntil([&] { return given > 0; }));
    ASSERT_TRUE(other.unlock());
    ASSERT_TRUE(waitUntil([&] { return written + given == 301; }));
    EXPECT_EQ(written, 100);
    EXPECT_EQ(database.health().dropped, given);
    EXPECT_EQ(scalar("SELECT count(*) FROM counted WHERE n = 0"), 1) << "kept always";
    EXPECT_EQ(scalar("SELECT min(n) FROM counted WHERE n > 0"), 300 - 98) << "the newest stay";
    EXPECT_TRUE(database.statusText().contains("201 oldest records dropped"))
        << database.statusText().toStdString();
}

TEST_F(DatabaseTest, AWriteTheFileRefusesForGoodIsTheOnlyOneLost)
{
    StationDatabase database(path());
    database.addSchema(counted);
    ASSERT_EQ(database.open(), State::Ready);
    std::vector<bool> outcomes;
    for (const int n : {1, 2, 1, 3}) // the second 1 breaks the table's rule
        database.write(row(n), [&outcomes](bool ok) { outcomes.push_back(ok); });
    database.flush();
    QCoreApplication::processEvents();
    EXPECT_EQ(outcomes, (std::vector<bool>{true, true, false, true}));
    EXPECT_EQ(scalar("SELECT count(*) FROM counted"), 3);
    EXPECT_EQ(database.health().refused, 1);
    EXPECT_TRUE(database.statusText().endsWith("1 records refused"));
}
