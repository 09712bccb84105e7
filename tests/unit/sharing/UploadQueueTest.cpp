// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/UploadQueue.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sqlite3.h>

using namespace sharing;

namespace {

SidsReport report(int n)
{
    SidsReport r;
    r.noradId = QStringLiteral("26931");
    r.source = QStringLiteral("Q9ZZZ-5");
    r.heardUtc = QDateTime(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC).addMSecs(n);
    r.frame = QByteArray("\x00\x01\xFE", 3) + QByteArray::number(n);
    r.longitudeDeg = 8.5;
    r.latitudeDeg = -47.25;
    if (n % 2 == 0) {
        r.azimuthDeg = 10.5 + n;
        r.elevationDeg = 3.25;
    }
    return r;
}

struct QueueFile
{
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("telemetry.db")); }
};

// The queue in a station database of its own, open.
struct OpenQueue
{
    explicit OpenQueue(const QString &path) : database(path), queue(database)
    {
        state = database.open();
    }
    // The id of the oldest queued frame, once what waits is written.
    qint64 head()
    {
        database.flush();
        const auto entry = queue.oldestQueued();
        return entry ? entry->id : 0;
    }
    database::StationDatabase database;
    UploadQueue queue;
    database::StationDatabase::State state;
};

} // namespace

TEST(UploadQueue, OldestFirstAndLeavesTheQueueOnlyOnTheServersWord)
{
    QueueFile file;
    OpenQueue opened(file.path());
    UploadQueue &queue = opened.queue;
    ASSERT_TRUE(queue.available()) << queue.error().toStdString();
    bool written = false;
    queue.add(report(1), {}, [&written](bool ok) { written = ok; });
    const qint64 first = opened.head();
    queue.add(report(2));
    queue.add(report(3));
    QCoreApplication::processEvents();
    EXPECT_TRUE(written) << "told once it is in the file";

    // A failed attempt keeps the frame at the head, with its reason.
    queue.noteAttempt(first, QStringLiteral("503 Service Unavailable"));
    ASSERT_EQ(opened.head(), first);
    auto head = queue.oldestQueued();
    EXPECT_EQ(head->attempts, 1);
    EXPECT_EQ(head->lastError, "503 Service Unavailable");
    EXPECT_EQ(head->report.frame, report(1).frame);
    EXPECT_FALSE(head->report.azimuthDeg);

    queue.markSent(first, QDateTime::currentDateTimeUtc());
    const qint64 second = opened.head();
    EXPECT_GT(second, first);
    EXPECT_EQ(queue.oldestQueued()->report.azimuthDeg, 12.5);

    queue.markRefused(second, QStringLiteral("400 Bad Request: frame invalid"),
                      QDateTime::currentDateTimeUtc());
    opened.database.flush();
    const UploadQueue::Counts counts = queue.counts();
    EXPECT_EQ(counts.queued, 1);
    EXPECT_EQ(counts.sent, 1);
    EXPECT_EQ(counts.refused, 1);
}

// A held frame waits for the operator: never handed out until released, and
// a refused one goes again only when retried. Each decision moves only
// frames in the state it is meant for.
TEST(UploadQueue, HeldAndRefusedFramesGoOnlyOnTheOperatorsWord)
{
    QueueFile file;
    OpenQueue opened(file.path());
    UploadQueue &queue = opened.queue;
    queue.add(report(1), QStringLiteral("Only the demo's elements."));
    queue.add(report(2));
    const qint64 sent = opened.head();
    queue.markRefused(sent, QStringLiteral("400 Bad Request"), QDateTime::currentDateTimeUtc());
    EXPECT_EQ(opened.head(), 0) << "neither the held nor the refused frame is handed out";

    std::vector<UploadQueue::Entry> waiting = queue.heldAndRefused(10);
    ASSERT_EQ(waiting.size(), 2u);
    EXPECT_EQ(waiting[0].state, UploadQueue::State::Refused);
    EXPECT_EQ(waiting[0].lastError, "400 Bad Request");
    EXPECT_EQ(waiting[1].state, UploadQueue::State::Held);
    EXPECT_EQ(waiting[1].holdReason, "Only the demo's elements.");
    EXPECT_EQ(waiting[1].report.frame, report(1).frame);
    const qint64 held = waiting[1].id;
    EXPECT_EQ(queue.heldAndRefused(1).size(), 1u);

    // Releasing the refused frame or retrying the held one changes nothing.
    queue.release({sent}, QDateTime::currentDateTimeUtc());
    queue.retry({held});
    EXPECT_EQ(opened.head(), 0);

    queue.release({held}, QDateTime::currentDateTimeUtc());
    EXPECT_EQ(opened.head(), held);
    queue.markSent(held, QDateTime::currentDateTimeUtc());
    queue.retry({sent});
    EXPECT_EQ(opened.head(), sent);
    const UploadQueue::Counts counts = queue.counts();
    EXPECT_EQ(counts.queued, 1);
    EXPECT_EQ(counts.held, 0);
    EXPECT_EQ(counts.refused, 0);
    EXPECT_EQ(counts.sent, 1);
}

// A file of the version before holding: what it had queued was never checked
// against the elements and is held; what it had sent or refused stays so.
TEST(UploadQueue, AnOlderFilesQueuedFramesAreHeldAfterTheUpgrade)
{
    QueueFile file;
    {
        const database::SchemaPart older{
            "sids_queue", "upload queue", {uploadQueueSchema().steps.front()}};
        database::StationDatabase database(file.path());
        database.addSchema(older);
        ASSERT_EQ(database.open(), database::StationDatabase::State::Ready);
        ASSERT_TRUE(database.writeNow([](database::Connection &connection) {
            return connection.exec(
                "INSERT INTO sids_queue(heard_utc_ms, norad_id, station, frame, longitude, "
                "latitude, elevation, state, last_error) VALUES "
                "(1, '26931', 'Q9ZZZ-5', x'01', 8.5, 47.4, -80.9, 0, NULL), "
                "(2, '26931', 'Q9ZZZ-5', x'02', 8.5, 47.4, 12.0, 1, NULL), "
                "(3, '26931', 'Q9ZZZ-5', x'03', 8.5, 47.4, 12.0, 2, '400 Bad Request')");
        }));
    }
    OpenQueue opened(file.path());
    ASSERT_EQ(opened.state, database::StationDatabase::State::Ready);
    EXPECT_FALSE(opened.queue.oldestQueued());
    const std::vector<UploadQueue::Entry> waiting = opened.queue.heldAndRefused(10);
    ASSERT_EQ(waiting.size(), 2u);
    EXPECT_EQ(waiting[0].lastError, "400 Bad Request");
    EXPECT_EQ(waiting[1].state, UploadQueue::State::Held);
    EXPECT_EQ(waiting[1].report.frame, QByteArray("\x01", 1));
    EXPECT_EQ(waiting[1].report.elevationDeg, -80.9);
    EXPECT_TRUE(waiting[1].holdReason.contains("earlier version"));
    EXPECT_EQ(opened.queue.counts().sent, 1);
}

TEST(UploadQueue, SurvivesReopenWithEveryFieldAndTheRefusalReason)
{
    QueueFile file;
    {
        OpenQueue opened(file.path());
        opened.queue.add(report(4));
        const qint64 refused = opened.head();
        opened.queue.add(report(5));
        opened.queue.add(report(6));
        opened.queue.markRefused(refused, QStringLiteral("400 Bad Request"),
                                 QDateTime::currentDateTimeUtc());
    }
    OpenQueue opened(file.path());
    UploadQueue &queue = opened.queue;
    ASSERT_TRUE(queue.available());
    const auto head = queue.oldestQueued();
    ASSERT_TRUE(head);
    const SidsReport expected = report(5);
    EXPECT_EQ(head->report.noradId, expected.noradId);
    EXPECT_EQ(head->report.source, expected.source);
    EXPECT_EQ(head->report.heardUtc, expected.heardUtc);
    EXPECT_EQ(head->report.frame, expected.frame);
    EXPECT_EQ(head->report.longitudeDeg, expected.longitudeDeg);
    EXPECT_EQ(head->report.latitudeDeg, expected.latitudeDeg);
    EXPECT_EQ(queue.counts().queued, 2);

    // The file is in WAL mode and the reason is kept.
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(file.path().toUtf8().constData(), &db), SQLITE_OK);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT last_error FROM sids_queue WHERE state = 2", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "400 Bad Request");
    sqlite3_finalize(stmt);
    sqlite3_prepare_v2(db, "PRAGMA journal_mode", -1, &stmt, nullptr);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    EXPECT_STREQ(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "wal");
    sqlite3_finalize(stmt);
    sqlite3_close(db);
}

TEST(UploadQueue, AFileThatIsNoDatabaseIsSaidAndAddsNothing)
{
    QueueFile file;
    QFile junk(file.path());
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    OpenQueue opened(file.path());
    UploadQueue &queue = opened.queue;
    EXPECT_EQ(opened.state, database::StationDatabase::State::Unusable);
    EXPECT_FALSE(queue.available());
    EXPECT_FALSE(queue.error().isEmpty());
    std::optional<bool> written;
    queue.add(report(1), {}, [&written](bool ok) { written = ok; });
    EXPECT_EQ(written, false);
    EXPECT_FALSE(queue.oldestQueued());
}
