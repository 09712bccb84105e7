// SPDX-License-Identifier: GPL-2.0-or-later
#include "shared/NumberText.h"

#include <cmath>
#include <limits>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using orvex::generalNumber;
using orvex::leadingNumber;

TEST(LeadingNumber, ReadsTheNumberAtTheStart)
{
    const struct
    {
        const char *text;
        double value;
    } cases[] = {
        {"", 0},        {"abc", 0},      {"8000", 8000}, {"  8000  ", 8000}, {"\t\n12", 12},
        {"1 2 3", 123}, {"59 50", 5950}, {"-5", -5},     {"+5", 5},          {"- 5", -5},
        {"--5", 0},     {"5-", 5},       {"3.25", 3.25}, {".5", 0.5},        {"-.5", -0.5},
        {"5.", 5},      {".", 0},        {"1.2.3", 1.2}, {"1,5", 1},         {"2e3", 2000},
        {"2E+3", 2000}, {"2D3", 2000},   {"2d-2", 0.02}, {"2e", 2},          {"2e+", 2},
        {"2ex", 2},     {"e5", 0},       {"1 e 2", 100}, {"12N", 12},        {"59.50N", 59.5},
        {"0x10", 0},    {"-0", 0},       {"0.000", 0},   {"1e-400", 0},
    };
    for (const auto &c : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(QString::fromLatin1(c.text)), c.value) << c.text;
}

TEST(LeadingNumber, ZeroHasNoSign)
{
    EXPECT_FALSE(std::signbit(leadingNumber("-0")));
    EXPECT_FALSE(std::signbit(leadingNumber("-1e-999")));
}

TEST(LeadingNumber, OverflowClampsToTheLargestFiniteValue)
{
    constexpr double max = std::numeric_limits<double>::max();
    EXPECT_EQ(leadingNumber("1e309"), max);
    EXPECT_EQ(leadingNumber("-1e309"), -max);
    EXPECT_EQ(leadingNumber("1e99999999999999999999"), max);
    EXPECT_EQ(leadingNumber(QString(400, QLatin1Char('9'))), max);
    EXPECT_EQ(leadingNumber("0.001e312"), max);
    EXPECT_EQ(leadingNumber("1000e-310"), 1000e-310); // subnormal range, still a number
    EXPECT_EQ(leadingNumber("0e99999"), 0.0);
}

TEST(LeadingNumber, NonLatinCharactersStopTheReading)
{
    EXPECT_EQ(leadingNumber(QString::fromUtf8("12\u0663")), 12); // Arabic-Indic digit
    EXPECT_EQ(leadingNumber(QString::fromUtf8("\u2212"
                                              "5")),
              0); // minus sign
}

TEST(GeneralNumber, WritesPlainDecimalText)
{
    const struct
    {
        double value;
        const char *text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {3000, "3000"},
        {-120, "-120"},
        {2.5, "2.5"},
        {1234567.0, "1234567"},
        {0.1, "0.1"},
        {1.0 / 3.0, "0.333333333333333"},
        {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},
        {1.5e-7, "1.5E-07"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(generalNumber(c.value), QString::fromLatin1(c.text)) << c.text;
}

TEST(GeneralNumber, NeverWritesInfinityOrNan)
{
    EXPECT_EQ(generalNumber(std::nan("")), "0");
    EXPECT_EQ(leadingNumber(generalNumber(INFINITY)), std::numeric_limits<double>::max());
}

TEST(GeneralNumber, ReadsBackAsTheSameValue)
{
    for (double v : {0.0, 1.0, -7.25, 1440.0, 21600.0, 32767.0, 1e-5, 98765.4321, 1e20})
        EXPECT_DOUBLE_EQ(leadingNumber(generalNumber(v)), v) << v;
}

TEST(RoundToInteger, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(orvex::roundToInt16(2.5), 2);
    EXPECT_EQ(orvex::roundToInt16(3.5), 4);
    EXPECT_EQ(orvex::roundToInt16(-2.5), -2);
    EXPECT_EQ(orvex::roundToInt16(2.6), 3);
    EXPECT_EQ(orvex::roundToInt16(32767.4), 32767);
    EXPECT_EQ(orvex::roundToInt16(32767.5), std::nullopt);
    EXPECT_EQ(orvex::roundToInt16(-32768.5), -32768);
    EXPECT_EQ(orvex::roundToInt16(std::nan("")), std::nullopt);
    EXPECT_EQ(orvex::roundToInt32(40000.0), 40000);
    EXPECT_EQ(orvex::roundToInt32(2147483647.5), std::nullopt);
    EXPECT_EQ(orvex::roundToInt32(1e300), std::nullopt);
}
