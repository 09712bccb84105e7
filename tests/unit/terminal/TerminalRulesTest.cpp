// SPDX-License-Identifier: GPL-2.0-or-later
#include "terminal/TerminalRules.h"

#include <gtest/gtest.h>

using namespace TerminalRules;

namespace {

QString repeated(char c, int count)
{
    return QString(count, QLatin1Char(c));
}

} // namespace

TEST(MonitorTrim, AtMostTenThousandCharactersStay)
{
    EXPECT_EQ(monitorCutLength(repeated('x', 10000)), 0);
    EXPECT_EQ(monitorCutLength(QString()), 0);
}

TEST(MonitorTrim, OneMoreCutsAfterTheFirstLineFeedFromFiveThousandBeforeTheEnd)
{
    // 10001 characters; line feeds at 1-based positions 5100 and 5200.
    QString text = repeated('x', 10001);
    text[5099] = QLatin1Char('\n');
    text[5199] = QLatin1Char('\n');
    const int cut = monitorCutLength(text);
    EXPECT_EQ(cut, 5100);
    EXPECT_TRUE(text.mid(cut).startsWith(QLatin1Char('x')));
    EXPECT_EQ(text.size() - cut, 4901);
}

TEST(MonitorTrim, ALineFeedRightAtTheStartPositionIsTaken)
{
    QString text = repeated('x', 12000);
    text[12000 - 5000 - 1] = QLatin1Char('\n');
    EXPECT_EQ(monitorCutLength(text), 7000);
}

TEST(MonitorTrim, WithoutALineFeedNearTheCutTheLast4500Stay)
{
    QString text = repeated('x', 12000);
    text[100] = QLatin1Char('\n');   // far too early
    text[11000] = QLatin1Char('\n'); // beyond the 500 characters searched
    EXPECT_EQ(text.size() - monitorCutLength(text), 4500);
}

TEST(WrapLine, ASpaceRightAfterTheWidthIsUsed)
{
    const QString text = repeated('a', 72) + QStringLiteral(" tail");
    const WrappedLine line = WrapLine(text, 72);
    EXPECT_EQ(line.first, repeated('a', 72));
    EXPECT_EQ(line.rest, QStringLiteral("tail"));
}

TEST(WrapLine, SpacesBeforePosition52DoNotCount)
{
    // The only space is at position 51: hard break after 72.
    QString text = repeated('a', 50) + QLatin1Char(' ') + repeated('b', 30);
    WrappedLine line = WrapLine(text, 72);
    EXPECT_EQ(line.first, text.left(72));
    EXPECT_EQ(line.rest, text.mid(72));

    // At position 52 it still does.
    text = repeated('a', 51) + QLatin1Char(' ') + repeated('b', 30);
    line = WrapLine(text, 72);
    EXPECT_EQ(line.first, repeated('a', 51));
    EXPECT_EQ(line.rest, repeated('b', 30));
}

TEST(WrapLine, AWordOfTheFullWidthIsSentWhole)
{
    const WrappedLine line = WrapLine(repeated('w', 72), 72);
    EXPECT_EQ(line.first, repeated('w', 72));
    EXPECT_TRUE(line.rest.isEmpty());
}

TEST(ValidateVia, SpacesAndCommasBecomeSingleCommas)
{
    const ViaResult via = ValidateVia(QStringLiteral("  ORVEX-1 ,  , WIDE2-2  "));
    EXPECT_TRUE(via.valid);
    EXPECT_EQ(via.path, QStringLiteral("ORVEX-1,WIDE2-2"));

    EXPECT_EQ(ValidateVia(QStringLiteral("A,,,B   C")).path, QStringLiteral("A,B,C"));
    EXPECT_EQ(ValidateVia(QStringLiteral(",ORVEX-1,")).path, QStringLiteral("ORVEX-1"));
}

TEST(ValidateVia, AnEmptyPathIsValid)
{
    EXPECT_TRUE(ValidateVia(QString()).valid);
    const ViaResult blank = ValidateVia(QStringLiteral("   "));
    EXPECT_TRUE(blank.valid);
    EXPECT_TRUE(blank.path.isEmpty());
}

TEST(ValidateVia, TheFirstBadPieceIsNamed)
{
    const ViaResult via = ValidateVia(QStringLiteral("ORVEX-1 WIDE2-22 TOOLONGX"));
    EXPECT_FALSE(via.valid);
    EXPECT_EQ(via.badPiece, QStringLiteral("WIDE2-22"));
    EXPECT_EQ(viaRefusal(via.badPiece), QStringLiteral("WIDE2-22 is not a valid AX25 address."));
}

TEST(AddressChecks, ToIsEmptyOrOneCallsign)
{
    EXPECT_TRUE(isValidTo(QString()));
    EXPECT_TRUE(isValidTo(QStringLiteral("CQ")));
    EXPECT_TRUE(isValidTo(QStringLiteral("Q9ZZZ-15")));
    EXPECT_FALSE(isValidTo(QStringLiteral("Q9ZZZ-16")));
    EXPECT_FALSE(isValidTo(QStringLiteral("cq")));
}

TEST(AddressChecks, PortUpToTheEnginesCountOrTwoWhileUnknown)
{
    EXPECT_TRUE(isValidPort(QStringLiteral("2"), 0));
    EXPECT_FALSE(isValidPort(QStringLiteral("3"), 0));
    EXPECT_EQ(portRefusal(0), QStringLiteral("The highest available port is 2."));
    EXPECT_TRUE(isValidPort(QStringLiteral("4"), 4));
    EXPECT_FALSE(isValidPort(QStringLiteral("5"), 4));
    EXPECT_TRUE(isValidPort(QString(), 1));
    EXPECT_TRUE(isValidPort(QStringLiteral("0"), 1));
}

TEST(LoggingKey, WordsAndNumbers)
{
    EXPECT_TRUE(loggingFromText(QStringLiteral("True")));
    EXPECT_TRUE(loggingFromText(QStringLiteral("TRUE")));
    EXPECT_TRUE(loggingFromText(QStringLiteral("-1")));
    EXPECT_TRUE(loggingFromText(QStringLiteral("2.5")));
    EXPECT_FALSE(loggingFromText(QStringLiteral("false")));
    EXPECT_FALSE(loggingFromText(QStringLiteral("0")));
}

TEST(LoggingKey, AnythingElseIsOff)
{
    EXPECT_FALSE(loggingFromText(QStringLiteral("yes")));
    EXPECT_FALSE(loggingFromText(QStringLiteral("1x")));
    EXPECT_FALSE(loggingFromText(QString()));
    EXPECT_EQ(loggingText(true), QStringLiteral("True"));
    EXPECT_EQ(loggingText(false), QStringLiteral("False"));
}

TEST(MonitorFont, TwelvePointsIsSixteenPixelsAt96Dpi)
{
    EXPECT_DOUBLE_EQ(NearestFontSize(QStringLiteral("GLYPHIX"), 12, 15), 12.0);
}

TEST(MonitorFont, At120DpiTheNearestIsTwentyTwoPixels)
{
    EXPECT_NEAR(NearestFontSize(QStringLiteral("GLYPHIX"), 12, 12), 13.2, 1e-9);
}

TEST(MonitorFont, ATieGoesToTheSmallerCandidate)
{
    // At 96 DPI the candidates 10.5 and 12 points lie 0.75 from 11.25.
    EXPECT_DOUBLE_EQ(NearestFontSize(QStringLiteral("GLYPHIX"), 11.25, 15), 10.5);
}

TEST(MonitorFont, OtherFacesKeepTheRequest)
{
    EXPECT_DOUBLE_EQ(NearestFontSize(QStringLiteral("Courier New"), 11, 15), 11.0);
}
