// SPDX-License-Identifier: GPL-2.0-or-later
#include "MessageBoxRecorder.h"
#include "core/SatStatusPanel.h"
#include "core/frmORVEX.h"
#include "map/frmMap.h"
#include "orbit/clsSats.h"
#include "orbit/frmPass.h"
#include "platform/DateTime.h"
#include "terminal/frmTerm.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// ORVEX passes over 38.99 N 77.02 W on 2026-12-08 from 03:16:32 to 03:28:48 UTC.
class MainWindowStatus : public ::testing::Test
{
protected:
    void start(const QTime &utc)
    {
        orvex::Clock::setFixed(QDateTime(QDate(2026, 12, 8), utc, Qt::UTC));
        QFile::copy(ORVEX_SOURCE_DIR "/data/formula.txt", dir.filePath("formula.txt"));
        QDir(dir.path()).mkdir("Keps");
        QFile::copy(ORVEX_SOURCE_DIR "/tests/data/demo-elements.txt",
                    dir.filePath("Keps/demo.txt"));
        QFile ini(dir.filePath(
            QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + ".INI"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[AGWPE]\r\nHOST_ADDRESS=127.0.0.1\r\nHOST_PORT=1\r\n"
                  "[SETUP]\r\nLATITUDE=3859.50N\r\nLONGITUDE=07701.23W\r\n");
        ini.close();
        window = std::make_unique<frmORVEX>(dir.path());
        ASSERT_TRUE(window->Load());
    }
    void TearDown() override
    {
        window.reset();
        orvex::Clock::setSource({});
    }
    SatStatusPanel *panel() const { return window->statusPanel(); }

    // The demo's element file (start() leaves it), its ORVEX set named `name`.
    void nameOrvex(const QString &name)
    {
        QDir(dir.path()).mkdir("Keps");
        QFile sets(ORVEX_SOURCE_DIR "/tests/data/demo-elements.txt");
        ASSERT_TRUE(sets.open(QIODevice::ReadOnly));
        QByteArray text = sets.readAll();
        ASSERT_TRUE(text.startsWith("ORVEX\n"));
        QFile named(dir.filePath("Keps/demo.txt"));
        ASSERT_TRUE(named.open(QIODevice::WriteOnly));
        named.write(name.toLatin1() + text.mid(5));
    }
    // The name is the panel's and the pass list's, as text, and widens neither
    // window past the screen.
    void expectShownAsTextOnTheScreen(const QString &name)
    {
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        EXPECT_EQ(panel()->title(), "ORVEX (" + name + ") Current Location");
        EXPECT_TRUE(screen.contains(window->frameGeometry()))
            << window->frameGeometry().width() << " px wide";
        EXPECT_LE(window->minimumSizeHint().width(), screen.width()) << "what its layout asks";
        EXPECT_LT(panel()->fontMetrics().horizontalAdvance(panel()->shownTitle()),
                  panel()->width());
        QRect listFrame;
        QString listNote;
        QTimer::singleShot(0, [&] {
            if (auto *list = qobject_cast<frmPass *>(QApplication::activeModalWidget())) {
                listFrame = list->frameGeometry();
                listNote = list->elementsLabel()->text();
                list->reject();
            }
        });
        panel()->cmdPassInfo->click();
        EXPECT_TRUE(listNote.startsWith(name + ", 26931, epoch ")) << listNote.toStdString();
        EXPECT_TRUE(screen.contains(listFrame)) << listFrame.width() << " px wide";
    }

    QTemporaryDir dir;
    MessageBoxRecorder boxes;
    std::unique_ptr<frmORVEX> window;
};

} // namespace

TEST_F(MainWindowStatus, BeforeThePassTheNextStartIsDue)
{
    start(QTime(2, 0));
    EXPECT_TRUE(boxes.seen.isEmpty()) << "position known and both element sets found";
    EXPECT_EQ(panel()->title(), "ORVEX Current Location");
    EXPECT_EQ(panel()->labDueCap->text(), "Due (UTC)");
    EXPECT_EQ(panel()->labDue->text(), "03:16:32");
    EXPECT_EQ(panel()->labAz->text(), "-");
    EXPECT_FALSE(panel()->hasInViewColour());
    EXPECT_TRUE(panel()->cmdPassInfo->isEnabled());
    EXPECT_TRUE(panel()->labLat->text().endsWith('N') || panel()->labLat->text().endsWith('S'));
}

TEST_F(MainWindowStatus, DuringThePassItShowsNowWithAzimuthAndElevation)
{
    start(QTime(3, 22));
    EXPECT_EQ(panel()->labDue->text(), "Now!");
    bool ok = false;
    const int elevation = panel()->labEl->text().toInt(&ok);
    EXPECT_TRUE(ok);
    EXPECT_GT(elevation, 0);
    EXPECT_LE(elevation, 54);
    EXPECT_TRUE(panel()->hasInViewColour());
}

TEST_F(MainWindowStatus, WithoutAnElementSetNoPositionIsMadeUpAndPredictionsAreOff)
{
    start(QTime(2, 0));
    QTemporaryDir empty;
    ASSERT_TRUE(window->cSats()->setStrKeplerPath(empty.path()));
    window->ChangeSat();
    window->ChangeSat();
    EXPECT_EQ(panel()->labLat->text(), "");
    EXPECT_EQ(panel()->labLong->text(), "");
    EXPECT_EQ(panel()->labDue->text(), "");
    EXPECT_FALSE(panel()->cmdPassInfo->isEnabled());
    EXPECT_TRUE(panel()->toolTip().contains("No position of ")) << panel()->toolTip().toStdString();
}

TEST_F(MainWindowStatus, ChangeSatSwitchesAndSwitchesBack)
{
    start(QTime(2, 0));
    window->ChangeSat();
    EXPECT_EQ(window->intObjIndex(), 1);
    EXPECT_EQ(panel()->title(), "ISS Current Location") << "ISS (ZARYA) begins with ISS";
    EXPECT_EQ(window->strObject(), "ISS (ZARYA)");
    window->ChangeSat();
    EXPECT_EQ(window->intObjIndex(), 0);
    EXPECT_EQ(panel()->labDue->text(), "03:16:32");
}

TEST_F(MainWindowStatus, ThePassListStartsWithItsNoteAndHeader)
{
    start(QTime(2, 0));
    const QString list = window->cSats()->strPassInfo(window->strObject());
    const QStringList lines = list.split("\r\n");
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "'Start Time' is UTC.");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "      Start Time       Duration  Start Az  End Az  Max Elev");
    EXPECT_EQ(lines[3], "      ----------       --------  --------  ------  --------");
    EXPECT_EQ(lines[4].left(30), " 2026-Dec-08 03:16:32  00:12:1");
    EXPECT_EQ(lines[4].size(), 56);
}

TEST_F(MainWindowStatus, MenuOpensOneMapAndRestoresItAndShowsTheHiddenTerminal)
{
    start(QTime(2, 0));
    QAction *mapItem = window->findChild<QAction *>("mnuMap");
    QAction *terminalItem = window->findChild<QAction *>("mnuTerminal");
    ASSERT_TRUE(mapItem && terminalItem);

    ASSERT_NE(window->terminal(), nullptr);
    EXPECT_FALSE(window->terminal()->isVisible()) << "loaded hidden at start-up";
    terminalItem->trigger();
    EXPECT_TRUE(window->terminal()->isVisible());

    mapItem->trigger();
    QPointer<frmMap> first = window->map();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    first->showMinimized();
    mapItem->trigger();
    EXPECT_EQ(window->map(), first.data()) << "no second map";
    EXPECT_FALSE(first->isMinimized());

    window->close();
    EXPECT_EQ(window->map(), nullptr);
    EXPECT_EQ(window->terminal(), nullptr);
}

TEST_F(MainWindowStatus, SkyViewAndUploadOpenOverTheMainWindowAndCloseOnEsc)
{
    start(QTime(2, 0));
    window->move(150, 90);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    for (const char *item : {"skyViewAction", "sidsUploadAction"}) {
        QAction *action = window->findChild<QAction *>(item);
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
        QWidget *opened = QApplication::activeWindow();
        ASSERT_TRUE(QTest::qWaitFor([&] {
            opened = QApplication::activeWindow();
            return opened && opened != window.get();
        })) << item
            << " did not come to the top";
        const QPoint offset = opened->geometry().center() - window->geometry().center();
        EXPECT_LE(offset.manhattanLength(), 2) << item << " opened away from the main window";
        QTest::keyClick(opened, Qt::Key_Escape);
        EXPECT_FALSE(opened->isVisible()) << item << " stayed open on Esc";
    }
}

TEST_F(MainWindowStatus, ADownloadedSetIsUsedBeforeTheDemosAndNamedWithItsAge)
{
    // The demo's sets are a day or two newer than the downloaded ones, and
    // its file comes first in the folder.
    QDir(dir.path()).mkdir("Keps");
    QFile demo(dir.filePath("Keps/demo.txt"));
    ASSERT_TRUE(demo.open(QIODevice::WriteOnly));
    QFile demoSets(ORVEX_SOURCE_DIR "/tests/data/demo-elements.txt");
    ASSERT_TRUE(demoSets.open(QIODevice::ReadOnly));
    demo.write("# DEMO ELEMENTS: invented\n" + demoSets.readAll());
    demo.close();
    QFile::copy(ORVEX_SOURCE_DIR "/tests/data/orbit/station.txt",
                dir.filePath("Keps/stations.txt"));
    start(QTime(2, 0));

    EXPECT_EQ(panel()->title(), "ORVEX (ORVEX-1) Current Location");
    EXPECT_TRUE(panel()->toolTip().startsWith("ORVEX-1, 26931, epoch 2026-12-05 "))
        << panel()->toolTip().toStdString();
    EXPECT_TRUE(panel()->toolTip().endsWith(", Keps/stations.txt"));
    EXPECT_FALSE(panel()->hasElementWarning());
    window->ChangeSat();
    EXPECT_EQ(panel()->toolTip(), "ISS (ZARYA), 25544, epoch 2026-12-06 12:26 UTC, 1.6 days old, "
                                  "Keps/stations.txt");

    // Ten days on, the panel warns, and so does the pass list's header.
    orvex::Clock::setFixed(QDateTime(QDate(2026, 12, 16), QTime(2, 0), Qt::UTC));
    window->ChangeSat();
    window->ChangeSat();
    EXPECT_TRUE(panel()->hasElementWarning());
    EXPECT_TRUE(panel()->toolTip().endsWith("more than 7 days old: download fresh Keps."));
    QString header;
    QTimer::singleShot(0, [&header] {
        if (auto *list = qobject_cast<frmPass *>(QApplication::activeModalWidget())) {
            header = list->elementsLabel()->text();
            list->reject();
        }
    });
    panel()->cmdPassInfo->click();
    EXPECT_TRUE(header.startsWith("ISS (ZARYA), 25544, epoch 2026-12-06 12:26 UTC, 9.6 days old"))
        << header.toStdString();
    EXPECT_TRUE(header.endsWith("more than 7 days old: download fresh Keps."));
}

TEST_F(MainWindowStatus, AnElementSetNamedLikeHtmlIsShownAsItsText)
{
    const QString name = "<table width=4000 bgcolor=red><tr><td>ORVEX</td></tr></table>";
    nameOrvex(name);
    start(QTime(2, 0));
    expectShownAsTextOnTheScreen(name);
    EXPECT_TRUE(panel()->toolTip().startsWith("<p>&lt;table width=4000"))
        << panel()->toolTip().toStdString();
}

TEST_F(MainWindowStatus, AnElementSetNameOf300LettersWidensNoWindow)
{
    const QString name = "ORVEX-" + QString(294, 'X');
    nameOrvex(name);
    start(QTime(2, 0));
    expectShownAsTextOnTheScreen(name);
    EXPECT_TRUE(panel()->shownTitle().endsWith(QStringLiteral("…")));
}
