// SPDX-License-Identifier: GPL-2.0-or-later
#include "StationFixture.h"
#include "core/frmORVEX.h"
#include "platform/FlexGrid.h"
#include "platform/RichMonitor.h"
#include "support/DireWolfStation.h"
#include "support/Wait.h"
#include "telemetry/TelemetryPanel.h"
#include "terminal/frmTerm.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using orvex::test::DireWolfStation;
using orvex::test::waitUntil;

TEST_F(StationDireWolf, HeardFramesReachTheMonitorTheGridsTheTerminalAndTheLog)
{
    QString error;
    ASSERT_TRUE(station.play({"ORVEX-3>TLM:T#090,178,130,096,188,098,230,00111100,4690",
                              "Q9AAA>APRS,ORVEX-1*:!3859.50N/07701.23W-hello from the bird"},
                             &error))
        << error.toStdString();
    ASSERT_TRUE(waitUntil([&] { return monitorText().contains("hello from the bird"); }, 30000))
        << monitorText().toStdString();

    const QString text = monitorText();
    EXPECT_TRUE(text.contains("R ORVEX-3>TLM Port=1 <UI Len=")) << text.toStdString();
    EXPECT_TRUE(text.contains("\nT#090,178,130,096,188,098,230,00111100,4690\n"));
    EXPECT_TRUE(text.contains("R Q9AAA>APRS,ORVEX-1 Port=1 <UI Len="));
    // ORVEX-3 is side B; mode 3 fills the POWER grid's B column.
    FlexGrid *power = window()->telemetryPanel()->grid(0);
    EXPECT_EQ(power->TextMatrix(1, 2), "10.68");
    EXPECT_TRUE(power->TextMatrix(1, 4).startsWith("T#090  "));

    EXPECT_TRUE(terminalText().contains("hello from the bird"));
    EXPECT_TRUE(logFile().contains("hello from the bird"))
        << "the log holds what the terminal showed";
    EXPECT_TRUE(logFile().contains("T#090,178,130,096,188,098,230,00111100,4690"));
}

TEST_F(StationDireWolf, ATypedLineGoesOutViaTheSatelliteAndComesBackAsTransmitted)
{
    auto *line = window()->terminal()->findChild<QLineEdit *>("txtTx");
    ASSERT_NE(line, nullptr);
    QTest::keyClicks(line, "CQ CQ via ORVEX");
    QTest::keyClick(line, Qt::Key_Return);
    ASSERT_TRUE(waitUntil([&] { return monitorText().contains("CQ CQ via ORVEX"); }, 30000))
        << station.log().toStdString();
    EXPECT_TRUE(monitorText().contains("T Q9ABC>CQ,ORVEX-1 Port=1 <UI"))
        << monitorText().toStdString();
    EXPECT_TRUE(terminalText().contains("CQ CQ via ORVEX"));
}

TEST_F(StationDireWolf, AMessageToTheStationIsAckedOnTheAirViaTheSatelliteOneToAnotherIsNot)
{
    QString error;
    ASSERT_TRUE(station.play({"Q9AAA>APRS,ORVEX-1*::Q9XYZ    :not for us{17",
                              "Q9AAA>APRS,ORVEX-1*::Q9ABC    :hello station{18"},
                             &error))
        << error.toStdString();
    // The engine reports what it transmitted as 'T' frames in the monitor.
    ASSERT_TRUE(waitUntil([&] { return monitorText().contains(":Q9AAA    :ack18"); }, 30000))
        << monitorText().toStdString() << station.log().toStdString();
    const QString text = monitorText();
    EXPECT_TRUE(text.contains("T Q9ABC>" + window()->strAprsDest() + ",ORVEX-1 Port=1 <UI"))
        << text.toStdString();
    EXPECT_FALSE(text.contains("ack17")) << text.toStdString();
}
