// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/ChannelLimits.h"
#include "platform/FlexGrid.h"
#include "telemetry/TelemetryPanel.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// A frame whose CURRENT X+ value is `value` on `side`.
TelemetryDecoder::Frame xPlus(int side, double value)
{
    TelemetryDecoder::Frame frame;
    frame.side = side;
    frame.label = side == 0 ? "HK" : "B";
    frame.channels[0] = {value, telemetry::CurrentGrid, 1, QString::number(value), value};
    return frame;
}

// 2026-03-05 14:07 UTC as a Date.
constexpr orvex::Date heard = 46086.588194444444;

} // namespace

TEST(TelemetryPanelLimits, AValueOutsideItsLimitsIsMarkedAndItsToolTipSaysWhichLimit)
{
    history::ChannelLimits limits;
    limits.loadText("CURRENT, X+, A, , 150\nCURRENT, X+, B, 10, \n");
    TelemetryPanel panel;
    panel.setLimitCheck([&limits](int grid, int row, int side, double value) {
        return limits.breach({grid, row, side}, value);
    });
    panel.resize(800, 300);
    panel.show();
    FlexGrid *current = panel.grid(telemetry::CurrentGrid);
    const QString label = "HK  2026-Mar-05 14:07\nHeard at 2026-03-05 14:07:00";
    panel.showFrame(xPlus(0, 196), heard);
    panel.showFrame(xPlus(1, 5), heard);
    // The grids are written once per turn of the event loop.
    QCoreApplication::processEvents();

    EXPECT_EQ(current->item(1, 1)->background().color(), TelemetryPanel::warningColour());
    EXPECT_EQ(current->item(1, 2)->background().color(), TelemetryPanel::warningColour());
    EXPECT_EQ(panel.cellToolTip(1, 1, 1), label + "\nAbove the high limit of 150 mA");
    EXPECT_EQ(panel.cellToolTip(1, 1, 2),
              "B  2026-Mar-05 14:07\nHeard at 2026-03-05 14:07:00\nBelow the low limit of 10 mA");

    // The mouse over the cell shows it.
    const QRect cell = current->visualRect(current->model()->index(1, 1));
    QTest::mouseMove(current->viewport(), cell.center());
    EXPECT_EQ(current->ToolTipText(), label + "\nAbove the high limit of 150 mA");

    // Back within limits: the plain cell and the label alone, as without limits.
    panel.showFrame(xPlus(0, 150), heard);
    QCoreApplication::processEvents();
    EXPECT_EQ(current->item(1, 1)->background().style(), Qt::NoBrush);
    EXPECT_EQ(panel.cellToolTip(1, 1, 1), label);
    EXPECT_EQ(panel.cellToolTip(1, 0, 1), "") << "the header row has no tip";

    // The label is the frame's own text: a tip that would be HTML is escaped.
    TelemetryDecoder::Frame html = xPlus(0, 150);
    html.label = "<table width=4000>";
    panel.showFrame(html, heard);
    QTest::mouseMove(current->viewport(),
                     current->visualRect(current->model()->index(1, 2)).center());
    QTest::mouseMove(current->viewport(), cell.center());
    EXPECT_TRUE(current->ToolTipText().contains("&lt;table width=4000&gt;"))
        << current->ToolTipText().toStdString();
}

TEST(TelemetryPanelMemory, UnitsStandBesideTheValuesAndOldOrStoredValuesAreMarked)
{
    TelemetryPanel panel;
    FlexGrid *current = panel.grid(telemetry::CurrentGrid);
    FlexGrid *power = panel.grid(telemetry::PowerGrid);
    // The grid's own columns stay; the unit comes after them.
    EXPECT_EQ(current->TextMatrix(0, 2), "B");
    EXPECT_EQ(current->TextMatrix(1, telemetry::unitColumn), "mA");
    EXPECT_EQ(power->TextMatrix(3, telemetry::unitColumn), "W");
    EXPECT_EQ(panel.grid(telemetry::TempGrid)->TextMatrix(8, telemetry::unitColumn), "°C");
    EXPECT_FALSE(current->ColHidden(telemetry::unitColumn));

    // Kept from an earlier run: shown in italics and said so, until a frame
    // of this run brings a newer value.
    panel.showStored({{telemetry::CurrentGrid, 1, 1, 42, "OLD", heard},
                      {telemetry::PowerGrid, 3, 0, 1.234, "OLD", heard}});
    QCoreApplication::processEvents();
    EXPECT_EQ(current->TextMatrix(1, 2), "42");
    EXPECT_EQ(power->TextMatrix(3, 1), "1.23");
    ASSERT_NE(current->item(1, 2), nullptr);
    EXPECT_TRUE(current->item(1, 2)->font().italic());
    EXPECT_EQ(panel.cellToolTip(1, 1, 2),
              "OLD  2026-Mar-05 14:07\nStored value, heard at 2026-03-05 14:07:00");
    const orvex::Date later = heard + 60 / orvex::secondsPerDay;
    panel.showFrame(xPlus(1, 7), later);
    QCoreApplication::processEvents();
    EXPECT_EQ(current->TextMatrix(1, 2), "7");
    EXPECT_FALSE(current->item(1, 2)->font().italic());
    EXPECT_EQ(panel.cellToolTip(1, 1, 2), "B  2026-Mar-05 14:08\nHeard at 2026-03-05 14:08:00");

    // Dimmed once older than the bound; a new value is bright again.
    panel.refreshAges(later + (TelemetryPanel::staleSeconds - 1) / orvex::secondsPerDay);
    QCoreApplication::processEvents();
    EXPECT_EQ(current->item(1, 2)->foreground().style(), Qt::NoBrush);
    panel.refreshAges(later + (TelemetryPanel::staleSeconds + 1) / orvex::secondsPerDay);
    QCoreApplication::processEvents();
    EXPECT_EQ(current->item(1, 2)->foreground().color(), TelemetryPanel::staleColour());
    EXPECT_EQ(power->item(3, 1)->foreground().color(), TelemetryPanel::staleColour());
    panel.showFrame(xPlus(1, 8), later + 700 / orvex::secondsPerDay);
    QCoreApplication::processEvents();
    EXPECT_EQ(current->item(1, 2)->foreground().style(), Qt::NoBrush);
}
