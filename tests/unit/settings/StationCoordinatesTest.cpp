// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/StationCoordinates.h"
#include "shared/ORXUtil.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace orvex;

TEST(CoordinateInput, AcceptedTextsAreRewrittenInDisplayForm)
{
    const struct
    {
        const char *typed;
        bool longitude;
        const char *display;
    } cases[] = {
        {"38N", false, "38.00.00N"},
        {"38.59N", false, "38.59.00N"},
        {"38.59.5N", false, "38.59.50N"},
        {"38.59.50N", false, "38.59.50N"},
        {"38. 59.50N", false, "38.59.50N"},
        {"  38.59.50N  ", false, "38.59.50N"},
        {"077.1.23W", true, "077.01.23W"},
        {"77.1.23W", true, "077.01.23W"},
        {"90N", false, "90.00.00N"},
        {"90.0.0S", false, "90.00.00S"},
        {"0S", false, "00.00.00S"},
        {"180.00.00W", true, "180.00.00W"},
        {"38..N", false, "38.00.00N"},
        {"38.59.49.6N", false, "38.59.50N"},
        {"38.5.N", false, "38.05.00N"},
        {"1.5N", false, "01.05.00N"}, // one part after the point: minutes
        {"2.5.5N", false, "02.05.50N"},
        {"3.5.N", false, "03.05.00N"},
        {"3.59.99N", false, "03.59.99N"},
        {"12.5E", true, "012.05.00E"},
        {"1E", true, "001.00.00E"},
    };
    for (const auto &c : cases) {
        const auto got = coordinateFromInput(QString::fromLatin1(c.typed), c.longitude, true);
        ASSERT_TRUE(got.has_value()) << c.typed;
        EXPECT_EQ(*got, QString::fromLatin1(c.display)) << c.typed;
    }
}

TEST(CoordinateInput, RefusedTexts)
{
    const struct
    {
        const char *typed;
        bool longitude;
    } cases[] = {
        {"90.00.01N", false}, {"90.01N", false},    {"181E", true},        {"-5N", false},
        {"38 59N", false},    {"38.59 50N", false}, {"38.59.50n", false},  {"38.59.50", false},
        {"N", false},         {"38.60N", false},    {"38.59.100N", false}, {"38.59.50E", false},
        {"077.01.23N", true}, {"91N", false},       {"180.01W", true},     {"99999N", false},
        {"38.-1N", false},    {"38.59.-1N", false}, {"3 8N", false},       {"1e9N", false},
        {"3859.50N", false},  {"07701.23W", true},
    };
    for (const auto &c : cases)
        EXPECT_FALSE(coordinateFromInput(QString::fromLatin1(c.typed), c.longitude, true))
            << c.typed;
}

TEST(CoordinateInput, EmptyTextDependsOnTheCaller)
{
    EXPECT_EQ(coordinateFromInput("", false, true), QString());
    EXPECT_EQ(coordinateFromInput("   ", true, true), QString());
    EXPECT_FALSE(coordinateFromInput("", false, false));
}

TEST(CoordinateForms, StoredAndDisplayFormsConvertBothWays)
{
    EXPECT_EQ(coordinateDisplayText("3859.50N", false), "38.59.50N");
    EXPECT_EQ(coordinateDisplayText("07701.23W", true), "077.01.23W");
    EXPECT_EQ(coordinateDisplayText("", true), "");
    EXPECT_EQ(coordinateStoredText("38.59.50N", false), "3859.50N");
    EXPECT_EQ(coordinateStoredText("077.01.23W", true), "07701.23W");
    EXPECT_EQ(coordinateStoredText("", false), "");
}

TEST(Locator, KnownPositions)
{
    const struct
    {
        const char *lat;
        const char *lon;
        const char *locator;
    } cases[] = {
        {"3859.50N", "07701.23W", "FM18LX"}, {"0000.00N", "00000.00E", "JJ00AA"},
        {"0000.01S", "00000.01W", "II99XX"}, {"5112.00N", "00007.00W", "IO91WE"},
        {"4142.87N", "07243.62W", "FN31PR"}, {"9000.00S", "18000.00W", "AA00AA"},
        {"9000.00N", "18000.00E", "RR99XX"}, // the far edges stay in the last field
        {"3541.00S", "13911.00E", "PF94OH"},
    };
    for (const auto &c : cases) {
        const float lat = static_cast<float>(ORXUtil::LatToDegrees(QString::fromLatin1(c.lat)));
        const float lon = static_cast<float>(ORXUtil::LongToDegrees(QString::fromLatin1(c.lon)));
        EXPECT_EQ(locatorFromMinutes(lat * 60, lon * 60), QString::fromLatin1(c.locator))
            << c.lat << " " << c.lon;
    }
}

TEST(Locator, PositionsOffTheGlobeGiveNothing)
{
    EXPECT_EQ(locatorFromMinutes(5500, 0), "");
    EXPECT_EQ(locatorFromMinutes(0, -10900), "");
    EXPECT_EQ(locatorFromMinutes(NAN, 0), "");
    EXPECT_EQ(locatorFromMinutes(0, INFINITY), "");
}

TEST(StationCoordinates, TypedTextIsShownAsUnderstood)
{
    EXPECT_EQ(orvex::coordinateMeaning(QStringLiteral("95N"), false),
              QStringLiteral("not a latitude"));
    EXPECT_EQ(orvex::coordinateMeaning(QStringLiteral("47.38N"), false),
              QStringLiteral("47\u00B0 38.00\u2032 N"));
    EXPECT_EQ(orvex::coordinateMeaning(QStringLiteral("77.1.23W"), true),
              QStringLiteral("77\u00B0 01.23\u2032 W"));
    EXPECT_EQ(orvex::coordinateMeaning(QString(), true), QString());
}
