// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/ChannelLimits.h"
#include "platform/FlexGrid.h"
#include "telemetry/TelemetryPanel.h"

#include <QTest>
#include <gtest/gtest.h>

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
    const QString label = "HK  2026-Mar-05 14:07";
    panel.apply(
        {{1, 1, 1, "196"}, {1, 1, 3, label}, {1, 1, 2, "5"}, {1, 1, 4, "B  2026-Mar-05 14:07"}});

    EXPECT_EQ(current->item(1, 1)->background().color(), TelemetryPanel::warningColour());
    EXPECT_EQ(current->item(1, 2)->background().color(), TelemetryPanel::warningColour());
    EXPECT_EQ(panel.cellToolTip(1, 1, 1), label + "\nAbove the high limit of 150 mA");
    EXPECT_EQ(panel.cellToolTip(1, 1, 2), "B  2026-Mar-05 14:07\nBelow the low limit of 10 mA");

    // The mouse over the cell shows it.
    const QRect cell = current->visualRect(current->model()->index(1, 1));
    QTest::mouseMove(current->viewport(), cell.center());
    EXPECT_EQ(current->ToolTipText(), label + "\nAbove the high limit of 150 mA");

    // Back within limits: the plain cell and the label alone, as without limits.
    panel.apply({{1, 1, 1, "150"}, {1, 1, 3, label}});
    EXPECT_EQ(current->item(1, 1)->background().style(), Qt::NoBrush);
    EXPECT_EQ(panel.cellToolTip(1, 1, 1), label);
    EXPECT_EQ(panel.cellToolTip(1, 0, 1), "") << "the header row has no tip";
}
