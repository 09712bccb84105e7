// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/clsSats.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <ostream>

using orvex::Clock;
using orvex::Date;

struct SatsTestAccess
{
    static double foldLongitude(double d) { return clsSats::foldLongitude(d); }
    static void formatLatLong(double lon, double lat, QString &lonText, QString &latText)
    {
        clsSats::FormatLatLong(lon, lat, lonText, latText);
    }
    static Date systemTimeToDate(const orvex::SystemTime &t)
    {
        return clsSats::SystemTimeToDate(t);
    }
    static orvex::SystemTime dateToSystemTime(Date d) { return clsSats::DateToSystemTime(d); }
    static QString formatPass(clsSats &s, const QString &name, const QString &record, Date &start)
    {
        return s.strFormatPass(name, record, start);
    }
};

namespace {

Date utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    return orvex::utcToDate(QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms), QTimeZone::utc()));
}

QString wallClock(Date d)
{
    return orvex::dateToWallClock(d).toString("yyyy-MM-dd HH:mm:ss");
}

class ClsSatsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(keps.isValid());
        QFile::copy(QStringLiteral(ORVEX_SOURCE_DIR "/tests/data/orbit/station.txt"),
                    keps.filePath("station.txt"));
        ASSERT_TRUE(sats.setStrKeplerPath(keps.path()));
        ASSERT_TRUE(sats.setDblObsLat(38.9833));
        ASSERT_TRUE(sats.setDblObsLong(-76.4833));
        Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(8, 0), QTimeZone::utc()));
    }
    void TearDown() override
    {
        Clock::setSource({});
        Clock::setLocalZone(QTimeZone());
    }

    QTemporaryDir keps;
    clsSats sats;
};

} // namespace

TEST(ClsSatsText, DegreeMinuteTextsWithHemisphereLetters)
{
    QString lon, lat;
    SatsTestAccess::formatLatLong(-76.4833, 38.9833, lon, lat);
    EXPECT_EQ(lon, "076.29.00W");
    EXPECT_EQ(lat, "38.59.00N");
    SatsTestAccess::formatLatLong(0.0, -0.5, lon, lat);
    EXPECT_EQ(lon, "000.00.00E");
    EXPECT_EQ(lat, "00.30.00S");
    SatsTestAccess::formatLatLong(180.0, -90.0, lon, lat);
    EXPECT_EQ(lon, "180.00.00E");
    EXPECT_EQ(lat, "90.00.00S");
}

TEST(ClsSatsText, MinutesAreNotCarriedIntoTheDegrees)
{
    QString lon, lat;
    SatsTestAccess::formatLatLong(-5.9999999, 38.99999, lon, lat);
    EXPECT_EQ(lat, "38.60.00N");
    EXPECT_EQ(lon, "005.60.00W");
}

TEST(ClsSatsText, LongitudesFoldIntoTheRangeUpToOneEighty)
{
    EXPECT_EQ(SatsTestAccess::foldLongitude(180.0), 180.0);
    EXPECT_EQ(SatsTestAccess::foldLongitude(190.0), -170.0);
    EXPECT_EQ(SatsTestAccess::foldLongitude(359.5), -0.5);
    EXPECT_EQ(SatsTestAccess::foldLongitude(0.0), 0.0);
}

TEST(ClsSatsTime, MillisecondsAboveFiveHundredCountAsTheNextSecond)
{
    orvex::SystemTime t{2026, 12, 2, 8, 10, 20, 30, 500};
    EXPECT_EQ(wallClock(SatsTestAccess::systemTimeToDate(t)), "2026-12-08 10:20:30");
    t.milliseconds = 501;
    EXPECT_EQ(wallClock(SatsTestAccess::systemTimeToDate(t)), "2026-12-08 10:20:31");
    t = {2026, 12, 4, 31, 23, 59, 59, 999};
    EXPECT_EQ(wallClock(SatsTestAccess::systemTimeToDate(t)), "2027-01-01 00:00:00");
    t = {2026, 2, 0, 30, 0, 0, 0, 0};
    EXPECT_EQ(SatsTestAccess::systemTimeToDate(t), 0.0);
}

TEST(ClsSatsTime, DateToSystemTimeHasDayOfWeekAndNoMilliseconds)
{
    const orvex::SystemTime t = SatsTestAccess::dateToSystemTime(utc(2026, 12, 6, 13, 14, 15, 700));
    EXPECT_EQ(t.year, 2026);
    EXPECT_EQ(t.month, 12);
    EXPECT_EQ(t.dayOfWeek, 0); // Sunday
    EXPECT_EQ(t.day, 6);
    EXPECT_EQ(t.hour, 13);
    EXPECT_EQ(t.minute, 14);
    EXPECT_EQ(t.second, 15);
    EXPECT_EQ(t.milliseconds, 0);
}

TEST(ClsSatsTime, JulianDate)
{
    clsSats sats;
    EXPECT_DOUBLE_EQ(sats.DateToJulianDate(utc(2000, 1, 1, 12)), 2451545.0);
    EXPECT_DOUBLE_EQ(sats.DateToJulianDate(0), 2415018.5);
}

TEST(ClsSatsTime, LocalClockFollowsTheZoneWhileUtcStaysUtc)
{
    Clock::setFixed(QDateTime(QDate(2026, 7, 1), QTime(12, 0, 0, 501), QTimeZone::utc()));
    Clock::setLocalZone(QTimeZone("Europe/Berlin"));
    clsSats sats;
    EXPECT_EQ(wallClock(sats.datGmtTime()), "2026-07-01 12:00:01");
    EXPECT_EQ(sats.datTime(), sats.datGmtTime());
    sats.setBlnLocalTime(true);
    EXPECT_TRUE(sats.blnLocalTime());
    EXPECT_EQ(wallClock(sats.datTime()), "2026-07-01 14:00:01");
    EXPECT_EQ(wallClock(sats.datGmtTime()), "2026-07-01 12:00:01");
    Clock::setSource({});
    Clock::setLocalZone(QTimeZone());
}

TEST(ClsSatsTime, TimesShownAreNotMovedByTheMachinesOwnZone)
{
    // 02:30 does not exist in New York on 2026-03-08; shown as UTC it must
    // still read 02:30, whatever zone the machine is set to.
    const QByteArray savedTz = qgetenv("TZ");
    qputenv("TZ", "America/New_York");
    tzset();
    EXPECT_EQ(wallClock(utc(2026, 3, 8, 2, 30, 0)), "2026-03-08 02:30:00");
    EXPECT_EQ(orvex::wallClockToDate(orvex::dateToWallClock(utc(2026, 3, 8, 2, 30, 0))),
              utc(2026, 3, 8, 2, 30, 0));
    savedTz.isNull() ? qunsetenv("TZ") : qputenv("TZ", savedTz);
    tzset();
}

TEST(ClsSatsTime, GmtToLocalUsesTheOffsetInForceAtThatDateNotNow)
{
    // Now is winter; the passes asked about lie on both sides of the change.
    Clock::setFixed(QDateTime(QDate(2026, 1, 15), QTime(12, 0), QTimeZone::utc()));
    Clock::setLocalZone(QTimeZone("Europe/Berlin"));
    clsSats sats;
    EXPECT_EQ(wallClock(sats.GmtToLocal(utc(2026, 1, 15, 12))), "2026-01-15 13:00:00");
    EXPECT_EQ(wallClock(sats.GmtToLocal(utc(2026, 7, 1, 12))), "2026-07-01 14:00:00");
    // The night of the change: 01:00 UTC is 03:00 summer time.
    EXPECT_EQ(wallClock(sats.GmtToLocal(utc(2026, 3, 29, 0, 59, 59))), "2026-03-29 01:59:59");
    EXPECT_EQ(wallClock(sats.GmtToLocal(utc(2026, 3, 29, 1, 0, 0))), "2026-03-29 03:00:00");
    // Southern hemisphere: summer in January.
    Clock::setLocalZone(QTimeZone("Australia/Sydney"));
    EXPECT_EQ(wallClock(sats.GmtToLocal(utc(2026, 1, 15, 12))), "2026-01-15 23:00:00");
    EXPECT_EQ(wallClock(sats.GmtToLocal(utc(2026, 7, 1, 12))), "2026-07-01 22:00:00");
    Clock::setSource({});
    Clock::setLocalZone(QTimeZone());
}

TEST(ClsSatsTime, GmtToLocalNeverFails)
{
    Clock::setLocalZone(QTimeZone("Europe/Berlin"));
    clsSats sats;
    EXPECT_EQ(sats.GmtToLocal(1.0e12), 1.0e12);
    EXPECT_TRUE(std::isnan(sats.GmtToLocal(std::nan(""))));
    Clock::setLocalZone(QTimeZone());
}

TEST_F(ClsSatsTest, SatelliteInViewInDegreesWithTextsAndNowAsNextPass)
{
    qint16 inView = 0;
    double az = 0, el = 0, lon = 0, lat = 0, alt = 0;
    QString lonText, latText, next;
    ASSERT_TRUE(sats.GetSatInfo(inView, "ISS (ZARYA)", utc(2026, 12, 8, 9, 30), az, el, lon, lat,
                                lonText, latText, alt, &next));
    EXPECT_NE(inView, 0);
    EXPECT_NEAR(az, 153.96, 0.01);
    EXPECT_NEAR(el, 30.24, 0.01);
    EXPECT_NEAR(lon, -73.54, 0.01);
    EXPECT_NEAR(lat, 33.92, 0.01);
    EXPECT_NEAR(alt, 417.0, 1.0);
    EXPECT_EQ(lonText, "073.32.41W");
    EXPECT_EQ(latText, "33.55.24N");
    EXPECT_EQ(next, "Now!");
}

TEST_F(ClsSatsTest, SatelliteOutOfViewGetsItsNextPassInDisplayTime)
{
    qint16 inView = 1;
    double az, el, lon, lat, alt;
    QString lonText, latText, next;
    ASSERT_TRUE(sats.GetSatInfo(inView, "ISS (ZARYA)", utc(2026, 12, 8, 8), az, el, lon, lat,
                                lonText, latText, alt, &next));
    EXPECT_EQ(inView, 0);
    EXPECT_EQ(next, "09:25:18"); // AOS 09:25:17.664 UTC
    EXPECT_LE(lon, 180.0);
    EXPECT_GT(lon, -180.0);

    Clock::setLocalZone(QTimeZone("America/New_York"));
    sats.setBlnLocalTime(true);
    ASSERT_TRUE(sats.GetSatInfo(inView, "ISS (ZARYA)", utc(2026, 12, 8, 8), az, el, lon, lat,
                                lonText, latText, alt, &next));
    EXPECT_EQ(next, "04:25:18");
}

TEST_F(ClsSatsTest, UnknownSatelliteIsAnErrorWithZeroSlots)
{
    qint16 inView = 1;
    double az = 1, el = 1, lon = 1, lat = 1, alt = 1;
    QString lonText, latText, next = "untouched";
    const orbit::Status status = sats.GetSatInfo(inView, "NO SUCH SAT", utc(2026, 12, 8), az, el,
                                                 lon, lat, lonText, latText, alt, &next);
    EXPECT_EQ(status.code(), orbit::StatusCode::NotFound);
    EXPECT_EQ(inView, 0);
    EXPECT_EQ(alt, 0.0);
    EXPECT_EQ(lonText, "000.00.00E");
    EXPECT_EQ(next, "untouched");
    EXPECT_EQ(sats.GetNextPassTime("NO SUCH SAT"), 0.0);
    EXPECT_EQ(sats.strPassInfo("NO SUCH SAT"), "");
}

TEST_F(ClsSatsTest, NextPassIsTheFirstThatStartsStrictlyAfterNow)
{
    EXPECT_EQ(wallClock(sats.GetNextPassTime("ISS (ZARYA)")), "2026-12-08 09:25:18");
    // A pass starting exactly now is not the next pass.
    Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 25, 18), QTimeZone::utc()));
    EXPECT_EQ(wallClock(sats.GetNextPassTime("ISS (ZARYA)")), "2026-12-08 11:02:02");
    Clock::setLocalZone(QTimeZone("Europe/Berlin"));
    sats.setBlnLocalTime(true);
    EXPECT_EQ(wallClock(sats.GetNextPassTime("ISS (ZARYA)")), "2026-12-08 12:02:02");
}

TEST_F(ClsSatsTest, PassListHasHeaderFixedColumnsAndADayGap)
{
    Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(0, 0), QTimeZone::utc()));
    const QString text = sats.strPassInfo("ISS (ZARYA)");
    const QStringList lines = text.split("\r\n");
    ASSERT_GT(lines.size(), 25);
    EXPECT_EQ(lines[0], "'Start Time' is UTC.");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "      Start Time       Duration  Start Az  End Az  Max Elev");
    EXPECT_EQ(lines[3], "      ----------       --------  --------  ------  --------");
    // AOS 07:53:34.225, LOS 07:55:41.912, azimuths 132.57 and 109.42, max 0.39.
    EXPECT_EQ(lines[4], " 2026-Dec-08 07:53:34  00:02:08    133      109        0");
    EXPECT_EQ(lines[5], " 2026-Dec-08 09:25:18  00:10:26    209       60       32");
    EXPECT_TRUE(text.endsWith("\r\n"));
    int gaps = 0;
    for (int i = 4; i < lines.size() - 1; ++i) {
        if (lines[i].isEmpty()) {
            ++gaps;
            EXPECT_NE(lines[i - 1].mid(1, 11), lines[i + 1].mid(1, 11));
        } else {
            EXPECT_EQ(lines[i].size(), 56) << lines[i].toStdString();
        }
    }
    EXPECT_EQ(gaps, 2); // three days
}

TEST_F(ClsSatsTest, DayGroupsFollowTheDisplayedDate)
{
    Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(0, 0), QTimeZone::utc()));
    Clock::setLocalZone(QTimeZone("Australia/Brisbane")); // UTC+10 all year
    sats.setBlnLocalTime(true);
    const QStringList lines = sats.strPassInfo("ISS (ZARYA)").split("\r\n");
    EXPECT_EQ(lines[0], "'Start Time' is local time.");
    // 12:40 UTC is 22:40 on the 8th, 14:18 UTC already 00:18 on the 9th.
    EXPECT_EQ(lines[7].left(21), " 2026-Dec-08 22:40:26");
    EXPECT_EQ(lines[8], "");
    EXPECT_EQ(lines[9].left(21), " 2026-Dec-09 00:18:22");
}

TEST_F(ClsSatsTest, SatelliteNeverInViewGivesTheHeaderAlone)
{
    ASSERT_TRUE(sats.setDblObsLat(-60.0));
    ASSERT_TRUE(sats.setDblObsLong(0.0));
    const QString text = sats.strPassInfo("GEO SAT");
    EXPECT_EQ(text, "'Start Time' is UTC.\r\n\r\n"
                    "      Start Time       Duration  Start Az  End Az  Max Elev\r\n"
                    "      ----------       --------  --------  ------  --------\r\n");
}

TEST_F(ClsSatsTest, PassLineFromARecord)
{
    Date start = 0;
    const QString line = SatsTestAccess::formatPass(
        sats, "ISS (ZARYA)", "{20261208092518 20261208093544 209.3 44.5 754.0}", start);
    EXPECT_EQ(line.size(), 56);
    EXPECT_EQ(line.mid(1, 22), "2026-Dec-08 09:25:18  ");
    EXPECT_EQ(line.mid(23, 12), "00:12:34    ");
    EXPECT_EQ(line.right(3), " 44"); // halves to even
    EXPECT_EQ(wallClock(start), "2026-12-08 09:25:18");
    EXPECT_EQ(SatsTestAccess::formatPass(sats, "ISS (ZARYA)", "{2026 1 2}", start), "");
    EXPECT_EQ(SatsTestAccess::formatPass(sats, "ISS (ZARYA)", "", start), "");
}

TEST_F(ClsSatsTest, GeostationarySatelliteIsNowWithoutAPass)
{
    ASSERT_TRUE(sats.setDblObsLat(0.0));
    ASSERT_TRUE(sats.setDblObsLong(100.0));
    qint16 inView = 0;
    double az, el, lon, lat, alt;
    QString lonText, latText, next;
    ASSERT_TRUE(sats.GetSatInfo(inView, "GEO SAT", utc(2026, 12, 9), az, el, lon, lat, lonText,
                                latText, alt, &next));
    EXPECT_NE(inView, 0);
    EXPECT_EQ(next, "Now!");
}

TEST_F(ClsSatsTest, TheNextPassIsKeptUntilItBeginsOrTheElementsChange)
{
    const orbit::OrbitEngine &engine = sats.engine();
    EXPECT_EQ(wallClock(sats.GetNextPassTime("ISS (ZARYA)")), "2026-12-08 09:25:18");
    const auto searches = engine.passSearches();
    Clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(9, 25, 17), QTimeZone::utc()));
    EXPECT_EQ(wallClock(sats.GetNextPassTime("ISS (ZARYA)")), "2026-12-08 09:25:18");
    EXPECT_EQ(engine.passSearches(), searches) << "kept, not searched again";

    ASSERT_TRUE(sats.setDblObsLat(50.0)); // another station: another answer
    EXPECT_NE(wallClock(sats.GetNextPassTime("ISS (ZARYA)")), "2026-12-08 09:25:18");
    EXPECT_GT(engine.passSearches(), searches);
}
