// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/AboutText.h"
#include "settings/AgwpePort.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

using namespace orvex;

TEST(AgwPort, AcceptsWholeNumbersFromOneTo32767)
{
    const struct
    {
        const char *text;
        std::optional<qint16> port;
    } cases[] = {
        {"8000", 8000},
        {" 8000 ", 8000},
        {"1", 1},
        {"32767", 32767},
        {"0", std::nullopt},
        {"32768", std::nullopt},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"80 00", std::nullopt},
        {"8000x", std::nullopt},
        {"-1", std::nullopt},
        {"0.6", 1},
        {"8e3", 8000},
        {"99999999999", std::nullopt},
        {"1e999", std::nullopt},
        {"0.4", std::nullopt},
        {".", std::nullopt},
        {"+", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(agwPortFromText(QString::fromLatin1(c.text)), c.port) << c.text;
}

TEST(VersionLine, NoSeparatorBetweenMinorAndRevision)
{
    EXPECT_EQ(versionLine(2, 4, 2, "s"), "Version 2.42s");
    EXPECT_EQ(versionLine(2, 4, 2, ""), "Version 2.42");
    EXPECT_EQ(versionLine(3, 0, 11, " beta"), "Version 3.011 beta");
}

TEST(Credits, NameTheMapPictureAndTheTerminalFont)
{
    EXPECT_TRUE(creditsText().contains("Blue Marble"));
    EXPECT_TRUE(creditsText().contains("xplanet-images"));
    EXPECT_TRUE(
        creditsText().contains("GLYPHIX terminal font (DejaVu Sans Mono, Bitstream Vera licence)"));
}
