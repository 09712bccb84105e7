// SPDX-License-Identifier: GPL-2.0-or-later
#include "shared/ORXUtil.h"
#include "settings/clsCallsign.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

TEST(IsValidCallsign, AcceptsStationAddresses)
{
    for (const char *call :
         {"Q9ZZZ", "Q9ZZZ-0", "Q9ZZZ-15", "Q9ZZZ-05", "NODIGI", "CQ", "ORVEX-1", "A", "123456"})
        EXPECT_TRUE(ORXUtil::IsValidCallsign(QString::fromLatin1(call))) << call;
}

TEST(IsValidCallsign, RefusesEverythingElse)
{
    for (const char *call : {"Q9ZZZ-16", "Q9ZZZ-", "-5", "ABCDEFG", "q9zzz", "Q9ZZZ-123", "AB-1-2",
                             "Q9 ZZZ", "", "Q9ZZZ-1a", "Q9ZZZ-+1", "Q9/ZZ", "-", "Q9ZZZ-99",
                             "\xc4"
                             "BC"})
        EXPECT_FALSE(ORXUtil::IsValidCallsign(QString::fromLatin1(call))) << call;
}

TEST(IsCallsignKey, PassesControlCodesDigitsLettersAndDash)
{
    for (int code : std::initializer_list<int>{0, 8, 9, 13, '0', '9', 'A', 'Z', '-'})
        EXPECT_TRUE(ORXUtil::IsCallsignKey(code)) << code;
    for (int code :
         std::initializer_list<int>{14, 27, 32, '/', 'a', 'z', '@', '[', '.', 0xC4, 0x410})
        EXPECT_FALSE(ORXUtil::IsCallsignKey(code)) << code;
}

TEST(UpperCaseKey, OnlyAsciiLettersChange)
{
    EXPECT_EQ(ORXUtil::UpperCaseKey('a'), 'A');
    EXPECT_EQ(ORXUtil::UpperCaseKey('z'), 'Z');
    EXPECT_EQ(ORXUtil::UpperCaseKey('n'), 'N');
    for (int code : std::initializer_list<int>{'A', '0', '-', '{', '`', 8, 0xE4})
        EXPECT_EQ(ORXUtil::UpperCaseKey(code), code) << code;
}

TEST(CoordinateToDegrees, StoredTextsToSignedDegrees)
{
    const struct
    {
        const char *text;
        bool longitude;
        double degrees;
    } cases[] = {
        {"3859.50N", false, 38 + 59.5 / 60},
        {"3859.50S", false, -(38 + 59.5 / 60)},
        {"3859.50n", false, 0},
        {"", false, 0},
        {"N", false, 0},
        {"9000.00N", false, 90},
        {"0000.00S", false, 0},
        {"07701.23W", true, -77.0205},
        {"07701.23E", true, 77.0205},
        {"18000.00W", true, -180},
        {"07701.23w", true, 0},
        {"07701.23N", true, 0},
        {"3859.50E", false, 0},
        {"xx59.50N", false, 59.5 / 60},
    };
    for (const auto &c : cases) {
        const QString text = QString::fromLatin1(c.text);
        const double got = c.longitude ? ORXUtil::LongToDegrees(text) : ORXUtil::LatToDegrees(text);
        EXPECT_NEAR(got, c.degrees, 1e-12) << c.text;
    }
}

TEST(clsCallsign, SideIsAlwaysOneCharacter)
{
    clsCallsign entry;
    EXPECT_EQ(entry.strSide(), " ");
    entry.setStrSide("AB");
    EXPECT_EQ(entry.strSide(), "A");
    entry.setStrSide("");
    EXPECT_EQ(entry.strSide(), " ");
    entry.setStrSide("B");
    EXPECT_EQ(entry.strSide(), "B");
    EXPECT_EQ(clsCallsign("Q9ZZZ-5", "Bxx").strSide(), "B");
}

TEST(clsCallsign, IsACopyableValue)
{
    clsCallsign a("Q9ZZZ-5", "A");
    clsCallsign b = a;
    b.setStrCallsign("Q9ZZZ-6");
    EXPECT_EQ(a.strCallsign(), "Q9ZZZ-5");
    EXPECT_EQ(b.strCallsign(), "Q9ZZZ-6");
    EXPECT_EQ(b.strSide(), "A");
    EXPECT_NE(a, b);
    b.setStrCallsign("Q9ZZZ-5");
    EXPECT_EQ(a, b);
}
