// SPDX-License-Identifier: GPL-2.0-or-later
// The history through the whole station: frames heard from the engine end up
// in telemetry.db as the grids show them; a store that cannot be used is said
// once and the grids go on.
#include "MessageBoxRecorder.h"
#include "history/HistoryWindow.h"
#include "history/TelemetryHistory.h"
#include "platform/FlexGrid.h"
#include "support/AgwFrame.h"
#include "support/FakeAgwServer.h"
#include "support/StationUnderTest.h"
#include "support/StoreRows.h"
#include "telemetry/TelemetryGrids.h"
#include "telemetry/TelemetryPanel.h"

#include <QDateTime>
#include <QFile>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using orvex::test::AgwFrame;
using orvex::test::FakeAgwServer;
using orvex::test::StationUnderTest;
using orvex::test::storeRows;
using orvex::test::waitUntil;

namespace {

QStringList historyBoxes(const MessageBoxRecorder &boxes)
{
    return boxes.texts().filter("telemetry history");
}

} // namespace

TEST(MainWindowHistory, HeardTelemetryIsStoredOnceWithTheGridsValues)
{
    MessageBoxRecorder boxes;
    FakeAgwServer server;
    ASSERT_TRUE(server.listenBelow());
    server.answerLinkUp = true;
    StationUnderTest station(server.port());
    ASSERT_TRUE(station.load());
    ASSERT_TRUE(server.waitForClient());
    ASSERT_TRUE(station.waitForLink());

    const QByteArray line = "T#417,112,87,131,96,0,0,0011,0";
    const qint64 before = QDateTime::currentMSecsSinceEpoch();
    server.sendFrame('U', 0, "ORVEX-1", "APRS", AgwFrame::monitorData("ORVEX-1", {}, line));
    server.sendFrame('U', 0, "ORVEX-1", "APRS", AgwFrame::monitorData("ORVEX-1", {}, line));
    const QString db = station.folder.file("telemetry.db");
    ASSERT_TRUE(waitUntil([&] {
        return storeRows(db, "SELECT heard FROM frame") == QStringList{"2"};
    })) << storeRows(db, "SELECT heard FROM frame").join(',').toStdString();
    const qint64 after = QDateTime::currentMSecsSinceEpoch();

    const QStringList frame =
        storeRows(db, "SELECT f.utc_ms, s.callsign, f.side, f.mode, f.label, f.line "
                      "FROM frame f JOIN source s ON s.id = f.source_id");
    ASSERT_EQ(frame.size(), 1);
    const QStringList fields = frame[0].split('|');
    EXPECT_GE(fields[0].toLongLong(), before);
    EXPECT_LE(fields[0].toLongLong(), after);
    EXPECT_EQ(fields.mid(1), (QStringList{"ORVEX-1", "0", "3", "T#417", QString(line)}));

    // Each value as the POWER grid shows it.
    FlexGrid *power = station.window->telemetryPanel()->grid(telemetry::PowerGrid);
    const QStringList values =
        storeRows(db, "SELECT row, raw, value FROM channel_value ORDER BY row");
    ASSERT_EQ(values.size(), 4);
    const QStringList raws = {"112", "87", "131", "96"};
    for (int row = 1; row <= 4; ++row) {
        const QStringList value = values[row - 1].split('|');
        EXPECT_EQ(value[0].toInt(), row);
        EXPECT_EQ(value[1].toDouble(), raws[row - 1].toDouble());
        EXPECT_EQ(telemetry::formatGridValue(telemetry::PowerGrid, value[2].toDouble()),
                  power->TextMatrix(row, 1));
    }
    EXPECT_TRUE(historyBoxes(boxes).isEmpty());

    // The menu opens the history window over the same store.
    QAction *menu = station.window->findChild<QAction *>(QStringLiteral("historyAction"));
    ASSERT_NE(menu, nullptr);
    menu->trigger();
    auto *window = station.window->findChild<history::HistoryWindow *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->findChild<QTreeWidget *>() != nullptr);
}

TEST(MainWindowHistory, TheGridsStartWithTheValuesStoredInTheLastRun)
{
    MessageBoxRecorder boxes;
    StationUnderTest station(1);
    ASSERT_TRUE(station.load());
    station.window->DecodeTelemetry("ORVEX-1", "T#417,112,87,131,96,0,0,0011,0");
    FlexGrid *power = station.window->telemetryPanel()->grid(telemetry::PowerGrid);
    const QString shown = power->TextMatrix(2, 1);
    const QString db = station.folder.file("telemetry.db");
    ASSERT_TRUE(
        waitUntil([&] { return storeRows(db, "SELECT count(*) FROM frame") == QStringList{"1"}; }));

    station.window.reset();
    ASSERT_TRUE(station.load());
    TelemetryPanel *panel = station.window->telemetryPanel();
    power = panel->grid(telemetry::PowerGrid);
    EXPECT_EQ(power->TextMatrix(2, 1), shown);
    EXPECT_TRUE(power->TextMatrix(2, 3).startsWith("T#417  "))
        << power->TextMatrix(2, 3).toStdString();
    EXPECT_TRUE(panel->cellToolTip(telemetry::PowerGrid, 2, 1).contains("Stored value, heard at "));
    EXPECT_EQ(power->TextMatrix(2, 2), "") << "side B was never heard";
}

TEST(MainWindowHistory, AStoreThatCannotBeUsedIsSaidOnceAndTheGridsGoOn)
{
    MessageBoxRecorder boxes;
    StationUnderTest station(1);
    QFile foreign(station.folder.file("telemetry.db"));
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write("my notes, not a database\n");
    foreign.close();
    ASSERT_TRUE(station.load());
    ASSERT_TRUE(waitUntil([&] { return !historyBoxes(boxes).isEmpty(); }));
    EXPECT_TRUE(historyBoxes(boxes)[0].contains("it is not a telemetry store"))
        << historyBoxes(boxes)[0].toStdString();
    EXPECT_FALSE(station.window->telemetryHistory()->available());

    station.window->DecodeTelemetry("ORVEX-1", "HK,100,50,25,10,0,0,0000,0");
    station.window->DecodeTelemetry("ORVEX-1", "HK,101,50,25,10,0,0,0000,0");
    EXPECT_EQ(station.window->telemetryPanel()->grid(telemetry::CurrentGrid)->TextMatrix(1, 1),
              "198");
    QTest::qWait(600);
    EXPECT_EQ(historyBoxes(boxes).size(), 1);
    EXPECT_EQ(QFile(station.folder.file("telemetry.db")).size(), 25) << "left alone";
}
