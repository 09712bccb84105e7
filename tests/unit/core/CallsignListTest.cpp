// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/CallsignList.h"
#include "shared/clsIni.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CallsignList, DefaultListIsWrittenInOrderAndSidesAreLookedUpExactly)
{
    QTemporaryDir dir;
    clsIni ini(dir.filePath("test.INI"));
    CallsignList list(ini);
    list.LoadCallsigns();
    const std::array<QStringList, 2> keys = ini.LoadAllKeysInSection("CALLSIGNS");
    ASSERT_EQ(keys[0].size(), 34);
    EXPECT_EQ(keys[0][1], "NODIGI");
    EXPECT_EQ(keys[0][3], "Q9ZZZ-1");
    EXPECT_EQ(keys[0][18], "ORVEX");
    EXPECT_EQ(keys[1][18], "B");
    EXPECT_EQ(keys[0][33], "ORVEX-15");

    EXPECT_EQ(list.intSideForCallsign("ORVEX"), 1);
    EXPECT_EQ(list.intSideForCallsign("ORVEX-2"), 0);
    EXPECT_EQ(list.intSideForCallsign("ORVEX-3"), 1);
    EXPECT_FALSE(list.contains("orvex"));
    EXPECT_EQ(list.intSideForCallsign("orvex"), 0);
}

TEST(CallsignList, ReplacingTheListRewritesTheSectionAndAnEmptyListIsRepairedOnTheNextLoad)
{
    QTemporaryDir dir;
    clsIni ini(dir.filePath("test.INI"));
    CallsignList list(ini);
    list.LoadCallsigns();
    list.setCCallsigns({clsCallsign("ZZ9", "B"), clsCallsign("AA1", "A")});
    std::array<QStringList, 2> keys = ini.LoadAllKeysInSection("CALLSIGNS");
    EXPECT_EQ(keys[0], QStringList({"", "ZZ9", "AA1"}));
    EXPECT_EQ(keys[1], QStringList({"", "B", "A"}));

    list.setCCallsigns({});
    EXPECT_EQ(ini.LoadAllKeysInSection("CALLSIGNS")[0].size(), 1);
    CallsignList next(ini);
    next.LoadCallsigns();
    EXPECT_EQ(next.cCallsigns().size(), 33);
}

TEST(AprsDestination, TwoBase36DigitsOfTheVersion)
{
    EXPECT_EQ(aprsDestination(2, 4, 2), "APZ36Q");
    EXPECT_EQ(aprsDestination(0, 0, 0), "APZ300");
    EXPECT_EQ(aprsDestination(12, 9, 5), "APZ3ZZ"); // 1295, the largest that fits
}
