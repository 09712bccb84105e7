// SPDX-License-Identifier: GPL-2.0-or-later
// The map window's behaviour: loading, the Speed menu and its keys, the
// time box, the change of satellite, failures, and unloading.
#include "MapTestHost.h"
#include "map/MapClock.h"
#include "map/MapTimeBox.h"
#include "map/frmMap.h"
#include "platform/DateTime.h"

#include "support/Wait.h"
#include <QAction>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QDateTime utc(int hour, int minute, int second)
{
    return QDateTime(QDate(2008, 9, 20), QTime(hour, minute, second), QTimeZone::utc());
}

class MapWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.installed);
        orvex::Clock::setFixed(utc(12, 10, 27));
    }
    void TearDown() override
    {
        orvex::Clock::setSource({});
        orvex::Clock::setLocalZone(QTimeZone());
    }

    std::unique_ptr<frmMap> open()
    {
        auto map = std::make_unique<frmMap>(host);
        host.map = map.get();
        return map;
    }
    static QAction *item(frmMap &map, const char *name)
    {
        QAction *action = map.mnuSpeed()->findChild<QAction *>(QString::fromLatin1(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }
    // One tick of the refresh timer, as the event loop would deliver it.
    static void tick(frmMap &map)
    {
        ASSERT_TRUE(map.refreshTimer()->isActive());
        ASSERT_TRUE(QMetaObject::invokeMethod(map.refreshTimer(), "timeout"));
    }
    static QStringList ticked(frmMap &map)
    {
        QStringList names;
        for (const char *name : {"mnuSpeedNormal", "mnuSpeedFast", "mnuSpeedVeryFast",
                                 "mnuSpeedBackwards", "mnuSpeedPause"})
            if (item(map, name)->isChecked())
                names << QString::fromLatin1(name).mid(8);
        return names;
    }

    MapTestHost host;
};

} // namespace

TEST_F(MapWindow, OpensInRealTimeShowingThePresentTime)
{
    const auto map = open();
    EXPECT_EQ(map->strMapObject(), "ISS (ZARYA)");
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:10:27");
    EXPECT_EQ(ticked(*map), QStringList({"Normal"}));
    EXPECT_TRUE(map->refreshTimer()->isActive());
    EXPECT_EQ(map->refreshTimer()->interval(), 15000);
    EXPECT_EQ(map->mnuSpeed()->title(), "&Speed");

    orvex::Clock::setFixed(utc(12, 10, 42));
    tick(*map);
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:10:42");
}

TEST_F(MapWindow, WithoutAReadableWorldPictureTheMapIsPlainOceanAndTheCaptionSaysSo)
{
    const auto map = open();
    EXPECT_FALSE(map->pictureRead());
    EXPECT_EQ(map->size(), QSize(720, 360));
    EXPECT_EQ(QColor(map->picture().pixel(1, 1)), frmMap::oceanColour());
    EXPECT_TRUE(map->windowTitle().startsWith("Current Location of ISS Right-click for menu"));
    EXPECT_TRUE(map->windowTitle().contains("could not be read"));

    // A file that is not a picture counts as none.
    QFile broken(host.folder.filePath("world.gif"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("GIF89a this is not a picture");
    broken.close();
    const frmMap again(host);
    EXPECT_FALSE(again.pictureRead());
    EXPECT_EQ(again.picture().size(), QSize(720, 360));
}

TEST_F(MapWindow, InLocalModeTheTimeBoxShowsLocalTime)
{
    orvex::Clock::setLocalZone(QTimeZone(2 * 3600));
    host.sats.setBlnLocalTime(true);
    const auto map = open();
    EXPECT_EQ(map->timeText(), "2008-Sep-20 14:10:27");
}

// The menu entries in the orders of the clock's edge cases, with the timer,
// the ticks and the time box after each step.
TEST_F(MapWindow, SpeedEntriesSetTheTimerTheTicksAndTheTimeShown)
{
    const auto map = open();
    item(*map, "mnuSpeedBackwards")->trigger();
    EXPECT_EQ(ticked(*map), QStringList({"Normal", "Backwards"}));
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:10:27") << "no redraw yet";
    tick(*map);
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:11:00") << "the next whole minute";
    tick(*map);
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:10:00");

    item(*map, "mnuSpeedPause")->trigger();
    EXPECT_FALSE(map->refreshTimer()->isActive());
    item(*map, "mnuSpeedVeryFast")->trigger();
    EXPECT_TRUE(map->refreshTimer()->isActive()) << "restarted although Pause is ticked";
    EXPECT_EQ(map->refreshTimer()->interval(), 250);
    EXPECT_EQ(ticked(*map), QStringList({"VeryFast", "Backwards", "Pause"}));
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:09:00") << "drawn at once";
    item(*map, "mnuSpeedPause")->trigger();
    EXPECT_TRUE(map->refreshTimer()->isActive()) << "unticking Pause leaves it running";
    tick(*map);
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:07:00");

    item(*map, "mnuSpeedBackwards")->trigger();
    item(*map, "mnuSpeedFast")->trigger();
    EXPECT_EQ(map->refreshTimer()->interval(), 500);
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:05:00");
    item(*map, "mnuSpeedNormal")->trigger();
    EXPECT_EQ(ticked(*map), QStringList({"Normal"}));
    EXPECT_EQ(map->refreshTimer()->interval(), 15000);
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:06:00") << "still simulated, a minute a tick";

    item(*map, "mnuSpeedReset")->trigger();
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:10:27");
    EXPECT_EQ(map->mapClock().datMapClock(), 0);
    EXPECT_TRUE(map->refreshTimer()->isActive());
}

TEST_F(MapWindow, TheTimerItselfDrivesFastMode)
{
    const auto map = open();
    item(*map, "mnuSpeedFast")->trigger();
    QSignalSpy ticks(map->refreshTimer(), &QTimer::timeout);
    ASSERT_TRUE(ticks.wait(10000));
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:11:00");
}

TEST_F(MapWindow, CtrlKeysChooseTheSpeedEntries)
{
    const auto map = open();
    QTest::keyClick(map.get(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(ticked(*map), QStringList({"Fast"}));
    QTest::keyClick(map.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ticked(*map), QStringList({"VeryFast"}));
    QTest::keyClick(map.get(), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(map.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(ticked(*map), QStringList({"VeryFast", "Backwards", "Pause"}));
    QTest::keyClick(map.get(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(ticked(*map), QStringList({"Normal", "Backwards", "Pause"}));
    QTest::keyClick(map.get(), Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(ticked(*map), QStringList({"Normal"}));
    QTest::keyClick(map.get(), Qt::Key_N);
    QTest::keyClick(map.get(), Qt::Key_F);
    EXPECT_EQ(ticked(*map), QStringList({"Normal"})) << "letters without Ctrl do nothing";
    QTest::keyClick(map.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(host.changeSatCalls, 1);
}

TEST_F(MapWindow, ChangeSatSwitchesTheSatelliteAndReturnsToRealTime)
{
    const auto map = open();
    item(*map, "mnuSpeedVeryFast")->trigger();
    item(*map, "mnuSpeedBackwards")->trigger();
    item(*map, "mnuChangeSat")->trigger();
    EXPECT_EQ(host.changeSatCalls, 1);
    EXPECT_EQ(map->strMapObject(), "ORVEX");
    EXPECT_TRUE(map->windowTitle().startsWith("Current Location of ORVEX Right-click for menu"));
    EXPECT_EQ(ticked(*map), QStringList({"Normal"}));
    EXPECT_EQ(map->mapClock().datMapClock(), 0);
    EXPECT_EQ(map->refreshTimer()->interval(), 15000);
    // ORVEX has no element set here: the box says so.
    EXPECT_TRUE(map->timeText().contains("No position of ORVEX")) << map->timeText().toStdString();

    host.ChangeSat();
    EXPECT_EQ(map->strMapObject(), "ISS (ZARYA)");
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:10:27");
}

TEST_F(MapWindow, NewElementSetsReachAnOpenMapWithoutResettingItsClock)
{
    host.index = 0;
    const auto map = open();
    item(*map, "mnuSpeedFast")->trigger();
    EXPECT_TRUE(map->timeText().contains("No position of ORVEX")) << map->timeText().toStdString();

    // A download brought the satellite's first element set, under its own name.
    host.names[0] = IssElements::name();
    map->ElementsChanged();
    EXPECT_EQ(map->strMapObject(), "ISS (ZARYA)");
    EXPECT_FALSE(map->timeText().contains("No position")) << map->timeText().toStdString();
    EXPECT_EQ(ticked(*map), QStringList({"Fast"}));
}

TEST_F(MapWindow, AnOrbitFailureKeepsThePictureShowsTheReasonAndTheTimerGoesOn)
{
    const auto map = open();
    item(*map, "mnuSpeedFast")->trigger();
    const QImage before = map->picture();
    const orvex::Date clockBefore = map->mapClock().datMapClock();

    QTemporaryDir empty;
    ASSERT_TRUE(host.sats.setStrKeplerPath(empty.path()));
    tick(*map);
    EXPECT_EQ(map->picture(), before);
    EXPECT_EQ(
        map->timeText(),
        "2008-Sep-20 12:11:00  No position of ISS (ZARYA): no element set named \"ISS (ZARYA)\"");
    EXPECT_TRUE(map->refreshTimer()->isActive());
    EXPECT_EQ(map->mapClock().datMapClock(), clockBefore) << "the failed picture is tried again";

    ASSERT_TRUE(host.sats.setStrKeplerPath(host.folder.filePath("Keps")));
    tick(*map);
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:11:00");
    EXPECT_NE(map->picture(), before);
}

TEST_F(MapWindow, WithoutAnOrbitObjectTheMapOpensAndSaysWhy)
{
    host.withoutOrbits = true;
    const auto map = open();
    EXPECT_EQ(map->timeText(), "2008-Sep-20 12:10:27  No position of ISS (ZARYA): no orbit data");
    EXPECT_EQ(QColor(map->picture().pixel(360, 180)), frmMap::oceanColour());
    EXPECT_TRUE(map->refreshTimer()->isActive());
}

TEST_F(MapWindow, RightButtonReleasedOverTheMapPopsUpTheSpeedMenu)
{
    const auto map = open();
    map->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(map.get()));
    QTest::mouseClick(map->mapPicture(), Qt::RightButton, {}, QPoint(300, 100));
    ASSERT_TRUE(orvex::test::waitUntil([&] { return map->mnuSpeed()->isVisible(); }, 5000));
    const QStringList captions = [&] {
        QStringList list;
        for (QAction *action : map->mnuSpeed()->actions())
            list << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return list;
    }();
    EXPECT_EQ(captions, QStringList({"&Normal\tCtrl+N", "&Fast\tCtrl+F", "&Very Fast\tCtrl+V",
                                     "&Backwards\tCtrl+B", "&Pause\tCtrl+P", "-", "&Reset\tCtrl+R",
                                     "Change &Sat\tCtrl+S"}));
    map->mnuSpeed()->close();

    QTest::mouseClick(map->mapPicture(), Qt::LeftButton, {}, QPoint(300, 100));
    EXPECT_FALSE(map->mnuSpeed()->isVisible());
}

TEST_F(MapWindow, TheTimeBoxSitsBottomLeftAndFollowsTheMouseWhileDragged)
{
    const auto map = open();
    MapTimeBox *box = map->timeBox();
    EXPECT_EQ(box->x(), 2);
    EXPECT_EQ(box->y() + box->height(), 360 - 2);
    EXPECT_EQ(box->width(), box->fontMetrics().horizontalAdvance(map->timeText()) + 6);

    const auto send = [box](QEvent::Type type, QPoint local, Qt::MouseButton button,
                            Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(local), QPointF(box->mapToGlobal(local)), button, held,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(box, &event);
    };
    const QPoint start = box->pos();
    send(QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, QPoint(105, -95), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(box->pos(), start + QPoint(100, -100));
    send(QEvent::MouseMove, QPoint(5 + 2000, 5), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(box->x() + box->width(), 720) << "it stays on the map";
    send(QEvent::MouseButtonRelease, QPoint(5, 5), Qt::LeftButton, Qt::NoButton);
    const QPoint dropped = box->pos();
    send(QEvent::MouseMove, QPoint(50, 50), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(box->pos(), dropped) << "without the button it stays put";

    tick(*map);
    EXPECT_EQ(box->pos(), dropped) << "a new time does not move it back";
}

TEST_F(MapWindow, PositionIsReadAtLoadWithDefaultsWrittenAndSavedAtUnload)
{
    {
        const auto map = open();
        EXPECT_NE(host.ini("MAP_LEFT"), "(missing)");
        EXPECT_NE(host.ini("MAP_TOP"), "(missing)");
    }
    host.settings->SaveIniString("SETUP", "MAP_LEFT", "1500");
    host.settings->SaveIniString("SETUP", "MAP_TOP", "3000");
    const auto map = open();
    const int tppX = 1440 / map->logicalDpiX();
    const int tppY = 1440 / map->logicalDpiY();
    EXPECT_EQ(map->pos(), QPoint(1500 / tppX, 3000 / tppY));

    map->move(40, 50);
    QStringList atUnloading;
    QObject::connect(map.get(), &frmMap::ImUnloading,
                     [&] { atUnloading << host.ini("MAP_LEFT") << host.ini("MAP_TOP"); });
    map->close();
    EXPECT_EQ(atUnloading, QStringList({QString::number(40 * tppX), QString::number(50 * tppY)}))
        << "saved before ImUnloading";
    EXPECT_FALSE(map->refreshTimer()->isActive());
    map->close();
    EXPECT_EQ(atUnloading.size(), 2) << "unloads once";
}

TEST_F(MapWindow, APlacementStoredOnALargerScreenOpensWhollyOnThisOne)
{
    // 70 by 128 pixels of the map would be on a screen of 1024 x 768.
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen->availableGeometry();
    const int tppX = qRound(1440 / screen->logicalDotsPerInchX());
    const int tppY = qRound(1440 / screen->logicalDotsPerInchY());
    host.settings->SaveIniString("SETUP", "MAP_LEFT", QString::number((area.right() - 69) * tppX));
    host.settings->SaveIniString("SETUP", "MAP_TOP", QString::number((area.bottom() - 127) * tppY));
    const auto map = open();
    EXPECT_TRUE(area.contains(map->frameGeometry()))
        << map->frameGeometry().x() << "," << map->frameGeometry().y();
}

TEST_F(MapWindow, ClosingWhileMinimisedKeepsTheStoredPosition)
{
    host.settings->SaveIniString("SETUP", "MAP_LEFT", "1500");
    host.settings->SaveIniString("SETUP", "MAP_TOP", "3000");
    const auto map = open();
    QSignalSpy unloading(map.get(), &frmMap::ImUnloading);
    map->move(300, 300);
    map->showMinimized();
    ASSERT_TRUE(map->isMinimized());
    map->close();
    EXPECT_EQ(unloading.count(), 1);
    EXPECT_EQ(host.ini("MAP_LEFT"), "1500");
    EXPECT_EQ(host.ini("MAP_TOP"), "3000");
}

TEST(MapTimeBoxText, ALongTextIsCutToTheMapAndWholeInTheTip)
{
    QWidget mapArea;
    mapArea.resize(720, 360);
    MapTimeBox box(&mapArea);
    const QString failure = "2008-Sep-20 12:11:00  No position of ORVEX-" + QString(294, 'X') +
                            ": no element set named \"ORVEX-X...\"";
    box.setText(failure);
    EXPECT_LE(box.width(), mapArea.width());
    EXPECT_TRUE(box.shownText().endsWith(QStringLiteral("…")));
    EXPECT_EQ(box.toolTip(), failure);
    box.setText("2008-Sep-20 12:11:00");
    EXPECT_EQ(box.shownText(), "2008-Sep-20 12:11:00");
    EXPECT_TRUE(box.toolTip().isEmpty());
}
