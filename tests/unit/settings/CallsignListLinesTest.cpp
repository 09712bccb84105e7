// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/CallsignListLines.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace orvex;

TEST(CallsignLine, IsTwelveCharactersThenTheSide)
{
    EXPECT_EQ(callsignLine("Q9ZZZ-5", "A"), "Q9ZZZ-5     Side A");
    EXPECT_EQ(callsignLine("Q9ZZZ-5", "A").size(), 18);
    EXPECT_EQ(callsignLine("ABCDEFGHIJKLMN", "B"), "ABCDEFGHIJKLSide B");
    EXPECT_EQ(lineCallsign("Q9ZZZ-5     Side A"), "Q9ZZZ-5");
    EXPECT_EQ(lineCallsign("ABCDEF-15   Side B"), "ABCDEF-15");
    EXPECT_EQ(lineSide("Q9ZZZ-5     Side B"), "B");
}

TEST(SortKeys, OneDigitSsidsSortAsTwo)
{
    const struct
    {
        const char *line;
        const char *key;
    } cases[] = {
        {"Q9ZZZ-5     Side A", "Q9ZZZ-05    Side A"}, {"Q9ZZZ-0     Side A", "Q9ZZZ-00    Side A"},
        {"Q9ZZZ-10    Side A", "Q9ZZZ-10    Side A"}, {"Q9ZZZ-05    Side A", "Q9ZZZ-05    Side A"},
        {"Q9ZZZ       Side A", "Q9ZZZ       Side A"}, {"Q9ZZZ-", "Q9ZZZ-"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(sortKey(QString::fromLatin1(c.line)), QString::fromLatin1(c.key)) << c.line;
        EXPECT_EQ(sortKey(QString::fromLatin1(c.line)).size(), qstrlen(c.line));
    }
}

TEST(SortKeys, UnsortDropsTheLeadingZero)
{
    const struct
    {
        const char *key;
        const char *line;
    } cases[] = {
        {"Q9ZZZ-05    Side A", "Q9ZZZ-5     Side A"},
        {"Q9ZZZ-00    Side A", "Q9ZZZ-0     Side A"},
        {"Q9ZZZ-10    Side A", "Q9ZZZ-10    Side A"},
        {"Q9ZZZ       Side A", "Q9ZZZ       Side A"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(unsortKey(QString::fromLatin1(c.key)), QString::fromLatin1(c.line)) << c.key;
}

TEST(SortedLines, NumericSsidOrderWithoutRegardToCase)
{
    const QStringList lines = {callsignLine("Q9ZZZ-10", "A"), callsignLine("Q9ZZZ-2", "A"),
                               callsignLine("Q9ZZZ", "A"),    callsignLine("NODIGI", "B"),
                               callsignLine("Q9ZZZ-0", "B"),  callsignLine("ORVEX-15", "B"),
                               callsignLine("ORVEX-1", "A")};
    const QStringList expected = {callsignLine("NODIGI", "B"),   callsignLine("ORVEX-1", "A"),
                                  callsignLine("ORVEX-15", "B"), callsignLine("Q9ZZZ", "A"),
                                  callsignLine("Q9ZZZ-0", "B"),  callsignLine("Q9ZZZ-2", "A"),
                                  callsignLine("Q9ZZZ-10", "A")};
    EXPECT_EQ(sortedCallsignLines(lines), expected);
    EXPECT_EQ(sortedCallsignLines(QStringList{"b", "A", "a", "B"}),
              (QStringList{"A", "a", "b", "B"}));
}

TEST(SortedLines, TwoDigitSsidWithLeadingZeroIsListedInOneDigit)
{
    EXPECT_EQ(sortedCallsignLines({callsignLine("Q9ZZZ-05", "B")}),
              QStringList{callsignLine("Q9ZZZ-5", "B")});
}

TEST(CallsignsFromLines, OneEntryPerLineInListOrder)
{
    const auto calls = callsignsFromLines(
        {callsignLine("ORVEX", "B"), callsignLine("Q9ZZZ-5", "A"), callsignLine("Q9ZZZ-5", "B")});
    EXPECT_EQ(calls, (QList<clsCallsign>{{"ORVEX", "B"}, {"Q9ZZZ-5", "A"}, {"Q9ZZZ-5", "B"}}));
}
