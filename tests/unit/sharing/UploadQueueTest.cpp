// SPDX-License-Identifier: GPL-2.0-or-later
#include "sharing/UploadQueue.h"

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

} // namespace

TEST(UploadQueue, OldestFirstAndLeavesTheQueueOnlyOnTheServersWord)
{
    QueueFile file;
    UploadQueue queue(file.path());
    ASSERT_TRUE(queue.isOpen()) << queue.error().toStdString();
    const qint64 first = *queue.add(report(1));
    const qint64 second = *queue.add(report(2));
    queue.add(report(3));

    // A failed attempt keeps the frame at the head, with its reason.
    ASSERT_TRUE(queue.noteAttempt(first, QStringLiteral("503 Service Unavailable")));
    auto head = queue.oldestQueued();
    ASSERT_TRUE(head);
    EXPECT_EQ(head->id, first);
    EXPECT_EQ(head->attempts, 1);
    EXPECT_EQ(head->lastError, "503 Service Unavailable");
    EXPECT_EQ(head->report.frame, report(1).frame);
    EXPECT_FALSE(head->report.azimuthDeg);

    ASSERT_TRUE(queue.markSent(first, QDateTime::currentDateTimeUtc()));
    head = queue.oldestQueued();
    EXPECT_EQ(head->id, second);
    EXPECT_EQ(head->report.azimuthDeg, 12.5);

    ASSERT_TRUE(queue.markFailed(second, QStringLiteral("400 Bad Request: frame invalid"),
                                 QDateTime::currentDateTimeUtc()));
    const UploadQueue::Counts counts = queue.counts();
    EXPECT_EQ(counts.queued, 1);
    EXPECT_EQ(counts.sent, 1);
    EXPECT_EQ(counts.failed, 1);
}

TEST(UploadQueue, SurvivesReopenWithEveryFieldAndTheRefusalReason)
{
    QueueFile file;
    qint64 refused = 0;
    {
        UploadQueue queue(file.path());
        refused = *queue.add(report(4));
        queue.add(report(5));
        queue.add(report(6));
        queue.markFailed(refused, QStringLiteral("400 Bad Request"),
                         QDateTime::currentDateTimeUtc());
    }
    UploadQueue queue(file.path());
    ASSERT_TRUE(queue.isOpen());
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
    UploadQueue queue(file.path());
    EXPECT_FALSE(queue.isOpen());
    EXPECT_FALSE(queue.error().isEmpty());
    EXPECT_FALSE(queue.add(report(1)));
    EXPECT_FALSE(queue.oldestQueued());
}
