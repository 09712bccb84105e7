// SPDX-License-Identifier: GPL-2.0-or-later
#include "MessageBoxRecorder.h"
#include "core/frmORVEX.h"
#include "platform/FlexGrid.h"
#include "platform/ScreenTwips.h"
#include "shared/clsIni.h"
#include "support/ProgramFolder.h"
#include "telemetry/TelemetryPanel.h"
#include "ui/Help.h"

#include <QApplication>
#include <QFile>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

using orvex::test::ProgramFolder;

namespace {

// The key names of one section, in file order.
QStringList keysOf(const QByteArray &ini, const QByteArray &section)
{
    QStringList keys;
    bool inSection = false;
    for (QByteArray line : ini.split('\n')) {
        line = line.trimmed();
        if (line.startsWith('['))
            inSection = line == "[" + section + "]";
        else if (inSection && line.contains('='))
            keys << QString::fromLatin1(line.left(line.indexOf('=')));
    }
    return keys;
}

} // namespace

TEST(MainWindowStartup, FirstRunWritesEveryKeyAndTellsWhatIsMissing)
{
    ProgramFolder folder;
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());

    const QByteArray ini = folder.ini();
    EXPECT_TRUE(ini.contains("\r\n")) << "CR LF line ends";
    // The main settings in the order of reading, then the hidden terminal's placement.
    EXPECT_EQ(keysOf(ini, "SETUP"),
              QStringList({"ORVEX_OBJ_NUM", "ISS_OBJ_NUM", "OBJ_INDEX", "LEFT", "TOP",
                           "USE_LOCAL_TIME", "ONLY_SHOW_ORVEX", "LATITUDE", "LONGITUDE", "LOCATOR",
                           "CALLSIGN", "COMMENT", "TERMINAL_LEFT", "TERMINAL_TOP", "TERMINAL_WIDTH",
                           "TERMINAL_HEIGHT", "TERMINAL_MAXIMIZED"}));
    EXPECT_EQ(keysOf(ini, "AGWPE"),
              QStringList({"HOST_ADDRESS", "HOST_PORT", "LOGIN_ID", "PASSWORD"}));
    EXPECT_TRUE(ini.contains("LATITUDE=\"\"\r\n"));
    EXPECT_TRUE(ini.contains("ONLY_SHOW_ORVEX=TRUE\r\n"));
    EXPECT_TRUE(ini.contains("HOST_ADDRESS=localhost\r\n"));
    // Centred by the size the window is shown at.
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_TRUE(ini.contains("\r\nLEFT=" +
                             QByteArray::number((screen.width() - window.width()) / 2 *
                                                qRound(ScreenTwips::twipsPerPixelX())) +
                             "\r\n"));
    EXPECT_TRUE(ini.contains("\r\nTOP=" +
                             QByteArray::number((screen.height() - window.height()) / 2 *
                                                qRound(ScreenTwips::twipsPerPixelY())) +
                             "\r\n"))
        << "height " << window.height() << ": " << ini.toStdString();

    const QStringList calls = keysOf(ini, "CALLSIGNS");
    ASSERT_EQ(calls.size(), 33);
    EXPECT_EQ(calls.first(), "NODIGI");
    EXPECT_EQ(calls[1], "Q9ZZZ");
    EXPECT_EQ(calls[16], "Q9ZZZ-15");
    EXPECT_EQ(calls[17], "ORVEX");
    EXPECT_EQ(calls.last(), "ORVEX-15");

    ASSERT_EQ(boxes.seen.size(), 2);
    EXPECT_EQ(boxes.seen[0].text,
              "Pass predictions will not be available until you input your latitude "
              "and longitude in 'Station Information'.");
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Information);
    EXPECT_EQ(boxes.seen[0].title, "ORVEX Telemetry Decoder");
    EXPECT_FALSE(boxes.seen[0].hasHelpButton);
    EXPECT_EQ(boxes.seen[1].text, "No Keps found for ORVEX and ISS.");
    EXPECT_TRUE(window.windowTitle().startsWith("ORVEX Telemetry Decoder    V2.42"));
    EXPECT_EQ(window.strAprsDest(), "APZ36Q");
}

TEST(MainWindowStartup, TheHelpNamesTheDataFolderInUse)
{
    ProgramFolder folder;
    ASSERT_TRUE(
        QFile::copy(ORVEX_SOURCE_DIR "/data/orvexdecode.html", folder.file("orvexdecode.html")));
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    ShowHelpContents();
    QTextBrowser *help = nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (auto *browser = qobject_cast<QTextBrowser *>(widget))
            help = browser;
    ASSERT_NE(help, nullptr);
    const QString line = "This run's data folder: " + folder.path() + ".";
    EXPECT_TRUE(help->toPlainText().contains(line)) << help->toPlainText().toStdString();
    // A link within the page, as a click follows it.
    help->setSource(help->source().resolved(QUrl("#files")));
    EXPECT_TRUE(help->toPlainText().contains(line)) << "after a link";
    CloseHelp();
}

TEST(MainWindowStartup, WithoutAFormulaFileTheProgramSaysSoAndEnds)
{
    ProgramFolder folder(false);
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    EXPECT_FALSE(window.Load());
    ASSERT_EQ(boxes.seen.size(), 1);
    EXPECT_EQ(boxes.seen[0].text,
              "An error occurred loading the formulae. The error message is 'File not found: " +
                  folder.file("formula.txt") + "'");
    EXPECT_EQ(boxes.seen[0].icon, QMessageBox::Critical);
}

TEST(MainWindowStartup, ASecondInstanceInTheSameFolderEndsWithItsMessage)
{
    ProgramFolder folder;
    MessageBoxRecorder boxes;
    frmORVEX first(folder.path());
    ASSERT_TRUE(first.Load());
    const qsizetype before = boxes.seen.size();
    {
        frmORVEX second(folder.path());
        EXPECT_FALSE(second.Load());
    }
    ASSERT_EQ(boxes.seen.size(), before + 1);
    EXPECT_EQ(boxes.seen.last().text, "ORVEXDecode is already running. ");
    EXPECT_TRUE(first.isVisible());

    // After the first ends, a new start in the folder runs.
    first.close();
    frmORVEX third(folder.path());
    EXPECT_TRUE(third.Load());
}

TEST(MainWindowStartup, StoredValuesAreReadAndAnOutOfRangePortFallsBackWithoutTouchingTheKey)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.writeIni(
        "[AGWPE]\r\nHOST_PORT=40000\r\n[SETUP]\r\nOBJ_INDEX=1\r\nLATITUDE=3859.50N\r\n"
        "LONGITUDE=07701.23W\r\nONLY_SHOW_ORVEX=no\r\nOBJECT_NAME=old\r\n[SIDES]\r\nA=1\r\n"));
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    EXPECT_EQ(window.intAgwPort(), 8000);
    EXPECT_EQ(window.intObjIndex(), 1);
    EXPECT_FALSE(window.blnOnlyShowOrvex());
    EXPECT_NEAR(window.stationLatitude(), 38.991666, 1e-5);
    EXPECT_NEAR(window.stationLongitude(), -77.0205, 1e-9);
    const QByteArray ini = folder.ini();
    EXPECT_TRUE(ini.contains("HOST_PORT=40000"));
    EXPECT_FALSE(ini.contains("OBJECT_NAME"));
    EXPECT_FALSE(ini.contains("[SIDES]"));
    EXPECT_EQ(boxes.texts(), QStringList({"No Keps found for ORVEX and ISS."}));
}

TEST(MainWindowStartup, ExitRunsTheShutdownAndSavesThePlacement)
{
    ProgramFolder folder;
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    // Changed during the run; written only by the shutdown.
    window.move(window.x() + 37, window.y() + 11);
    window.ChangeSat();
    // The placement is the corner of the window's inside, as it is applied.
    const QByteArray left =
        "\r\nLEFT=" +
        QByteArray::number(window.geometry().x() * qRound(ScreenTwips::twipsPerPixelX())) + "\r\n";
    const QByteArray top =
        "\r\nTOP=" +
        QByteArray::number(window.geometry().y() * qRound(ScreenTwips::twipsPerPixelY())) + "\r\n";
    const QByteArray before = folder.ini();
    ASSERT_TRUE(before.contains("OBJ_INDEX=0\r\n"));
    ASSERT_FALSE(before.contains(left));

    QSignalSpy unloaded(&window, &frmORVEX::unloaded);
    QAction *exit = window.menuBar()->findChild<QAction *>("mnuExit");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), "E&xit");
    exit->trigger();
    EXPECT_EQ(unloaded.count(), 1);
    const QByteArray ini = folder.ini();
    EXPECT_TRUE(ini.contains("OBJ_INDEX=1\r\n"));
    EXPECT_TRUE(ini.contains(left)) << ini.toStdString();
    EXPECT_TRUE(ini.contains(top));
}

// A menu whose items share an access key only moves the highlight between
// them on that key, so the key opens none. Items that are all disabled may
// share one: no key reaches them anyway.
TEST(MainWindowStartup, EveryAccessKeyOfAMenuLeadsToOneItem)
{
    ProgramFolder folder;
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    QList<QPair<QString, QList<QAction *>>> menus{{"the menu bar", window.menuBar()->actions()}};
    for (QAction *title : window.menuBar()->actions())
        if (title->menu())
            menus.append({title->text(), title->menu()->actions()});
    for (const auto &[name, actions] : menus) {
        QMap<int, QStringList> items;
        QMap<int, bool> reachable;
        for (QAction *item : actions) {
            const int key = QKeySequence::mnemonic(item->text())[0].key();
            if (item->isSeparator() || key == Qt::Key_unknown)
                continue;
            items[key] << item->text();
            reachable[key] = reachable[key] || item->isEnabled();
        }
        for (auto each = items.cbegin(); each != items.cend(); ++each)
            EXPECT_TRUE(each.value().size() == 1 || !reachable[each.key()])
                << name.toStdString() << ": "
                << each.value().join(QStringLiteral(", ")).toStdString();
    }
}

TEST(MainWindowStartup, ATemporarySettingsFileLeftByAKillIsRemovedAtStart)
{
    ProgramFolder folder;
    MessageBoxRecorder boxes;
    const QString leftover = folder.iniFile() + ".a1B2c3";
    const QString keep = folder.iniFile() + ".old";
    for (const QString &name : {leftover, keep}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[SETUP]\r\nCALLSIGN=Q9ZZZ\r\n");
    }
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_TRUE(QFile::exists(keep));
}

TEST(MainWindowTelemetry, FramesOfBothSidesLandInTheirColumnsWithTheLabelAsToolTip)
{
    ProgramFolder folder;
    MessageBoxRecorder boxes;
    frmORVEX window(folder.path());
    ASSERT_TRUE(window.Load());
    FlexGrid *current = window.telemetryPanel()->grid(1);
    FlexGrid *power = window.telemetryPanel()->grid(0);

    window.DecodeTelemetry("Q9ZZZ-3", "A1,100,50,25,10,0,0,0000,0");  // side A, mode 0
    window.DecodeTelemetry("ORVEX", "B7,100,50,25,10,0,0,0000,0");    // side B, mode 0
    window.DecodeTelemetry("ORVEX-2", "PW,170,0,125,204,0,0,0011,0"); // side A, mode 3
    window.DecodeTelemetry("orvex", "LOW,1,1,1,1,0,0,0011,0");        // not listed: side A
    window.DecodeTelemetry("ORVEX", "not telemetry");

    EXPECT_EQ(current->TextMatrix(1, 1), "196"); // A: X+ = 1.96 * 100
    EXPECT_EQ(current->TextMatrix(1, 2), "20");  // B: X+ from channel 3 = 1.9992*10
    EXPECT_TRUE(current->TextMatrix(1, 3).startsWith("A1  "));
    EXPECT_TRUE(current->TextMatrix(1, 4).startsWith("B7  "));
    EXPECT_EQ(power->TextMatrix(1, 1), "0.06") << "the later, unlisted frame wins on side A";
    EXPECT_EQ(power->TextMatrix(2, 1), "0.06");
    EXPECT_TRUE(power->TextMatrix(4, 3).startsWith("LOW  "));

    // The tool tip of a value cell is its label; captions and headers have none.
    current->show();
    const QPoint valueCell(current->columnViewportPosition(2) + 5,
                           current->rowViewportPosition(1) + 5);
    QTest::mouseMove(current->viewport(), valueCell);
    EXPECT_TRUE(current->ToolTipText().startsWith("B7  "));
    const QPoint caption(5, current->rowViewportPosition(1) + 5);
    QTest::mouseMove(current->viewport(), caption);
    EXPECT_TRUE(current->ToolTipText().isEmpty());
}
