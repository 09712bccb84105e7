// SPDX-License-Identifier: GPL-2.0-or-later
#include "telemetry/TelemetryDecoder.h"

#include <gtest/gtest.h>

namespace {

using Write = TelemetryDecoder::CellWrite;

// 2026-03-05 14:07 as a Date.
orvex::Date when()
{
    return orvex::utcToDate(QDateTime(QDate(2026, 3, 5), QTime(14, 7, 41), Qt::UTC));
}

class DecoderTest : public ::testing::Test
{
protected:
    DecoderTest()
    {
        table.loadText("A,0,CURRENT,X+,0,0,2,0\n"
                       "A,0,CURRENT,Z+,0,0,2,0\n"
                       "A,0,CURRENT,Y+,0,0,2,0\n"
                       "A,0,CURRENT,X-,0,0,2,0\n"
                       "B,0,CURRENT,X+,0,0,1,0.5\n"
                       "A,3,POWER,Batt A,0,0,0.05,0\n"
                       "A,3,POWER,P Out,0,0,0.001,0\n"
                       "B,2,TEMP,X-,0,0,-0.5,70\n");
    }
    FormulaTable table;
    TelemetryDecoder decoder{table};
};

} // namespace

TEST(TelemetryLabel, TimeIsAppendedWithEnglishMonthAndTwoLeadingBlanks)
{
    EXPECT_EQ(TelemetryDecoder::formatLabelTime(when()), "  2026-Mar-05 14:07");
}

TEST_F(DecoderTest, SideAModeZeroFillsColumnOneWithValueAndColumnThreeWithLabel)
{
    const QList<Write> writes = decoder.DecodeTelemetry(0, "HK1,10,20,30,40,x,y,0000,z", when());
    const QString label = "HK1  2026-Mar-05 14:07";
    ASSERT_EQ(writes.size(), 8);
    EXPECT_EQ(writes[0], (Write{telemetry::CurrentGrid, 1, 1, "20"}));
    EXPECT_EQ(writes[1], (Write{telemetry::CurrentGrid, 1, 3, label}));
    EXPECT_EQ(writes[2], (Write{telemetry::CurrentGrid, 5, 1, "40"}));
    EXPECT_EQ(writes[4], (Write{telemetry::CurrentGrid, 3, 1, "60"}));
    EXPECT_EQ(writes[6], (Write{telemetry::CurrentGrid, 2, 1, "80"}));
}

TEST_F(DecoderTest, SideBWritesColumnTwoAndFourOfTheSharedRow)
{
    // Side B mode 0 channel 3 reports on CURRENT X+, the row side A channel 0 uses.
    const QList<Write> writes = decoder.DecodeTelemetry(1, "B,1,2,3,7,,,0000,", when());
    ASSERT_EQ(writes.size(), 2) << "only the place with a formula is filled";
    EXPECT_EQ(writes[0], (Write{telemetry::CurrentGrid, 1, 2, "8"}));
    EXPECT_EQ(writes[1].column, 4);
}

TEST_F(DecoderTest, ModeComesFromTheThirdAndFourthBitDigits)
{
    EXPECT_EQ(decoder.DecodeTelemetry(0, "P,100,0,250,0,,,1011,", when()).value(0),
              (Write{telemetry::PowerGrid, 1, 1, "5.00"}));
    EXPECT_EQ(decoder.DecodeTelemetry(0, "P,100,0,250,0,,,1011,", when()).value(2),
              (Write{telemetry::PowerGrid, 3, 1, "0.25"}));
    // Missing digits count as 0: "1" gives mode 0, "001" gives mode 2.
    EXPECT_EQ(decoder.DecodeTelemetry(0, "P,5,0,0,0,,,1,", when()).value(0).text, "10");
    EXPECT_EQ(decoder.DecodeTelemetry(1, "T,11,0,0,0,,,001,", when()).value(0),
              (Write{telemetry::TempGrid, 2, 2, "64.5"}));
    // Digits other than 0 and 1 give a mode outside the table: nothing is written.
    EXPECT_TRUE(decoder.DecodeTelemetry(0, "P,5,0,0,0,,,0099,", when()).isEmpty());
}

TEST_F(DecoderTest, MalformedLinesChangeNothing)
{
    for (const char *line :
         {"", "HK,1,2,3,4,5,6,0000", "HK,1,2,3,4,5,6,0000,9,10", "hello world", ",,,,,,,,,,"})
        EXPECT_TRUE(decoder.DecodeTelemetry(0, QString::fromLatin1(line), when()).isEmpty())
            << line;
}

TEST_F(DecoderTest, NonNumericRawValuesCountAsZero)
{
    const QList<Write> writes = decoder.DecodeTelemetry(1, "T,abc,,,,,,0010,", when());
    ASSERT_EQ(writes.size(), 2);
    EXPECT_EQ(writes[0].text, "70.0");
}

TEST(GridFormat, ColumnsUseTheirOwnFormatWithoutNegativeZero)
{
    EXPECT_EQ(telemetry::formatGridValue(telemetry::PowerGrid, 7.125), "7.13");
    EXPECT_EQ(telemetry::formatGridValue(telemetry::CurrentGrid, 12.5), "13");
    EXPECT_EQ(telemetry::formatGridValue(telemetry::CurrentGrid, -511.6), "-512");
    EXPECT_EQ(telemetry::formatGridValue(telemetry::TempGrid, -0.04), "0.0");
    EXPECT_EQ(telemetry::formatGridValue(telemetry::TempGrid, 21.25), "21.3");
}
