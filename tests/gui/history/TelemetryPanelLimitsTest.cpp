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
    const QString label = "HK  2026-Mar-05 14:07";
    panel.showFrame(xPlus(0, 196), heard);
    panel.showFrame(xPlus(1, 5), heard);

    EXPECT_EQ(current->item(1, 1)->background().color(), TelemetryPanel::warningColour());
    EXPECT_EQ(current->item(1, 2)->background().color(), TelemetryPanel::warningColour());
    EXPECT_EQ(panel.cellToolTip(1, 1, 1), label + "\nAbove the high limit of 150 mA");
    EXPECT_EQ(panel.cellToolTip(1, 1, 2), "B  2026-Mar-05 14:07\nBelow the low limit of 10 mA");

    // The mouse over the cell shows it.
    const QRect cell = current->visualRect(current->model()->index(1, 1));
    QTest::mouseMove(current->viewport(), cell.center());
    EXPECT_EQ(current->ToolTipText(), label + "\nAbove the high limit of 150 mA");

    // Back within limits: the plain cell and the label alone, as without limits.
    panel.showFrame(xPlus(0, 150), heard);
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
