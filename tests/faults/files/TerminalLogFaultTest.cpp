// SPDX-License-Identifier: GPL-2.0-or-later
// A terminal log that cannot be written because the disk is full: what was
// logged stays as it was (no half text at its end), logging switches itself
// off with one message, and the monitor keeps everything.
#include "FileFaults.h"
#include "MessageBoxRecorder.h"
#include "core/frmORVEX.h"
#include "platform/DateTime.h"
#include "platform/RichMonitor.h"
#include "shared/clsIni.h"
#include "support/Wait.h"
#include "terminal/TerminalLog.h"
#include "terminal/frmTerm.h"

#include <QAction>
#include <cerrno>
#include <gtest/gtest.h>

using orvex::Clock;
using orvex::test::FullDisk;
using orvex::test::ProgramFolder;
using orvex::test::readBytes;

namespace {

class LogFaults : public ::testing::Test
{
protected:
    LogFaults() { Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(12, 0), Qt::UTC)); }
    ~LogFaults() override { Clock::setSource({}); }

    QString todaysLog() const { return folder.file("LOGS/20261207.TXT"); }

    ProgramFolder folder;
    // Longer than any settings file of these tests, so that a limit just
    // above the log's size leaves room for the settings.
    const QString first = QString(4000, QLatin1Char('x')) + QStringLiteral("\r\n");
};

} // namespace

TEST_F(LogFaults, AFullDiskKeepsTheLogAsItWasAndSwitchesLoggingOff)
{
    clsIni ini(folder.iniFile());
    ini.SaveIniString("TERMINAL", "LOGGING", "True");
    TerminalLog log(folder.path(), ini);
    ASSERT_TRUE(log.Load());
    ASSERT_TRUE(log.WriteLog(first));
    {
        // Room for five more bytes: the next text is cut short by the disk.
        FullDisk full(readBytes(todaysLog()).size() + 5);
        ASSERT_TRUE(full.active());
        EXPECT_FALSE(log.WriteLog(QStringLiteral("second, which does not fit\r\n")));
    }
    EXPECT_EQ(readBytes(todaysLog()), first.toLatin1()) << "no half text at the end";
    EXPECT_FALSE(log.blnLogging());
    EXPECT_FALSE(log.isOpen());
    EXPECT_EQ(ini.GetIniString("TERMINAL", "LOGGING", ""), "False");
    EXPECT_TRUE(log.failure().contains(QDir::toNativeSeparators(todaysLog())))
        << log.failure().toStdString();
    EXPECT_TRUE(
        log.failure().contains(QStringLiteral(" could not be written: ") + qt_error_string(EFBIG)))
        << log.failure().toStdString();

    // Once there is room, logging switched on again appends after the old text.
    log.ToggleLogging();
    ASSERT_TRUE(log.WriteLog(QStringLiteral("third\r\n")));
    EXPECT_EQ(readBytes(todaysLog()), first.toLatin1() + "third\r\n");
}

TEST_F(LogFaults, TheProgramShowsOneMessageAndKeepsMonitoring)
{
    clsIni(folder.iniFile()).SaveIniString("TERMINAL", "LOGGING", "True");
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    frmTerm *term = window.terminal();
    ASSERT_NE(term, nullptr);
    ASSERT_TRUE(term->blnLogging());
    term->ShowData(first, 0);
    // The log holds the link messages of the start too.
    const QByteArray logged = readBytes(todaysLog());
    ASSERT_TRUE(logged.endsWith(first.toLatin1()));
    const qsizetype boxesBefore = boxes.seen.size();
    {
        FullDisk full(logged.size() + 5);
        ASSERT_TRUE(full.active());
        term->ShowData(QStringLiteral("second\r\n"), 0);
        term->ShowData(QStringLiteral("third\r\n"), 4);
    }
    ASSERT_EQ(boxes.seen.size(), boxesBefore + 1) << boxes.texts().join('\n').toStdString();
    EXPECT_TRUE(boxes.seen.last().text.startsWith(QStringLiteral("The terminal log ") +
                                                  QDir::toNativeSeparators(todaysLog())));
    EXPECT_EQ(boxes.seen.last().icon, QMessageBox::Warning);
    EXPECT_FALSE(term->blnLogging());
    EXPECT_FALSE(term->findChild<QAction *>("mnuLogAllData")->isChecked());
    EXPECT_EQ(clsIni(folder.iniFile()).GetIniString("TERMINAL", "LOGGING", ""), "False");
    EXPECT_EQ(readBytes(todaysLog()), logged);
    auto *monitor = term->findChild<RichMonitor *>();
    ASSERT_NE(monitor, nullptr);
    // (The link's own messages may come in between while the box is open.)
    const QString shown = monitor->text();
    const qsizetype second = shown.indexOf(QStringLiteral("x\nsecond\n"));
    EXPECT_GE(second, 0) << shown.right(200).toStdString();
    EXPECT_GT(shown.indexOf(QStringLiteral("\nthird\n"), second), second);
}

TEST_F(LogFaults, WhenNothingCanBeWrittenTheUserHearsOfTheLogAndOfTheSettings)
{
    clsIni(folder.iniFile()).SaveIniString("TERMINAL", "LOGGING", "True");
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    window.terminal()->ShowData(first, 0);
    const QByteArray logged = readBytes(todaysLog());
    const QByteArray settingsBefore = folder.ini();
    const qsizetype boxesBefore = boxes.seen.size();
    {
        FullDisk full(0);
        ASSERT_TRUE(full.active());
        window.terminal()->ShowData(QStringLiteral("second\r\n"), 0);
        ASSERT_TRUE(orvex::test::waitUntil([&] { return boxes.seen.size() >= boxesBefore + 2; }));
    }
    const QStringList texts = boxes.texts().mid(boxesBefore);
    ASSERT_EQ(texts.size(), 2) << texts.join('\n').toStdString();
    EXPECT_TRUE(texts.filter(QStringLiteral("The terminal log ")).size() == 1);
    EXPECT_TRUE(texts.filter(QStringLiteral("The settings file ")).size() == 1);
    EXPECT_FALSE(window.terminal()->blnLogging());
    EXPECT_EQ(folder.ini(), settingsBefore);
    EXPECT_EQ(readBytes(todaysLog()), logged);
}
