// SPDX-License-Identifier: GPL-2.0-or-later
#include "map/MapText.h"

#include <gtest/gtest.h>

TEST(MapText, CaptionNamesTheSatelliteWithoutParentheses)
{
    EXPECT_EQ(MapText::caption(QStringLiteral("ISS")),
              "Current Location of ISS Right-click for menu");
    EXPECT_EQ(MapText::caption(QStringLiteral("ORVEX (ORVEX-1)")),
              "Current Location of ORVEX (ORVEX-1) Right-click for menu");
}

TEST(MapText, CaptionSaysWhenThePictureCouldNotBeRead)
{
    const QString caption = MapText::caption(QStringLiteral("ISS"), false);
    EXPECT_TRUE(caption.startsWith("Current Location of ISS Right-click for menu"));
    EXPECT_TRUE(caption.contains("world.gif could not be read"));
    EXPECT_TRUE(MapText::caption(QStringLiteral("ISS"), false, QStringLiteral("/opt/o/world.gif"))
                    .endsWith(" - the map picture /opt/o/world.gif could not be read"));
}

TEST(MapText, TimeIsShownWithEnglishMonthNames)
{
    const orvex::Date date =
        orvex::utcToDate(QDateTime(QDate(2008, 9, 20), QTime(7, 5, 9), QTimeZone::utc()));
    EXPECT_EQ(MapText::timeText(date), "2008-Sep-20 07:05:09");
    EXPECT_EQ(MapText::timeText(date + 0.4 / 86400), "2008-Sep-20 07:05:09");
    EXPECT_EQ(MapText::failureText(date, "ISS", "no element set named \"ISS\""),
              "2008-Sep-20 07:05:09  No position of ISS: no element set named \"ISS\"");
}

TEST(MapText, ManyMinuteStepsStillShowWholeMinutes)
{
    orvex::Date date =
        orvex::utcToDate(QDateTime(QDate(2008, 9, 20), QTime(0, 0), QTimeZone::utc()));
    for (int i = 0; i < 1440 * 3; ++i)
        date += 1.0 / 1440;
    EXPECT_EQ(MapText::timeText(date), "2008-Sep-23 00:00:00");
}
