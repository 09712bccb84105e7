// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/frmLocation.h"

#include "DialogDriver.h"
#include "FakeStationSettings.h"
#include "MessageBoxRecorder.h"
#include "QStringPrinter.h"
#include "support/Wait.h"
#include "ui/Help.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <memory>

namespace {

class frmLocationTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // Opens the dialog as the menu does; the fake holds the main window's values.
    void open()
    {
        dialog = std::make_unique<frmLocation>(settings);
        driver::showAndActivate(dialog.get());
        txtLat = driver::child<QLineEdit>(dialog.get(), "txtLat");
        txtLong = driver::child<QLineEdit>(dialog.get(), "txtLong");
        txtCallsign = driver::child<QLineEdit>(dialog.get(), "txtCallsign");
        txtComment = driver::child<QLineEdit>(dialog.get(), "txtComment");
        labLocator = driver::child<QLabel>(dialog.get(), "labLocator");
        cmdOk = driver::child<QPushButton>(dialog.get(), "cmdOk");
        cmdCancel = driver::child<QPushButton>(dialog.get(), "cmdCancel");
    }
    QString stored(const char *key) { return settings.ini.GetIniString("SETUP", key, "<missing>"); }

    QTemporaryDir dir;
    FakeStationSettings settings{dir.filePath(QStringLiteral("orvexdecode.INI"))};
    MessageBoxRecorder messages;
    std::unique_ptr<frmLocation> dialog;
    QLineEdit *txtLat = nullptr;
    QLineEdit *txtLong = nullptr;
    QLineEdit *txtCallsign = nullptr;
    QLineEdit *txtComment = nullptr;
    QLabel *labLocator = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
};

} // namespace

TEST_F(frmLocationTest, OpensWithTheStoredValuesInDisplayForm)
{
    settings.lat = "3859.50N";
    settings.lon = "07701.23W";
    settings.callsign = "Q9ZZZ-5";
    settings.comment = "73";
    open();
    EXPECT_EQ(dialog->windowTitle(), "Station Information");
    EXPECT_EQ(txtLat->text(), "38.59.50N");
    EXPECT_EQ(txtLong->text(), "077.01.23W");
    EXPECT_EQ(txtCallsign->text(), "Q9ZZZ-5");
    EXPECT_EQ(txtComment->text(), "73");
    EXPECT_EQ(labLocator->text(), "FM18LX");
    EXPECT_EQ(txtLat->maxLength(), 9);
    EXPECT_EQ(txtLong->maxLength(), 10);
    EXPECT_EQ(txtCallsign->maxLength(), 9);
    EXPECT_EQ(txtComment->maxLength(), 43);
}

TEST_F(frmLocationTest, TypedPositionIsRewrittenLocatedAndStoredOnOk)
{
    open();
    EXPECT_TRUE(txtLat->hasFocus());
    QTest::keyClicks(txtLat, "38.59.5n");
    EXPECT_EQ(txtLat->text(), "38.59.5N"); // typed lower case arrives upper-cased
    driver::tab(txtLat);
    EXPECT_EQ(txtLat->text(), "38.59.50N");
    EXPECT_TRUE(txtLong->hasFocus());
    QTest::keyClicks(txtLong, "77.1.23w");
    driver::tab(txtLong);
    EXPECT_EQ(txtLong->text(), "077.01.23W");
    EXPECT_EQ(labLocator->text(), "FM18LX");
    QTest::keyClicks(txtCallsign, "q9zzz-5");
    driver::tab(txtCallsign);
    QTest::keyClicks(txtComment, "  Hello from FM18  ");
    QTest::keyClick(txtComment, Qt::Key_Return);

    EXPECT_TRUE(messages.seen.isEmpty());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(settings.writes,
              (QStringList{"LATITUDE", "LONGITUDE", "CALLSIGN", "COMMENT", "LOCATOR"}));
    EXPECT_EQ(stored("LATITUDE"), "3859.50N");
    EXPECT_EQ(stored("LONGITUDE"), "07701.23W");
    EXPECT_EQ(stored("CALLSIGN"), "Q9ZZZ-5");
    EXPECT_EQ(stored("COMMENT"), "Hello from FM18");
    EXPECT_EQ(stored("LOCATOR"), "FM18LX");
}

TEST_F(frmLocationTest, CoordinateKeysAreFiltered)
{
    open();
    QTest::keyClicks(txtLat, "3,8-/ .x");
    EXPECT_EQ(txtLat->text(), "38 .X");
    QTest::keyClicks(txtCallsign, "q9 zz/z-5!");
    EXPECT_EQ(txtCallsign->text(), "Q9ZZZ-5");
}

TEST_F(frmLocationTest, UnreadableCoordinatesAreRefusedAndKeepTheFocus)
{
    const struct
    {
        const char *typed;
        bool longitude;
    } cases[] = {
        {"90.00.01N", false}, {"90.01N", false}, {"181E", true},    {"38 59N", false},
        {"38.59 50N", false}, {"38.59", false},  {"99999N", false},
    };
    for (const auto &c : cases) {
        open();
        QLineEdit *box = c.longitude ? txtLong : txtLat;
        driver::retype(box, QString::fromLatin1(c.typed));
        messages.seen.clear();
        driver::tab(box);
        ASSERT_EQ(messages.seen.size(), 1) << c.typed;
        EXPECT_EQ(messages.lastText(), c.longitude ? "I can't make that into a valid longitude."
                                                   : "I can't make that into a valid latitude.");
        EXPECT_EQ(messages.lastIcon(), QMessageBox::Warning);
        EXPECT_EQ(messages.lastTitle(), "ORVEX Telemetry Decoder");
        EXPECT_EQ(messages.seen.back().ownerTitle, "Station Information");
        EXPECT_TRUE(box->hasFocus()) << c.typed;
        EXPECT_EQ(box->text(), QString::fromLatin1(c.typed));
    }
}

TEST_F(frmLocationTest, BoundaryPositionsAreAccepted)
{
    open();
    driver::retype(txtLat, "90N");
    driver::tab(txtLat);
    EXPECT_EQ(txtLat->text(), "90.00.00N");
    driver::retype(txtLong, "180.00.00W");
    driver::tab(txtLong);
    EXPECT_EQ(txtLong->text(), "180.00.00W");
    EXPECT_EQ(labLocator->text(), "AR09AX");
    EXPECT_TRUE(messages.seen.isEmpty());
}

TEST_F(frmLocationTest, PastedTextIsCheckedToo)
{
    // Text that did not come through the key filter.
    for (const char *pasted : {"38.59.50n", "-5N"}) {
        open();
        txtLat->insert(QString::fromLatin1(pasted));
        messages.seen.clear();
        driver::tab(txtLat);
        EXPECT_EQ(messages.lastText(), "I can't make that into a valid latitude.") << pasted;
        EXPECT_TRUE(txtLat->hasFocus());
    }
}

TEST_F(frmLocationTest, OkClickedWithARefusedBoxDoesNotActAndHandsNothingBack)
{
    open();
    QTest::keyClicks(txtLat, "91N");
    driver::click(cmdOk);
    EXPECT_EQ(messages.lastText(), "I can't make that into a valid latitude.");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(txtLat->hasFocus());
    EXPECT_TRUE(settings.writes.isEmpty());

    // Enter reaches OK without leaving the box: the box is checked all the same.
    messages.seen.clear();
    driver::key(txtLat, Qt::Key_Return);
    EXPECT_EQ(messages.seen.size(), 1);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(settings.writes.isEmpty());
}

TEST_F(frmLocationTest, AltOWithARefusedBoxShowsOneMessageAndDoesNotAct)
{
    open();
    QTest::keyClicks(txtLat, "91N");
    QTest::keyClick(txtLat, Qt::Key_O, Qt::AltModifier);
    (void)QTest::qWaitFor([&] { return !messages.seen.isEmpty(); });
    driver::settle(dialog.get());
    EXPECT_EQ(messages.seen.size(), 1);
    EXPECT_EQ(messages.lastText(), "I can't make that into a valid latitude.");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(txtLat->hasFocus());
    EXPECT_TRUE(settings.writes.isEmpty());

    driver::retype(txtLat, "38.59.50N");
    QTest::keyClick(txtLat, Qt::Key_O, Qt::AltModifier);
    (void)QTest::qWaitFor([&] { return !dialog->isVisible(); });
    EXPECT_EQ(messages.seen.size(), 1);
    EXPECT_EQ(settings.lat, "3859.50N");
}

TEST_F(frmLocationTest, CancelRunsNoCheckAndHandsNothingBack)
{
    settings.lat = "3859.50N";
    open();
    driver::retype(txtLat, "junk");
    driver::click(cmdCancel);
    EXPECT_TRUE(messages.seen.isEmpty());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(settings.writes.isEmpty());
    EXPECT_EQ(settings.lat, "3859.50N");
}

TEST_F(frmLocationTest, EscCancels)
{
    open();
    QTest::keyClicks(txtLat, "junk");
    QTest::keyClick(txtLat, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(messages.seen.isEmpty());
    EXPECT_TRUE(settings.writes.isEmpty());
}

TEST_F(frmLocationTest, EmptiedLatitudeIsStoredEmptyAndTheLocatorKeepsItsText)
{
    settings.lat = "3859.50N";
    settings.lon = "07701.23W";
    open();
    driver::retype(txtLat, "");
    driver::tab(txtLat);
    EXPECT_TRUE(messages.seen.isEmpty());
    EXPECT_EQ(labLocator->text(), "FM18LX");
    driver::click(cmdOk);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(stored("LATITUDE"), "");
    EXPECT_EQ(stored("LONGITUDE"), "07701.23W");
    EXPECT_EQ(stored("LOCATOR"), "FM18LX");
}

TEST_F(frmLocationTest, BlanksOnlyCoordinateCountsAsEmpty)
{
    open();
    QTest::keyClicks(txtLat, "   ");
    driver::tab(txtLat);
    EXPECT_TRUE(messages.seen.isEmpty());
    EXPECT_EQ(txtLat->text(), "");
}

TEST_F(frmLocationTest, CallsignCheck)
{
    open();
    driver::retype(txtCallsign, "Q9ZZZ-16");
    driver::tab(txtCallsign);
    ASSERT_EQ(messages.seen.size(), 1);
    EXPECT_EQ(messages.lastText(), "That is not a valid callsign.");
    EXPECT_EQ(messages.lastIcon(), QMessageBox::Critical);
    EXPECT_TRUE(txtCallsign->hasFocus());

    driver::retype(txtCallsign, "");
    driver::tab(txtCallsign);
    EXPECT_EQ(messages.seen.size(), 1); // empty is accepted
    driver::click(cmdOk);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(stored("CALLSIGN"), "");
}

TEST_F(frmLocationTest, EveryBoxSelectsItsTextOnGainingTheFocus)
{
    settings.lat = "3859.50N";
    settings.lon = "07701.23W";
    settings.callsign = "Q9ZZZ";
    settings.comment = "old comment";
    open();
    for (QLineEdit *box : {txtLong, txtCallsign, txtComment}) {
        driver::tab(QApplication::focusWidget());
        ASSERT_TRUE(box->hasFocus());
        EXPECT_EQ(box->selectedText(), box->text());
    }
    QTest::keyClicks(txtComment, "new");
    EXPECT_EQ(txtComment->text(), "new");
}

TEST_F(frmLocationTest, NextOpeningReadsTheMainWindowAfresh)
{
    settings.lat = "3859.50N";
    open();
    driver::retype(txtLat, "12N");
    driver::click(cmdCancel);
    open();
    EXPECT_EQ(txtLat->text(), "38.59.50N");
}

TEST_F(frmLocationTest, F1OpensTheHelpOnTopOfTheModalDialogAndUsableThere)
{
    InitHelp(nullptr, dir.path());
    dialog = std::make_unique<frmLocation>(settings);
    dialog->setModal(true);
    driver::showAndActivate(dialog.get());
    ASSERT_EQ(QApplication::activeModalWidget(), dialog.get());
    QTest::keyClick(dialog.get(), Qt::Key_F1);
    // A window of the modal dialog: the dialog does not block it.
    auto *help = dialog->findChild<QTextBrowser *>();
    ASSERT_NE(help, nullptr) << "the help opened behind the dialog";
    EXPECT_TRUE(help->isWindow());
    EXPECT_TRUE(help->isVisible());
    // Its frame stays on the screen, grip and lower border too.
    const QRect area = help->screen()->availableGeometry();
    EXPECT_TRUE(area.contains(help->frameGeometry()))
        << help->frameGeometry().bottom() << " on a screen to " << area.bottom();
    // Esc closes it, and only it.
    const QPointer<QTextBrowser> shown(help);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == help; }));
    QTest::keyClick(help, Qt::Key_Escape);
    EXPECT_TRUE(orvex::test::waitUntil([&] { return !shown || !shown->isVisible(); }));
    EXPECT_TRUE(dialog->isVisible());
    CloseHelp();
}

TEST_F(frmLocationTest, TypedCoordinatesShowHowTheyAreReadAndTheirLocatorBeforeOk)
{
    open();
    txtLat->setText(QStringLiteral("38.59.5N"));
    txtLong->setText(QStringLiteral("77.1.23W"));
    EXPECT_EQ(driver::child<QLabel>(dialog.get(), "latitudeMeaning")->text(),
              QStringLiteral("38\u00B0 59.50\u2032 N"));
    EXPECT_EQ(driver::child<QLabel>(dialog.get(), "longitudeMeaning")->text(),
              QStringLiteral("77\u00B0 01.23\u2032 W"));
    EXPECT_EQ(labLocator->text(), QStringLiteral("FM18LX"));
}
