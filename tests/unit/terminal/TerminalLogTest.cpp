// SPDX-License-Identifier: GPL-2.0-or-later
#include "terminal/TerminalLog.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using orvex::Clock;

namespace {

class TerminalLogTest : public ::testing::Test
{
protected:
    TerminalLogTest() : ini(dir.filePath(QStringLiteral("orvexdecode.INI")))
    {
        setTime(QDate(2026, 12, 7), QTime(12, 0, 0));
    }
    ~TerminalLogTest() override { Clock::setSource({}); }

    void setTime(const QDate &day, const QTime &time)
    {
        Clock::setFixed(QDateTime(day, time, Qt::UTC));
    }
    QByteArray logOf(const QDate &day) const
    {
        QFile f(QDir(dir.filePath(QStringLiteral("LOGS"))).filePath(TerminalLog::fileNameFor(day)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QString loggingKey() { return ini.GetIniString("TERMINAL", "LOGGING", "<missing>"); }
    void storeLogging(const QString &value) { ini.SaveIniString("TERMINAL", "LOGGING", value); }

    QTemporaryDir dir;
    clsIni ini;
    const QDate day1{2026, 12, 7};
    const QDate day2{2026, 12, 8};
};

} // namespace

TEST_F(TerminalLogTest, ATextStampedMidnightAfterRoundingGoesToThatDaysLog)
{
    storeLogging(QStringLiteral("True"));
    TerminalLog log(dir.path(), ini);
    setTime(day1, QTime(23, 59, 59, 500));
    log.Load();
    ASSERT_TRUE(log.WriteLog(QStringLiteral("23:59:59\r\n")));
    setTime(day1, QTime(23, 59, 59, 501));
    ASSERT_TRUE(log.WriteLog(QStringLiteral("00:00:00\r\n")));
    EXPECT_EQ(logOf(day1), QByteArray("23:59:59\r\n"));
    EXPECT_EQ(logOf(day2), QByteArray("00:00:00\r\n"));
}

TEST_F(TerminalLogTest, MissingKeyIsWrittenAsFalseAndOpensNothing)
{
    TerminalLog log(dir.path(), ini);
    EXPECT_TRUE(log.Load());
    EXPECT_FALSE(log.blnLogging());
    EXPECT_EQ(loggingKey(), QStringLiteral("False"));
    EXPECT_FALSE(log.isOpen());
    EXPECT_FALSE(QDir(dir.filePath("LOGS")).exists());
}

TEST_F(TerminalLogTest, LoggingOnAtLoadOpensTodaysFileAtOnce)
{
    storeLogging(QStringLiteral("-1"));
    TerminalLog log(dir.path(), ini);
    EXPECT_TRUE(log.Load());
    EXPECT_TRUE(log.blnLogging());
    EXPECT_TRUE(log.isOpen());
    EXPECT_TRUE(QFile::exists(dir.filePath("LOGS/20261207.TXT")));
}

TEST_F(TerminalLogTest, AValueThatIsNoNumberNorTruthWordIsOff)
{
    storeLogging(QStringLiteral("yes please"));
    TerminalLog log(dir.path(), ini);
    log.Load();
    EXPECT_FALSE(log.blnLogging());
    EXPECT_FALSE(log.isOpen());
}

TEST_F(TerminalLogTest, TextsAreWrittenUnchangedInOrderAndAtOnce)
{
    storeLogging(QStringLiteral("True"));
    TerminalLog log(dir.path(), ini);
    log.Load();
    ASSERT_TRUE(log.WriteLog(QStringLiteral("first\r\n")));
    // On disk before the log is closed.
    EXPECT_EQ(logOf(day1), QByteArray("first\r\n"));
    ASSERT_TRUE(log.WriteLog(QStringLiteral("second \xe9\r\nthird")));
    EXPECT_EQ(logOf(day1), QByteArray("first\r\nsecond \xe9\r\nthird"));
}

TEST_F(TerminalLogTest, TheFirstTextAfterMidnightOpensTheNewDaysFile)
{
    storeLogging(QStringLiteral("True"));
    TerminalLog log(dir.path(), ini);
    log.Load();
    setTime(day1, QTime(23, 59, 58));
    log.WriteLog(QStringLiteral("a\r\n"));
    // The last moment of the day in the program's time, which rounds to the
    // second (23:59:59.501 is already 00:00:00).
    setTime(day1, QTime(23, 59, 59, 500));
    log.WriteLog(QStringLiteral("b\r\n"));
    setTime(day2, QTime(0, 0, 0));
    log.WriteLog(QStringLiteral("c\r\n"));
    EXPECT_TRUE(log.openFileName().endsWith(QStringLiteral("20261208.TXT")));
    log.WriteLog(QStringLiteral("d\r\n"));
    EXPECT_EQ(logOf(day1), QByteArray("a\r\nb\r\n"));
    EXPECT_EQ(logOf(day2), QByteArray("c\r\nd\r\n"));
}

TEST_F(TerminalLogTest, AFileOpenedYesterdayIsNotWrittenToday)
{
    // Opened at load shortly before midnight, nothing written until after.
    setTime(day1, QTime(23, 58, 0));
    storeLogging(QStringLiteral("True"));
    TerminalLog log(dir.path(), ini);
    log.Load();
    setTime(day2, QTime(0, 1, 0));
    log.WriteLog(QStringLiteral("after midnight\r\n"));
    EXPECT_EQ(logOf(day1), QByteArray());
    EXPECT_EQ(logOf(day2), QByteArray("after midnight\r\n"));
}

TEST_F(TerminalLogTest, QuietLogIsClosedAfterFiveMinutesAndReopenedByTheNextText)
{
    storeLogging(QStringLiteral("True"));
    TerminalLog log(dir.path(), ini);
    log.Load();
    log.WriteLog(QStringLiteral("before\r\n"));
    for (int seconds = 5; seconds <= 600; seconds += 5) {
        setTime(day1, QTime(12, 0, 0).addSecs(seconds));
        log.Tick();
        if (seconds <= 300)
            EXPECT_TRUE(log.isOpen()) << seconds;
        else
            EXPECT_FALSE(log.isOpen()) << seconds;
    }
    log.WriteLog(QStringLiteral("after\r\n"));
    EXPECT_TRUE(log.isOpen());
    EXPECT_EQ(logOf(day1), QByteArray("before\r\nafter\r\n"));
}

TEST_F(TerminalLogTest, TicksDoNothingWhileLoggingIsOff)
{
    TerminalLog log(dir.path(), ini);
    log.Load();
    setTime(day1, QTime(13, 0, 0));
    log.Tick();
    EXPECT_FALSE(log.isOpen());
    EXPECT_FALSE(QDir(dir.filePath("LOGS")).exists());
}

TEST_F(TerminalLogTest, OffAndOnAgainAppendsToTheSameFile)
{
    storeLogging(QStringLiteral("True"));
    TerminalLog log(dir.path(), ini);
    log.Load();
    log.WriteLog(QStringLiteral("one\r\n"));
    log.ToggleLogging();
    EXPECT_FALSE(log.blnLogging());
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(loggingKey(), QStringLiteral("False"));
    log.ToggleLogging();
    EXPECT_TRUE(log.blnLogging());
    EXPECT_FALSE(log.isOpen()) << "switching on opens nothing";
    EXPECT_EQ(loggingKey(), QStringLiteral("True"));
    log.WriteLog(QStringLiteral("two\r\n"));
    EXPECT_EQ(logOf(day1), QByteArray("one\r\ntwo\r\n"));
}

TEST_F(TerminalLogTest, ALaterRunAppendsToTodaysFile)
{
    storeLogging(QStringLiteral("True"));
    {
        TerminalLog log(dir.path(), ini);
        log.Load();
        log.WriteLog(QStringLiteral("run 1\r\n"));
    }
    TerminalLog log(dir.path(), ini);
    log.Load();
    log.WriteLog(QStringLiteral("run 2\r\n"));
    EXPECT_EQ(logOf(day1), QByteArray("run 1\r\nrun 2\r\n"));
}

TEST_F(TerminalLogTest, AFolderThatCannotBeMadeSwitchesLoggingOffWithAReason)
{
    // A plain file where the folder should be.
    QFile blocker(dir.filePath("LOGS"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TerminalLog log(dir.path(), ini);
    ASSERT_TRUE(log.Load());
    log.ToggleLogging();
    ASSERT_TRUE(log.blnLogging());

    EXPECT_FALSE(log.WriteLog(QStringLiteral("lost?\r\n")));
    EXPECT_FALSE(log.blnLogging());
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(loggingKey(), QStringLiteral("False"));
    EXPECT_TRUE(log.failure().contains(QStringLiteral("20261207.TXT")))
        << log.failure().toStdString();
    EXPECT_TRUE(log.failure().contains(QStringLiteral("folder"))) << log.failure().toStdString();
}

TEST_F(TerminalLogTest, AFileThatCannotBeOpenedAtLoadLeavesLoggingOff)
{
    // A folder where today's file should be.
    ASSERT_TRUE(QDir().mkpath(dir.filePath("LOGS/20261207.TXT")));
    storeLogging(QStringLiteral("True"));
    TerminalLog log(dir.path(), ini);
    EXPECT_FALSE(log.Load());
    EXPECT_FALSE(log.blnLogging());
    EXPECT_EQ(loggingKey(), QStringLiteral("False"));
    EXPECT_TRUE(log.failure().contains(QStringLiteral("20261207.TXT")))
        << log.failure().toStdString();
}

TEST_F(TerminalLogTest, ANewDaysFileThatCannotBeOpenedStopsLoggingThere)
{
    storeLogging(QStringLiteral("True"));
    TerminalLog log(dir.path(), ini);
    log.Load();
    ASSERT_TRUE(log.WriteLog(QStringLiteral("day one\r\n")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("LOGS/20261208.TXT")));
    setTime(day2, QTime(0, 0, 1));
    EXPECT_FALSE(log.WriteLog(QStringLiteral("day two\r\n")));
    EXPECT_FALSE(log.blnLogging());
    EXPECT_EQ(logOf(day1), QByteArray("day one\r\n"));
}
