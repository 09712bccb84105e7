// SPDX-License-Identifier: GPL-2.0-or-later
#include "TerminalFixture.h"

#include "platform/DateTime.h"
#include "platform/RichMonitor.h"

#include <QAction>
#include <QDir>
#include <QSignalSpy>

namespace {

const QColor green(0, 255, 0);
const QColor cyan(0, 255, 255);

class TerminalMonitor : public TerminalFixture
{
protected:
    TerminalMonitor()
    {
        orvex::Clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(10, 0), Qt::UTC));
    }
    ~TerminalMonitor() override { orvex::Clock::setSource({}); }

    RichMonitor *monitor() const { return child<RichMonitor>("rtbMon"); }
    QAction *action(const char *name) const { return child<QAction>(name); }
    QByteArray log(const char *name) const
    {
        QFile f(dir.filePath(QStringLiteral("LOGS/") + QLatin1String(name)));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

} // namespace

TEST_F(TerminalMonitor, TransmittedFramesAreCyanAndTheRestGreen)
{
    open();
    term->ShowData(QStringLiteral("heard\r\n"), 0);
    term->ShowData(QStringLiteral("sent\r\n"), 4);
    term->ShowData(QStringLiteral("link\r\n"), 2);
    EXPECT_EQ(monitor()->text(), QStringLiteral("heard\nsent\nlink\n"));
    EXPECT_EQ(monitor()->colourAt(0), green);
    EXPECT_EQ(monitor()->colourAt(6), cyan);
    EXPECT_EQ(monitor()->colourAt(11), green);
}

TEST_F(TerminalMonitor, TheMonitorIsTrimmedAfterALineFeedKeepingColours)
{
    open();
    // 100 lines of 99 characters and a line end: exactly 10000 characters.
    const QString line = QString(99, QLatin1Char('g')) + QStringLiteral("\r\n");
    for (int i = 0; i < 100; ++i)
        term->ShowData(line, i % 2 ? 4 : 0);
    ASSERT_EQ(monitor()->length(), 10000);
    term->ShowData(QStringLiteral("x"), 0);
    EXPECT_EQ(monitor()->length(), 10001) << "10000 characters are not trimmed";

    term->ShowData(QStringLiteral("y"), 4);
    // Cut just after the line feed at or after 5000 before the end.
    const QString shown = monitor()->text();
    EXPECT_EQ(shown.size(), 4902);
    EXPECT_TRUE(shown.startsWith(QString(99, QLatin1Char('g')) + QLatin1Char('\n')));
    EXPECT_TRUE(shown.endsWith(QStringLiteral("xy")));
    // Line 51 of the original (kind 4, cyan) now starts the monitor.
    EXPECT_EQ(monitor()->colourAt(0), cyan);
    EXPECT_EQ(monitor()->colourAt(100), green);
    EXPECT_EQ(monitor()->colourAt(shown.size() - 1), cyan);
}

TEST_F(TerminalMonitor, ClearEmptiesAndCloseHides)
{
    openShown();
    term->ShowData(QStringLiteral("text\r\n"), 0);
    action("mnuClear")->trigger();
    EXPECT_EQ(monitor()->length(), 0);
    action("mnuClose")->trigger();
    EXPECT_FALSE(term->isVisible());
}

TEST_F(TerminalMonitor, EscapeAndTheCloseBoxOnlyHide)
{
    openShown();
    QSignalSpy unloading(term.get(), &frmTerm::ImUnloading);
    QTest::keyClick(box("txtTx"), Qt::Key_Escape);
    EXPECT_FALSE(term->isVisible());
    term->show();
    term->close();
    EXPECT_FALSE(term->isVisible());
    EXPECT_EQ(unloading.count(), 0);
    // Still receiving while hidden.
    term->ShowData(QStringLiteral("hidden\r\n"), 0);
    EXPECT_EQ(monitor()->text(), QStringLiteral("hidden\n"));
}

TEST_F(TerminalMonitor, UnloadRaisesImUnloadingOnce)
{
    open();
    QSignalSpy unloading(term.get(), &frmTerm::ImUnloading);
    term->Unload();
    term->Unload();
    EXPECT_EQ(unloading.count(), 1);
}

TEST_F(TerminalMonitor, TheMonitorUsesGlyphixFromTheProgramFolder)
{
    open();
    EXPECT_EQ(monitor()->font().family(), QStringLiteral("GLYPHIX"));
    EXPECT_EQ(QFontInfo(monitor()->font()).family(), QStringLiteral("GLYPHIX"));
    EXPECT_TRUE(QFontInfo(monitor()->font()).fixedPitch());
}

TEST_F(TerminalMonitor, LoggingOnWritesExactlyWhatIsShown)
{
    ini().SaveIniString("TERMINAL", "LOGGING", "True");
    open();
    EXPECT_TRUE(action("mnuLogAllData")->isChecked());
    term->ShowData(QStringLiteral("10:00:00R Q9ZZZ>CQ:hello\r\n"), 0);
    term->ShowData(QStringLiteral("10:00:01T Q9ZZZ>CQ:reply\r\n"), 4);
    EXPECT_EQ(log("20261207.TXT"),
              QByteArray("10:00:00R Q9ZZZ>CQ:hello\r\n10:00:01T Q9ZZZ>CQ:reply\r\n"));
}

TEST_F(TerminalMonitor, TheMenuTogglesLoggingAndStoresIt)
{
    open();
    EXPECT_EQ(setting("TERMINAL", "LOGGING"), QStringLiteral("False"));
    term->ShowData(QStringLiteral("not logged\r\n"), 0);
    action("mnuLogAllData")->trigger();
    EXPECT_TRUE(action("mnuLogAllData")->isChecked());
    EXPECT_EQ(setting("TERMINAL", "LOGGING"), QStringLiteral("True"));
    term->ShowData(QStringLiteral("logged\r\n"), 0);
    action("mnuLogAllData")->trigger();
    EXPECT_FALSE(action("mnuLogAllData")->isChecked());
    term->ShowData(QStringLiteral("not logged\r\n"), 0);
    action("mnuLogAllData")->trigger();
    term->ShowData(QStringLiteral("logged again\r\n"), 0);
    EXPECT_EQ(log("20261207.TXT"), QByteArray("logged\r\nlogged again\r\n"));
}

TEST_F(TerminalMonitor, AnUnwritableLogSwitchesLoggingOffWithOneMessage)
{
    QFile blocker(dir.filePath("LOGS"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    open();
    action("mnuLogAllData")->trigger();
    term->ShowData(QStringLiteral("first\r\n"), 0);
    term->ShowData(QStringLiteral("second\r\n"), 0);
    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_TRUE(boxes.seen[0].text.contains(QStringLiteral("20261207.TXT")));
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Warning);
    EXPECT_FALSE(action("mnuLogAllData")->isChecked());
    EXPECT_FALSE(term->blnLogging());
    EXPECT_EQ(setting("TERMINAL", "LOGGING"), QStringLiteral("False"));
    EXPECT_EQ(monitor()->text(), QStringLiteral("first\nsecond\n"));
}

TEST_F(TerminalMonitor, ALogThatCannotBeOpenedAtLoadIsReported)
{
    ASSERT_TRUE(QDir().mkpath(dir.filePath("LOGS/20261207.TXT")));
    ini().SaveIniString("TERMINAL", "LOGGING", "1");
    open();
    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_FALSE(action("mnuLogAllData")->isChecked());
    EXPECT_EQ(setting("TERMINAL", "LOGGING"), QStringLiteral("False"));
}
