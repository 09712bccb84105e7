// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbit/SatObject.h"

#include <gtest/gtest.h>

namespace {

SatTable defaultSats()
{
    SatTable sats;
    sats[0].name = "ORVEX";
    sats[0].objectNumber = "26931";
    sats[1].name = "ISS";
    sats[1].objectNumber = "25544";
    return sats;
}

const char *issSet = "ISS (ZARYA)\r\n"
                     "1 25544U 98067A   26342.50000000  .00016717  00000-0  30000-3 0  9993\r\n"
                     "2 25544  51.6400 120.0000 0005000  90.0000 270.0000 15.50000000    05\r\n";

} // namespace

TEST(MakeLocationCaption, OwnNamesInBracketsOnlyWhenTheyDiffer)
{
    EXPECT_EQ(MakeLocationCaption(0, "ORVEX-1"), "ORVEX (ORVEX-1)");
    EXPECT_EQ(MakeLocationCaption(0, "orvex"), "ORVEX");
    EXPECT_EQ(MakeLocationCaption(0, ""), "ORVEX");
    EXPECT_EQ(MakeLocationCaption(1, "ISS (ZARYA)"), "ISS");
    EXPECT_EQ(MakeLocationCaption(1, "iss"), "ISS");
    EXPECT_EQ(MakeLocationCaption(1, "ZARYA"), "ISS (ZARYA)");
}

TEST(ScanKeps, ThreeLineSetsAreFoundAndNamedByTheirFoldedNameLine)
{
    SatTable sats = defaultSats();
    ScanKepsText(QString("junk line\n   ORVEX    SAT  \n"
                         "1 26931U 01043C   26342.1 .0 00000-0 0 0 9990\n"
                         "2 26931  97.6 0 0 0 0 14.9 1\n") +
                     issSet,
                 sats);
    EXPECT_TRUE(sats[0].elementSetFound);
    EXPECT_EQ(sats[0].name, "ORVEX SAT");
    EXPECT_TRUE(sats[1].elementSetFound);
    EXPECT_EQ(sats[1].name, "ISS (ZARYA)");
    EXPECT_TRUE(blnAllKepsFound(sats));
}

TEST(ScanKeps, IncompleteOrMismatchedSetsAreNotTaken)
{
    SatTable sats = defaultSats();
    ScanKepsText("\n1 25544U x\n2 25544 y\n"     // no name line before line 1
                 "NAME\n1 99999U x\n2 25544 y\n" // line 1 of another object
                 "NAME2\n\n2 25544 y\n"          // blank line 1
                 "NAME3\n1 25544U\n3 25544 y\n", // not line 2
                 sats);
    EXPECT_FALSE(sats[1].elementSetFound);
    EXPECT_EQ(sats[1].name, "ISS");
}

TEST(ScanKeps, ALaterMatchWins)
{
    SatTable sats = defaultSats();
    ScanKepsText(QString(issSet) + "ISS DEB\n1 25544U\n2 25544 z\n", sats);
    EXPECT_EQ(sats[1].name, "ISS DEB");
    EXPECT_FALSE(sats[0].elementSetFound);
    EXPECT_FALSE(blnAllKepsFound(sats));
}

TEST(ScanKeps, PiecesOfAnySizeGiveWhatTheWholeTextGives)
{
    // CR LF, bare CR and bare LF line ends, blank lines in between.
    const QString text = QStringLiteral("junk\r\nORVEX-1\r"
                                        "1 26931U 01043C   26342.1 .0 00000-0 0 0 9990\n"
                                        "2 26931  97.6 0 0 0 0 14.9 1\r\n\r\n") +
                         QString(issSet).replace("\r\n", "\r");
    SatTable whole = defaultSats();
    ScanKepsText(text, whole);
    ASSERT_TRUE(blnAllKepsFound(whole));
    ASSERT_EQ(whole[0].name, "ORVEX-1");
    for (qsizetype size = 1; size <= 8; ++size) {
        SatTable pieces = defaultSats();
        KepsScanner scanner(pieces);
        for (qsizetype at = 0; at < text.size(); at += size)
            scanner.feed(QStringView(text).mid(at, size));
        scanner.finish();
        EXPECT_TRUE(blnAllKepsFound(pieces)) << size;
        EXPECT_EQ(pieces[0].name, whole[0].name) << size;
        EXPECT_EQ(pieces[1].name, whole[1].name) << size;
    }
}

TEST(ScanKeps, AnEndlessLineBeforeTheSetsDoesNotHideThem)
{
    SatTable sats = defaultSats();
    KepsScanner scanner(sats);
    const QString block(100000, QLatin1Char('x'));
    for (int i = 0; i < 50; ++i)
        scanner.feed(block);
    scanner.feed(QStringLiteral("\n") + issSet);
    scanner.finish();
    EXPECT_TRUE(sats[1].elementSetFound);
}
