// SPDX-License-Identifier: GPL-2.0-or-later
#include "settings/frmCalls.h"
#include "settings/CallsignListLines.h"

#include "DialogDriver.h"
#include "FakeStationSettings.h"
#include "MessageBoxRecorder.h"
#include "QStringPrinter.h"

#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

QString line(const char *callsign, const char *side)
{
    return orvex::callsignLine(QString::fromLatin1(callsign), QString::fromLatin1(side));
}

class frmCallsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // Opens the dialog through DoCalls as the menu does and drives it while
    // it runs modally; a dialog the drive leaves open is cancelled.
    void run(const std::function<void()> &drive)
    {
        dialog = std::make_unique<frmCalls>(settings);
        bool leftOpen = false;
        QTimer::singleShot(0, dialog.get(), [&] {
            driver::showAndActivate(dialog.get());
            lstCalls = driver::child<QListWidget>(dialog.get(), "lstCalls");
            txtCall = driver::child<QLineEdit>(dialog.get(), "txtCall");
            optA = driver::child<QRadioButton>(dialog.get(), "optA");
            optB = driver::child<QRadioButton>(dialog.get(), "optB");
            cmdAdd = driver::child<QPushButton>(dialog.get(), "cmdAdd");
            cmdOk = driver::child<QPushButton>(dialog.get(), "cmdOk");
            cmdCancel = driver::child<QPushButton>(dialog.get(), "cmdCancel");
            cmdDefaults = driver::child<QPushButton>(dialog.get(), "cmdDefaults");
            drive();
            if (dialog->isVisible()) {
                leftOpen = true;
                dialog->reject();
            }
        });
        dialog->DoCalls();
        closedByDrive = !leftOpen;
    }
    QStringList listed() const
    {
        QStringList lines;
        for (int i = 0; i < lstCalls->count(); ++i)
            lines.append(lstCalls->item(i)->text());
        return lines;
    }
    void putIn(const char *callsign, QRadioButton *side)
    {
        driver::retype(txtCall, QString::fromLatin1(callsign));
        driver::click(side);
        driver::click(cmdAdd);
    }

    QTemporaryDir dir;
    FakeStationSettings settings{dir.filePath(QStringLiteral("orvexdecode.INI"))};
    MessageBoxRecorder messages;
    std::unique_ptr<frmCalls> dialog;
    bool closedByDrive = false;
    QListWidget *lstCalls = nullptr;
    QLineEdit *txtCall = nullptr;
    QRadioButton *optA = nullptr;
    QRadioButton *optB = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdOk = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdDefaults = nullptr;
};

} // namespace

TEST_F(frmCallsTest, OpensWithTheMainWindowsListSortedAndNothingSelected)
{
    settings.calls = {{"Q9ZZZ-10", "A"}, {"Q9ZZZ-2", "A"}, {"Q9ZZZ", "A"}};
    run([&] {
        EXPECT_EQ(dialog->windowTitle(), "ORVEX Callsigns");
        EXPECT_EQ(listed(),
                  (QStringList{"Q9ZZZ       Side A", "Q9ZZZ-2     Side A", "Q9ZZZ-10    Side A"}));
        EXPECT_FALSE(optA->isChecked());
        EXPECT_FALSE(optB->isChecked());
        EXPECT_FALSE(cmdAdd->isEnabled());
        EXPECT_EQ(txtCall->maxLength(), 9);
        driver::click(cmdCancel);
    });
    EXPECT_TRUE(closedByDrive);
    EXPECT_TRUE(settings.writes.isEmpty());
}

TEST_F(frmCallsTest, PutInNeedsTextAndASide)
{
    run([&] {
        QTest::keyClicks(txtCall, "q9z/zz 7");
        EXPECT_EQ(txtCall->text(), "Q9ZZZ7");
        EXPECT_FALSE(cmdAdd->isEnabled());
        driver::click(optB);
        EXPECT_TRUE(cmdAdd->isEnabled());
        driver::click(optA);
        EXPECT_TRUE(optA->isChecked());
        EXPECT_FALSE(optB->isChecked());
        driver::retype(txtCall, "");
        EXPECT_FALSE(cmdAdd->isEnabled());
    });
}

TEST_F(frmCallsTest, PutInAddsSortedLinesAndClearsTheEntry)
{
    settings.calls = {{"Q9ZZZ-10", "A"}};
    run([&] {
        putIn("Q9ZZZ-2", optB);
        EXPECT_EQ(listed(), (QStringList{line("Q9ZZZ-2", "B"), line("Q9ZZZ-10", "A")}));
        EXPECT_EQ(txtCall->text(), "");
        EXPECT_FALSE(optA->isChecked());
        EXPECT_FALSE(optB->isChecked());
        EXPECT_FALSE(cmdAdd->isEnabled());
        // The return key in the box puts in as well.
        driver::retype(txtCall, "ORVEX");
        driver::click(optB);
        QTest::mouseClick(txtCall, Qt::LeftButton);
        driver::key(txtCall, Qt::Key_Return);
        EXPECT_EQ(listed(),
                  (QStringList{line("ORVEX", "B"), line("Q9ZZZ-2", "B"), line("Q9ZZZ-10", "A")}));
        driver::click(cmdOk);
    });
    EXPECT_TRUE(closedByDrive);
    EXPECT_EQ(settings.calls,
              (QList<clsCallsign>{{"ORVEX", "B"}, {"Q9ZZZ-2", "B"}, {"Q9ZZZ-10", "A"}}));
    const auto keys = settings.ini.LoadAllKeysInSection("CALLSIGNS");
    EXPECT_EQ(keys[0], (QStringList{"", "ORVEX", "Q9ZZZ-2", "Q9ZZZ-10"}));
    EXPECT_EQ(keys[1], (QStringList{"", "B", "B", "A"}));
}

TEST_F(frmCallsTest, ReturnKeyDoesNothingWhileTheButtonIsDisabled)
{
    settings.calls = {{"Q9ZZZ", "A"}};
    run([&] {
        driver::retype(txtCall, "ORVEX");
        driver::key(txtCall, Qt::Key_Return); // no side chosen
        QTest::keyClick(txtCall, Qt::Key_Backspace);
        driver::retype(txtCall, "");
        driver::click(optA);
        QTest::mouseClick(txtCall, Qt::LeftButton);
        driver::key(txtCall, Qt::Key_Return); // empty box
        EXPECT_EQ(listed(), QStringList{line("Q9ZZZ", "A")});
        EXPECT_TRUE(messages.seen.isEmpty());
        EXPECT_TRUE(dialog->isVisible());
    });
}

TEST_F(frmCallsTest, SameCallsignWithTheOtherSideIsReplacedInPlace)
{
    settings.calls = {{"NODIGI", "A"}, {"Q9ZZZ", "A"}, {"ORVEX", "B"}};
    run([&] {
        const QStringList before = listed();
        putIn("Q9ZZZ", optB);
        QStringList expected = before;
        expected[2] = line("Q9ZZZ", "B");
        EXPECT_EQ(listed(), expected);
    });
}

TEST_F(frmCallsTest, LeadingZeroSsidIsALineOfItsOwnAndBothReachTheMainWindow)
{
    settings.calls = {{"Q9ZZZ-5", "A"}};
    run([&] {
        putIn("Q9ZZZ-05", optB);
        EXPECT_EQ(listed(), (QStringList{line("Q9ZZZ-5", "A"), line("Q9ZZZ-5", "B")}));
        driver::click(cmdOk);
    });
    EXPECT_EQ(settings.calls, (QList<clsCallsign>{{"Q9ZZZ-5", "A"}, {"Q9ZZZ-5", "B"}}));
}

TEST_F(frmCallsTest, InvalidCallsignIsRefusedAndKeepsTheFocus)
{
    settings.calls = {{"Q9ZZZ", "A"}};
    run([&] {
        driver::retype(txtCall, "Q9ZZZ-16");
        driver::click(optA);
        EXPECT_EQ(messages.lastText(), "Q9ZZZ-16 is not a valid callsign.");
        EXPECT_EQ(messages.lastIcon(), QMessageBox::Critical);
        EXPECT_EQ(messages.lastTitle(), "ORVEX Telemetry Decoder");
        EXPECT_TRUE(txtCall->hasFocus());
        EXPECT_FALSE(optA->isChecked()); // the click never reached the option

        // Cancel leaves without the check.
        messages.seen.clear();
        driver::click(cmdCancel);
        EXPECT_TRUE(messages.seen.isEmpty());
    });
    EXPECT_TRUE(closedByDrive);
}

TEST_F(frmCallsTest, ReturnKeyWithAnInvalidCallsignShowsTheMessage)
{
    run([&] {
        driver::click(optB);
        QTest::mouseClick(txtCall, Qt::LeftButton);
        QTest::keyClicks(txtCall, "ABCDEFG");
        EXPECT_EQ(txtCall->text(), "ABCDEFG");
        driver::key(txtCall, Qt::Key_Return);
        EXPECT_EQ(messages.lastText(), "ABCDEFG is not a valid callsign.");
        EXPECT_TRUE(txtCall->hasFocus());
        EXPECT_EQ(lstCalls->count(), 0);
    });
}

TEST_F(frmCallsTest, DoubleClickOrReturnEditsALine)
{
    settings.calls = {{"ORVEX-3", "B"}, {"Q9ZZZ", "A"}};
    run([&] {
        const QRect rect = lstCalls->visualItemRect(lstCalls->item(0));
        QTest::mouseClick(lstCalls->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(lstCalls->viewport(), Qt::LeftButton, {}, rect.center());
        EXPECT_EQ(txtCall->text(), "ORVEX-3");
        EXPECT_TRUE(optB->isChecked());
        EXPECT_TRUE(txtCall->hasFocus());

        lstCalls->setFocus();
        lstCalls->setCurrentRow(1);
        driver::key(lstCalls, Qt::Key_Return);
        EXPECT_EQ(txtCall->text(), "Q9ZZZ");
        EXPECT_TRUE(optA->isChecked());
        EXPECT_FALSE(optB->isChecked());
        EXPECT_TRUE(txtCall->hasFocus());
        EXPECT_TRUE(cmdAdd->isEnabled());
    });
}

TEST_F(frmCallsTest, DeleteKeyRemovesTheLineAndSelectsItsNeighbour)
{
    settings.calls = {{"A1", "A"}, {"B2", "A"}, {"C3", "A"}};
    run([&] {
        lstCalls->setFocus();
        lstCalls->setCurrentRow(1);
        driver::key(lstCalls, Qt::Key_Delete);
        EXPECT_EQ(listed(), (QStringList{line("A1", "A"), line("C3", "A")}));
        EXPECT_EQ(lstCalls->currentRow(), 1);
        driver::key(lstCalls, Qt::Key_Delete);
        EXPECT_EQ(listed(), QStringList{line("A1", "A")});
        EXPECT_EQ(lstCalls->currentRow(), 0);
        EXPECT_TRUE(lstCalls->currentItem()->isSelected());
    });
}

TEST_F(frmCallsTest, AnEmptyListCannotBeConfirmed)
{
    settings.calls = {{"Q9ZZZ", "A"}};
    run([&] {
        lstCalls->setFocus();
        lstCalls->setCurrentRow(0);
        driver::key(lstCalls, Qt::Key_Delete);
        EXPECT_EQ(lstCalls->count(), 0);
        driver::click(cmdOk);
        EXPECT_EQ(messages.lastText(), "You cannot delete all the callsigns.");
        EXPECT_EQ(messages.lastIcon(), QMessageBox::Critical);
        EXPECT_TRUE(dialog->isVisible());
        driver::click(cmdCancel);
    });
    EXPECT_TRUE(settings.writes.isEmpty());
    EXPECT_EQ(settings.calls, (QList<clsCallsign>{{"Q9ZZZ", "A"}}));
}

TEST_F(frmCallsTest, DefaultsTakeEffectEvenWhenCancelled)
{
    settings.calls = {{"Q9ZZZ", "A"}};
    run([&] {
        driver::click(cmdDefaults);
        EXPECT_EQ(lstCalls->count(), 33);
        EXPECT_EQ(lstCalls->item(0)->text(), line("NODIGI", "A"));
        EXPECT_EQ(lstCalls->item(1)->text(), line("ORVEX", "B"));
        EXPECT_EQ(lstCalls->item(2)->text(), line("ORVEX-1", "A"));
        EXPECT_EQ(lstCalls->item(3)->text(), line("ORVEX-2", "A"));
        driver::click(cmdCancel);
    });
    EXPECT_EQ(settings.writes, (QStringList{"InitCallsigns", "LoadCallsigns"}));
    EXPECT_EQ(settings.calls, FakeStationSettings::defaultCalls());
    EXPECT_EQ(settings.ini.LoadAllKeysInSection("CALLSIGNS")[0].size(), 34);
}

TEST_F(frmCallsTest, EscClosesWithoutHandingBack)
{
    settings.calls = {{"Q9ZZZ", "A"}};
    run([&] {
        putIn("ORVEX", optB);
        QTest::keyClick(lstCalls, Qt::Key_Escape);
        EXPECT_FALSE(dialog->isVisible());
    });
    EXPECT_TRUE(closedByDrive);
    EXPECT_TRUE(settings.writes.isEmpty());
}
