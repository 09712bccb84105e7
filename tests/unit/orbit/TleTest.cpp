// SPDX-License-Identifier: GPL-2.0-or-later
#include "orbitengine/Tle.h"

#include <gtest/gtest.h>

using namespace orbit;

namespace {

// Replaces column 69 by the checksum of the first 68 columns.
std::string withChecksum(std::string line)
{
    line.resize(68, ' ');
    return line + static_cast<char>('0' + lineChecksum(line));
}

const std::string issLine1 =
    "1 25544U 98067A   26340.51782528  .00012345  00000-0  22186-3 0  9990";
const std::string issLine2 =
    "2 25544  51.6321 123.4567 0004567  78.9012 281.2345 15.49812345 12344";

} // namespace

TEST(TleChecksum, DigitsCountTheirValueAndMinusCountsOne)
{
    EXPECT_EQ(lineChecksum(issLine1), 0);
    EXPECT_EQ(lineChecksum(issLine2), 4);
    EXPECT_EQ(lineChecksum("1 -"), 2);
    EXPECT_EQ(lineChecksum("+A. "), 0);
}

TEST(TleChecksum, BadChecksumIsRefusedWithTheLine)
{
    std::string bad = issLine2;
    bad[68] = '5';
    const auto r = parseElementSet("ISS", issLine1, bad);
    EXPECT_FALSE(r.set);
    EXPECT_EQ(r.error, "line 2: bad checksum");
    EXPECT_TRUE(parseElementSet("ISS", issLine1, bad, false).set);
}

TEST(TleFields, ColumnsAreReadIntoUnits)
{
    const auto r = parseElementSet("ISS (ZARYA)", issLine1, issLine2);
    ASSERT_TRUE(r.set) << r.error;
    const ElementSet &e = *r.set;
    EXPECT_EQ(e.catalogNumber, 25544);
    EXPECT_EQ(e.classification, 'U');
    EXPECT_EQ(e.designator, "98067A");
    EXPECT_EQ(e.epochYear, 2026);
    EXPECT_DOUBLE_EQ(e.epochDayOfYear, 340.51782528);
    EXPECT_DOUBLE_EQ(e.meanMotionDot, 0.00012345);
    EXPECT_DOUBLE_EQ(e.meanMotionDdot, 0.0);
    EXPECT_NEAR(e.bstar, 0.22186e-3, 1e-18);
    EXPECT_DOUBLE_EQ(e.inclinationDeg, 51.6321);
    EXPECT_DOUBLE_EQ(e.raanDeg, 123.4567);
    EXPECT_DOUBLE_EQ(e.eccentricity, 0.0004567);
    EXPECT_DOUBLE_EQ(e.argPerigeeDeg, 78.9012);
    EXPECT_DOUBLE_EQ(e.meanAnomalyDeg, 281.2345);
    EXPECT_DOUBLE_EQ(e.meanMotion, 15.49812345);
    EXPECT_EQ(e.revolutionNumber, 1234);
    EXPECT_EQ(e.elementNumber, 999);
    // 2026-12-06 12:25:40.104 UTC
    EXPECT_NEAR(e.epochJd(), 2461381.01782528, 1e-8);
}

TEST(TleFields, PackedExponentsWithSigns)
{
    const auto r = parseElementSet(
        "", withChecksum("1 16925U 86065D   06151.67415771  .02550794 -30915-6  18784-3 0  448"),
        withChecksum("2 16925  62.0906 295.0239 5596327 245.1593  47.9690  4.88511875148616"));
    ASSERT_TRUE(r.set) << r.error;
    EXPECT_NEAR(r.set->meanMotionDdot, -0.30915e-6, 1e-20);
    EXPECT_NEAR(r.set->bstar, 0.18784e-3, 1e-18);
}

TEST(TleFields, BlankOptionalFieldsReadAsZero)
{
    // The original SGP4 test case: no designator, no ephemeris type.
    const auto r = parseElementSet(
        "", withChecksum("1 11801U          80230.29629788  .01431103  00000-0  14311-1      1"),
        withChecksum("2 11801  46.7916 230.4354 7318036  47.4722  10.4117  2.28537848    1"));
    ASSERT_TRUE(r.set) << r.error;
    EXPECT_EQ(r.set->designator, "");
    EXPECT_EQ(r.set->ephemerisType, 0);
    EXPECT_EQ(r.set->elementNumber, 1);
    EXPECT_EQ(r.set->revolutionNumber, 1);
    EXPECT_EQ(r.set->epochYear, 1980);
}

TEST(TleYears, FiftySevenToNinetyNineAreNineteenHundreds)
{
    const auto setWithYear = [](const char *yy) {
        std::string l1 = issLine1;
        l1.replace(18, 2, yy);
        return parseElementSet("", withChecksum(l1), issLine2);
    };
    EXPECT_EQ(setWithYear("57").set->epochYear, 1957);
    EXPECT_EQ(setWithYear("99").set->epochYear, 1999);
    EXPECT_EQ(setWithYear("00").set->epochYear, 2000);
    EXPECT_EQ(setWithYear("56").set->epochYear, 2056);
    EXPECT_NEAR(setWithYear("00").set->epochJd(), 2451544.5 + 339.51782528, 1e-8);
}

TEST(TleCatalogue, FiveDigitAndAlphaFiveNumbers)
{
    EXPECT_EQ(decodeCatalogNumber("00005"), 5);
    EXPECT_EQ(decodeCatalogNumber("99999"), 99999);
    EXPECT_EQ(decodeCatalogNumber("    5"), 5);
    EXPECT_EQ(decodeCatalogNumber("A0000"), 100000);
    EXPECT_EQ(decodeCatalogNumber("H9999"), 179999);
    EXPECT_EQ(decodeCatalogNumber("J0000"), 180000); // I is skipped
    EXPECT_EQ(decodeCatalogNumber("P0000"), 230000); // O is skipped
    EXPECT_EQ(decodeCatalogNumber("Z9999"), 339999);
    EXPECT_FALSE(decodeCatalogNumber("I0000"));
    EXPECT_FALSE(decodeCatalogNumber("O1234"));
    EXPECT_FALSE(decodeCatalogNumber("a0000"));
    EXPECT_FALSE(decodeCatalogNumber("A00X0"));
    EXPECT_FALSE(decodeCatalogNumber("     "));
}

TEST(TleCatalogue, AlphaFiveSetIsReadAndLinesMustAgree)
{
    std::string l1 = issLine1, l2 = issLine2;
    l1.replace(2, 5, "B1234");
    l2.replace(2, 5, "B1234");
    const auto r = parseElementSet("NEW SAT", withChecksum(l1), withChecksum(l2));
    ASSERT_TRUE(r.set) << r.error;
    EXPECT_EQ(r.set->catalogNumber, 111234);

    l2.replace(2, 5, "B1235");
    const auto mismatch = parseElementSet("NEW SAT", withChecksum(l1), withChecksum(l2));
    EXPECT_FALSE(mismatch.set);
    EXPECT_EQ(mismatch.error, "line 2: catalogue number differs from line 1");
}

TEST(TleFields, UnreadableFieldsAreRefusedWithAReason)
{
    struct Case
    {
        int line;
        size_t column; // 1-based
        const char *text;
        const char *reason;
    };
    const Case cases[] = {
        {1, 21, "340.5x782528", "line 1: unreadable epoch"},
        {1, 34, " .000inf45", "line 1: unreadable first derivative of mean motion"},
        {1, 54, " 22186x3", "line 1: unreadable drag term"},
        {2, 9, "  nan   ", "line 2: unreadable inclination"},
        {2, 27, "00 4567", "line 2: unreadable eccentricity"},
        {2, 27, "-004567", "line 2: unreadable eccentricity"},
        {2, 53, "15.4981.345", "line 2: unreadable mean motion"},
    };
    for (const Case &c : cases) {
        std::string l1 = issLine1, l2 = issLine2;
        std::string &target = c.line == 1 ? l1 : l2;
        target.replace(c.column - 1, std::char_traits<char>::length(c.text), c.text);
        const auto r = parseElementSet("", withChecksum(l1), withChecksum(l2));
        EXPECT_FALSE(r.set) << c.text;
        EXPECT_EQ(r.error, c.reason) << c.text;
    }
}

TEST(TleFields, ShortOrMislabelledLinesAreRefused)
{
    EXPECT_EQ(parseElementSet("", issLine1.substr(0, 60), issLine2).error,
              "line 1: shorter than 69 columns");
    EXPECT_EQ(parseElementSet("", issLine2, issLine2).error, "line 1: does not begin with \"1 \"");
    EXPECT_FALSE(parseElementSet("", "", "").set);
}

TEST(TleNames, TrimmedWithBlankRunsFolded)
{
    EXPECT_EQ(normaliseName("  ISS   (ZARYA)   \r"), "ISS (ZARYA)");
    EXPECT_EQ(normaliseName("ORVEX\t-1"), "ORVEX -1");
    EXPECT_EQ(normaliseName("   "), "");
}

TEST(TleText, ThreeLineSetsAmongJunkWithEitherLineEnd)
{
    const std::string text =
        "Element sets of the day\r\n"
        "\r\n"
        "ISS (ZARYA)        \r\n" +
        issLine1 + "\r\n" + issLine2 + "\r\n" +
        "\n"
        "some trailer text\n"
        "ORVEX-1\n" +
        withChecksum("1 26931U 01043C   26339.81234567  .00000321  00000-0  45678-4 0  999") +
        "\n" +
        withChecksum("2 26931  64.5612 210.1234 0021345 145.6789 214.5678 14.81234567123456");
    const ElementText read = readElementText(text);
    ASSERT_EQ(read.sets.size(), 2u);
    EXPECT_TRUE(read.skipped.empty());
    EXPECT_EQ(read.sets[0].name, "ISS (ZARYA)");
    EXPECT_EQ(read.sets[0].catalogNumber, 25544);
    EXPECT_EQ(read.sets[1].name, "ORVEX-1");
    EXPECT_EQ(read.sets[1].catalogNumber, 26931);
}

TEST(TleText, BadSetIsSkippedAndTheNextOneKept)
{
    std::string bad = issLine1;
    bad[68] = '7';
    const std::string text =
        "BROKEN\n" + bad + "\n" + issLine2 + "\nISS (ZARYA)\n" + issLine1 + "\n" + issLine2 + "\n";
    const ElementText read = readElementText(text);
    ASSERT_EQ(read.sets.size(), 1u);
    EXPECT_EQ(read.sets[0].name, "ISS (ZARYA)");
    ASSERT_EQ(read.skipped.size(), 1u);
    EXPECT_EQ(read.skipped[0], "line 2: bad checksum");
}

TEST(TleText, TwoLineSetWithoutNameAndLineTwoNotTakenAsName)
{
    const std::string text = issLine1 + "\n" + issLine2 + "\n" + issLine1 + "\n" + issLine2;
    const ElementText read = readElementText(text);
    ASSERT_EQ(read.sets.size(), 2u);
    EXPECT_EQ(read.sets[0].name, "");
    EXPECT_EQ(read.sets[1].name, "");
}

TEST(TleText, EmptyAndBinaryInputDoNotCrash)
{
    EXPECT_TRUE(readElementText("").sets.empty());
    const std::string binary("\0\xff\n1 \n2 \n\r\r\n", 11);
    EXPECT_TRUE(readElementText(binary).sets.empty());
}
