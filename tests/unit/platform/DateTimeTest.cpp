// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/DateTime.h"

#include <gtest/gtest.h>

using orvex::UtcText;

TEST(DateTime, DatesJulianDatesAndUnixMillisecondsNameTheSameInstants)
{
    // J2000.0: 2000-01-01 12:00 UTC.
    const qint64 j2000Ms = 946728000000;
    EXPECT_DOUBLE_EQ(orvex::julianDateOf(36526.5), 2451545.0);
    EXPECT_DOUBLE_EQ(orvex::dateOfJulianDate(2451545.0), 36526.5);
    EXPECT_EQ(orvex::unixMsOfJulianDate(2451545.0), j2000Ms);
    EXPECT_DOUBLE_EQ(orvex::julianDateOfUnixMs(j2000Ms), 2451545.0);
    EXPECT_EQ(orvex::unixMsOf(36526.5), j2000Ms);
    EXPECT_DOUBLE_EQ(orvex::dateOfUnixMs(j2000Ms), 36526.5);
    // The Date zero and the Unix epoch.
    EXPECT_EQ(orvex::unixMsOf(0), -2209161600000);
    EXPECT_EQ(orvex::dateToUtc(orvex::dateOfUnixMs(1234)).toMSecsSinceEpoch(), 1234);
}

TEST(DateTime, UtcTextKeepsItsDateOnlyWhileTheDayLasts)
{
    UtcText iso;
    EXPECT_EQ(iso.of(1796724903250), "2026-12-08T10:15:03.250Z");
    EXPECT_EQ(iso.of(1796774399999), "2026-12-08T23:59:59.999Z");
    EXPECT_EQ(iso.of(1796774400000), "2026-12-09T00:00:00.000Z");
    EXPECT_EQ(iso.of(-1), "1969-12-31T23:59:59.999Z");
    EXPECT_EQ(UtcText::text(1796724903250, UtcText::Style::IsoSeconds), "2026-12-08T10:15:03Z");
    EXPECT_EQ(UtcText::text(1796724903250, UtcText::Style::Display), "2026-12-08 10:15:03");
}
