// SPDX-License-Identifier: GPL-2.0-or-later
#include "TerminalFixture.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

class TerminalTransmit : public TerminalFixture
{
protected:
    void typeLine(const QString &text) { QTest::keyClicks(box("txtTx"), text); }
    void enter() { QTest::keyClick(box("txtTx"), Qt::Key_Return); }
    void click(const char *name) { child<QPushButton>(name)->click(); }
};

} // namespace

TEST_F(TerminalTransmit, EnterSendsTheLineToTheDestinationViaThePath)
{
    open();
    EXPECT_EQ(box("txtTo")->text(), QStringLiteral("CQ"));
    EXPECT_EQ(box("txtVia")->text(), QStringLiteral("ORVEX-1"));
    EXPECT_EQ(box("txtPort")->text(), QStringLiteral("1"));
    typeLine(QStringLiteral("Hello via the satellite"));
    enter();
    ASSERT_EQ(host.sent.size(), 1);
    EXPECT_EQ(host.sent[0].port, 1);
    EXPECT_EQ(host.sent[0].call, QStringLiteral("Q9ZZZ"));
    EXPECT_EQ(host.sent[0].dest, QStringLiteral("CQ ORVEX-1"));
    EXPECT_EQ(host.sent[0].text, QStringLiteral("Hello via the satellite\r"));
    EXPECT_TRUE(box("txtTx")->text().isEmpty());
    EXPECT_TRUE(boxes.seen.isEmpty());
}

TEST_F(TerminalTransmit, WithoutAPathTheDestinationEndsInOneSpace)
{
    ini().SaveIniString("TERMINAL", "VIA", "");
    ini().SaveIniString("TERMINAL", "PORT", "2");
    open();
    typeLine(QStringLiteral("direct"));
    enter();
    ASSERT_EQ(host.sent.size(), 1);
    EXPECT_EQ(host.sent[0].dest, QStringLiteral("CQ "));
    EXPECT_EQ(host.sent[0].port, 2);
}

TEST_F(TerminalTransmit, PortZeroSendsOnPortOne)
{
    ini().SaveIniString("TERMINAL", "PORT", "0");
    open();
    enter();
    ASSERT_EQ(host.sent.size(), 1);
    EXPECT_EQ(host.sent[0].port, 1);
    EXPECT_EQ(host.sent[0].text, QStringLiteral("\r"));
}

TEST_F(TerminalTransmit, NoCallsignNothingSent)
{
    host.callsign.clear();
    open();
    typeLine(QStringLiteral("x"));
    enter();
    EXPECT_TRUE(host.sent.isEmpty());
    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_EQ(boxes.seen[0].text,
              QStringLiteral("To be able to transmit, you must input your callsign in "
                             "'Station Information'."));
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Information);
}

TEST_F(TerminalTransmit, ATypedLineWithoutDestinationIsRefused)
{
    ini().SaveIniString("TERMINAL", "TO", "");
    open();
    typeLine(QStringLiteral("x"));
    enter();
    EXPECT_TRUE(host.sent.isEmpty());
    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_EQ(boxes.seen[0].text,
              QStringLiteral("To be able to transmit, you must put a valid AX25 "
                             "callsign or alias in 'To'."));
}

TEST_F(TerminalTransmit, WithoutTheLinkItSaysSoAndStillHandsTheFrameOn)
{
    host.connected = false;
    open();
    typeLine(QStringLiteral("x"));
    enter();
    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_EQ(boxes.seen[0].text,
              QStringLiteral("To be able to transmit, you must be connected to AGWPE."));
    EXPECT_EQ(host.sent.size(), 1);
}

TEST_F(TerminalTransmit, PositionBeaconWithTheDefaultSymbolsGoesToTheAprsDestination)
{
    ini().SaveIniString("TERMINAL", "TO", "");
    host.comment = QStringLiteral("ORVEX station");
    open();
    click("cmdAprs");
    ASSERT_EQ(host.sent.size(), 1);
    EXPECT_EQ(host.sent[0].dest, QStringLiteral("APZ36Q ORVEX-1"));
    EXPECT_EQ(host.sent[0].text, QStringLiteral("!3859.50N/07701.23W-ORVEX station\r"));
}

TEST_F(TerminalTransmit, PositionBeaconWithoutCommentEndsInTheSymbol)
{
    open();
    click("cmdAprs");
    ASSERT_EQ(host.sent.size(), 1);
    EXPECT_EQ(host.sent[0].text, QStringLiteral("!3859.50N/07701.23W-\r"));
}

TEST_F(TerminalTransmit, LocatorBeaconHasNoTrailingSpaceWithoutComment)
{
    open();
    click("cmdLoc");
    host.comment = QStringLiteral("hi");
    click("cmdLoc");
    ASSERT_EQ(host.sent.size(), 2);
    EXPECT_EQ(host.sent[0].text, QStringLiteral(">FM18lv/-\r"));
    EXPECT_EQ(host.sent[1].text, QStringLiteral(">FM18lv/- hi\r"));
    EXPECT_EQ(host.sent[1].dest, QStringLiteral("APZ36Q ORVEX-1"));
}

TEST_F(TerminalTransmit, SymbolsComeFromUserIni)
{
    clsIni user(dir.filePath("USER.INI"));
    user.SaveIniString("APRS", "APRS_SYMBOL_CHARACTER", "Kx");
    user.SaveIniString("APRS", "APRS_SYMBOL_TABLE_CHARACTER", "\\");
    open();
    click("cmdAprs");
    ASSERT_EQ(host.sent.size(), 1);
    EXPECT_EQ(host.sent[0].text, QStringLiteral("!3859.50N\\07701.23WK\r"));
}

TEST_F(TerminalTransmit, MissingUserIniKeysGetTheirDefaultsWritten)
{
    QFile::remove(dir.filePath("USER.INI"));
    open();
    clsIni user(dir.filePath("USER.INI"));
    EXPECT_EQ(user.GetIniString("APRS", "APRS_SYMBOL_CHARACTER", "?"), QStringLiteral("-"));
    EXPECT_EQ(user.GetIniString("APRS", "APRS_SYMBOL_TABLE_CHARACTER", "?"), QStringLiteral("/"));
}

TEST_F(TerminalTransmit, BeaconsWithoutPositionAskForIt)
{
    host.lat.clear();
    host.locator.clear();
    open();
    click("cmdAprs");
    click("cmdLoc");
    EXPECT_TRUE(host.sent.isEmpty());
    ASSERT_EQ(boxes.seen.size(), 2);
    const QString need =
        QStringLiteral("To be able to transmit a beacon, you must input your latitude "
                       "and longitude in 'Station Information'.");
    EXPECT_EQ(boxes.seen[0].text, need);
    EXPECT_EQ(boxes.seen[1].text, need);
}

TEST_F(TerminalTransmit, ReachingTheWrapWidthSendsUpToTheLastSpace)
{
    open();
    QString words;
    while (words.size() < 71)
        words += QStringLiteral("abcdefghi ");
    words = words.left(71); // spaces at 10, 20 ... 70
    typeLine(words);
    EXPECT_TRUE(host.sent.isEmpty());
    typeLine(QStringLiteral("b"));
    ASSERT_EQ(host.sent.size(), 1);
    EXPECT_EQ(host.sent[0].text, words.left(69) + QLatin1Char('\r'));
    EXPECT_EQ(box("txtTx")->text(), QStringLiteral("ab"));
    EXPECT_EQ(box("txtTx")->cursorPosition(), 2);
}

TEST_F(TerminalTransmit, AWordOfTheWrapWidthIsSentWholeAndTheBoxEmptied)
{
    open();
    typeLine(QString(72, QLatin1Char('w')));
    ASSERT_EQ(host.sent.size(), 1);
    EXPECT_EQ(host.sent[0].text, QString(72, QLatin1Char('w')) + QLatin1Char('\r'));
    EXPECT_TRUE(box("txtTx")->text().isEmpty());
}

TEST_F(TerminalTransmit, CtrlRRecallsTheLastLine)
{
    open();
    QTest::keyClick(box("txtTx"), Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(box("txtTx")->text().isEmpty());
    typeLine(QStringLiteral("again"));
    enter();
    QTest::keyClick(box("txtTx"), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(box("txtTx")->text(), QStringLiteral("again"));
    EXPECT_EQ(box("txtTx")->cursorPosition(), 5);
    EXPECT_EQ(host.sent.size(), 1);
}

TEST_F(TerminalTransmit, CallsignBoxesUpperCaseAndSwallowOtherCharacters)
{
    open();
    box("txtTo")->clear();
    QTest::keyClicks(box("txtTo"), QStringLiteral("q9/z z-1*"));
    EXPECT_EQ(box("txtTo")->text(), QStringLiteral("Q9ZZ-1"));
    box("txtVia")->clear();
    QTest::keyClicks(box("txtVia"), QStringLiteral("orvex-1, wide2;2"));
    EXPECT_EQ(box("txtVia")->text(), QStringLiteral("ORVEX-1, WIDE22"));
    box("txtPort")->clear();
    QTest::keyClicks(box("txtPort"), QStringLiteral("x1a2"));
    EXPECT_EQ(box("txtPort")->text(), QStringLiteral("12"));
    EXPECT_EQ(box("txtTo")->maxLength(), 9);
    EXPECT_EQ(box("txtVia")->maxLength(), 40);
    EXPECT_EQ(box("txtTx")->maxLength(), 80);
}

TEST_F(TerminalTransmit, LeavingViaNormalisesThePath)
{
    openShown();
    box("txtVia")->setFocus();
    box("txtVia")->setText(QStringLiteral("ORVEX-1 ,, WIDE2-2"));
    QTest::keyClick(box("txtVia"), Qt::Key_Tab);
    ASSERT_TRUE(
        waitUntil([&] { return box("txtVia")->text() == QStringLiteral("ORVEX-1,WIDE2-2"); }));
    EXPECT_TRUE(boxes.seen.isEmpty());
}

TEST_F(TerminalTransmit, AnInvalidToKeepsTheFocus)
{
    openShown();
    box("txtTo")->setFocus();
    box("txtTo")->setText(QStringLiteral("Q9ZZZ-16"));
    QTest::keyClick(box("txtTo"), Qt::Key_Tab);
    ASSERT_TRUE(waitUntil([&] { return boxes.seen.size() == 1; }));
    EXPECT_EQ(boxes.seen[0].text, QStringLiteral("That is not a valid AX25 address."));
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Critical);
    ASSERT_TRUE(waitUntil([&] { return term->focusWidget() == box("txtTo"); }));
    EXPECT_EQ(box("txtTo")->text(), QStringLiteral("Q9ZZZ-16"));
}

TEST_F(TerminalTransmit, AnInvalidViaPieceIsNamed)
{
    openShown();
    box("txtVia")->setFocus();
    box("txtVia")->setText(QStringLiteral("ORVEX-1 WIDE2-22"));
    QTest::keyClick(box("txtVia"), Qt::Key_Tab);
    ASSERT_TRUE(waitUntil([&] { return boxes.seen.size() == 1; }));
    EXPECT_EQ(boxes.seen[0].text, QStringLiteral("WIDE2-22 is not a valid AX25 address."));
    ASSERT_TRUE(waitUntil([&] { return term->focusWidget() == box("txtVia"); }));
    EXPECT_EQ(box("txtVia")->text(), QStringLiteral("ORVEX-1 WIDE2-22"));
}

TEST_F(TerminalTransmit, APortAboveTheEnginesCountIsRefused)
{
    host.portCount = 0;
    openShown();
    box("txtPort")->setFocus();
    box("txtPort")->setText(QStringLiteral("3"));
    QTest::keyClick(box("txtPort"), Qt::Key_Tab);
    ASSERT_TRUE(waitUntil([&] { return boxes.seen.size() == 1; }));
    EXPECT_EQ(boxes.seen[0].text, QStringLiteral("The highest available port is 2."));
}

TEST_F(TerminalTransmit, AnInvalidStoredViaIsNotSent)
{
    ini().SaveIniString("TERMINAL", "VIA", "BAD CALL!");
    open();
    child<QPushButton>("cmdAprs")->click();
    EXPECT_TRUE(host.sent.isEmpty());
    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_EQ(boxes.seen[0].text, QStringLiteral("CALL! is not a valid AX25 address."));
}

TEST_F(TerminalTransmit, ActivationPutsTheFocusOnTheTransmitLine)
{
    openShown();
    ASSERT_TRUE(waitUntil(
        [&] { return QApplication::focusWidget() == static_cast<QWidget *>(box("txtTx")); }));
}

TEST_F(TerminalTransmit, UnloadWritesToAndViaButNotPort)
{
    open();
    box("txtTo")->setText(QStringLiteral("Q9YYY-3"));
    box("txtVia")->setText(QStringLiteral("RS0ISS"));
    box("txtPort")->setText(QStringLiteral("2"));
    unload();
    EXPECT_EQ(setting("TERMINAL", "TO"), QStringLiteral("Q9YYY-3"));
    EXPECT_EQ(setting("TERMINAL", "VIA"), QStringLiteral("RS0ISS"));
    EXPECT_EQ(setting("TERMINAL", "PORT"), QStringLiteral("1"));
}

TEST_F(TerminalTransmit, PasteIntoTheDestinationIsCheckedAsTyping)
{
    openShown();
    QGuiApplication::clipboard()->setText(QStringLiteral("q9 abc-1!"));
    box("txtTo")->clear();
    box("txtTo")->setFocus();
    QTest::keyClick(box("txtTo"), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box("txtTo")->text(), QStringLiteral("Q9ABC-1"));
}
