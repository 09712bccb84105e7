// SPDX-License-Identifier: GPL-2.0-or-later
#include "MessageBoxRecorder.h"
#include "core/MonitorText.h"
#include "core/frmORVEX.h"
#include "platform/FlexGrid.h"
#include "support/AgwFrame.h"
#include "support/FakeAgwServer.h"
#include "support/StationUnderTest.h"
#include "support/Wait.h"
#include "telemetry/TelemetryPanel.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

using orvex::test::AgwFrame;
using orvex::test::FakeAgwServer;
using orvex::test::StationUnderTest;

namespace {

const QByteArray telemetryFrame =
    AgwFrame::monitorData("Q9ZZZ-3", "ORVEX-1", "HK,100,50,25,10,0,0,0000,0");
const QByteArray otherFrame = AgwFrame::monitorData("K1ABC", {}, "hello");

class MainWindowLink : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listenBelow());
        server.answerLinkUp = true;
        station = std::make_unique<StationUnderTest>(server.port());
        ASSERT_TRUE(station->load());
        window = station->window.get();
        ASSERT_TRUE(server.waitForClient());
        ASSERT_TRUE(station->waitForLink());
    }

    QString monitorText() const { return station->monitorText(); }
    QString linkStatus() const
    {
        const auto *label = window->findChild<QLabel *>(QStringLiteral("linkStatus"));
        return label ? label->text() : QString();
    }
    QTimer *timer(const char *name) const { return station->timer(name); }

    MessageBoxRecorder boxes;
    FakeAgwServer server;
    std::unique_ptr<StationUnderTest> station;
    frmORVEX *window = nullptr;
};

} // namespace

TEST(MainWindowMonitor, IsDisabledUntilALinkComesUp)
{
    orvex::test::ProgramFolder folder;
    frmORVEX window(folder.path());
    EXPECT_FALSE(window.txtMon()->isEnabled());
}

TEST_F(MainWindowLink, ConnectedLinkEnablesTheMonitorAndShowsFramesInLongForm)
{
    EXPECT_TRUE(window->txtMon()->isEnabled());
    // The link line as the event has it, with nothing in front.
    EXPECT_TRUE(monitorText().split('\n').contains("*** AGW-Connected to - 127.0.0.1"))
        << monitorText().toStdString();
    EXPECT_TRUE(
        linkStatus().startsWith(QStringLiteral("Linked to 127.0.0.1:%1 since ").arg(server.port())))
        << linkStatus().toStdString();

    server.sendFrame('U', 0, "Q9ZZZ-3", "APRS", telemetryFrame);
    server.sendFrame('U', 0, "K1ABC", "APRS", otherFrame);
    ASSERT_TRUE(orvex::test::waitUntil([&] { return monitorText().contains("hello"); }));
    const QString text = monitorText();
    EXPECT_TRUE(
        text.contains("R Q9ZZZ-3>APRS,ORVEX-1 Port=1 <UI Len=26>:\nHK,100,50,25,10,0,0,0000,0\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("R K1ABC>APRS Port=1 <UI Len=5>:\nhello\n"));
    EXPECT_EQ(window->telemetryPanel()->grid(1)->TextMatrix(1, 1), "196");
}

TEST_F(MainWindowLink, OnlyShowOrvexShowsTheSatelliteInShortFormAndHidesOtherTraffic)
{
    QAction *only = window->menuBar()->findChild<QAction *>("mnuOnlyShowORVEX");
    ASSERT_NE(only, nullptr);
    only->trigger();
    EXPECT_TRUE(only->isChecked());
    server.sendFrame('U', 0, "K1ABC", "APRS", otherFrame);
    server.sendFrame('U', 0, "Q9ZZZ-3", "APRS", telemetryFrame);
    ASSERT_TRUE(orvex::test::waitUntil([&] { return monitorText().contains("HK,100"); }));
    const QString text = monitorText();
    EXPECT_TRUE(text.contains(" Q9ZZZ-3>APRS,ORVEX-1:\nHK,100,50,25,10,0,0,0000,0\n"))
        << text.toStdString();
    EXPECT_FALSE(text.contains("Port=1"));
    EXPECT_FALSE(text.contains("hello"));
    EXPECT_EQ(window->telemetryPanel()->grid(1)->TextMatrix(1, 1), "196");
}

TEST_F(MainWindowLink, ALostLinkIsMarkedDownAndRetried)
{
    server.closeClient();
    ASSERT_TRUE(orvex::test::waitUntil(
        [&] { return monitorText().contains("Will automatically retry in 30 seconds time."); }));
    EXPECT_FALSE(window->blnConectedToAgw());
    ASSERT_NE(timer("timRetry"), nullptr);
    EXPECT_TRUE(timer("timRetry")->isActive());
    EXPECT_FALSE(window->txtMon()->isEnabled());
    // The status bar says the link is down and offers to try at once.
    EXPECT_TRUE(linkStatus().startsWith(
        QStringLiteral("No link: disconnected by the engine, next try in ")))
        << linkStatus().toStdString();
    auto *connectNow = window->findChild<QToolButton *>(QStringLiteral("connectNow"));
    ASSERT_NE(connectNow, nullptr);
    EXPECT_FALSE(connectNow->isHidden());

    // Connect now connects again, and the retry is off.
    connectNow->click();
    EXPECT_FALSE(timer("timRetry")->isActive());
    ASSERT_TRUE(server.waitForClient());
    ASSERT_TRUE(orvex::test::waitUntil([&] { return window->blnConectedToAgw(); }));
    EXPECT_TRUE(window->txtMon()->isEnabled());
}

TEST_F(MainWindowLink, ReconnectAndShutdownDoNotArmTheRetry)
{
    window->AgwReconnect();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return window->blnConectedToAgw(); }));
    EXPECT_FALSE(timer("timRetry")->isActive());
    EXPECT_FALSE(monitorText().contains("retry"));
    // After the shutdown the engine goes away: that is no reason to retry.
    window->close();
    server.closeClient();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return !window->blnConectedToAgw(); }));
    EXPECT_TRUE(monitorText().contains("*** AGW-Disconnected from - 127.0.0.1"));
    EXPECT_FALSE(timer("timRetry")->isActive());
    EXPECT_FALSE(monitorText().contains("retry"));
}

TEST_F(MainWindowLink, TheMonitorIsCutToItsLastFiveThousandCharactersAboveTenThousand)
{
    // Every shown line ends in a line break: 9999 characters make 10000.
    window->txtMon()->clear();
    window->ShowMonitorText(QString(9999, 'a'), monitor::LinkMessage);
    window->ShowMonitorText("b", monitor::LinkMessage);
    // Text shown in one turn of the event loop goes in at its end (and
    // nothing the engine sends meanwhile).
    QCoreApplication::sendPostedEvents();
    const QString uncut = QString(9999, 'a') + "\nb\n";
    EXPECT_TRUE(monitorText() == uncut) << "10000 characters are not cut; " << monitorText().size();

    window->ShowMonitorText("c", monitor::LinkMessage);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(monitorText() == uncut.right(5000) + "c\n") << monitorText().size();
}
