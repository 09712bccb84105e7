// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/clsWindowPos.h"
#include "platform/ScreenTwips.h"
#include "shared/NumberText.h"

#include <QApplication>
#include <QFile>
#include <QResizeEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "QStringPrinter.h"

#include "support/Wait.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// A window that keeps the owner's side of the placement protocol.
class OwnerWindow : public QWidget
{
public:
    OwnerWindow(const clsIni &ini, bool sizable)
    {
        if (sizable)
            resize(400, 300);
        else
            setFixedSize(300, 200);
        position = std::make_unique<clsWindowPos>();
        position->Init(this, QStringLiteral("TERMINAL"), &ini);
    }
    // The unload: the object ends while the window still exists.
    void unload() { position.reset(); }

    std::unique_ptr<clsWindowPos> position;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (position && !isMinimized()) {
            position->blnBeenInResize = true;
            position->RecordPosition();
        }
    }
};

QString twipsX(int pixels)
{
    return orvex::generalNumber(ScreenTwips::toTwipsX(pixels));
}

QString twipsY(int pixels)
{
    return orvex::generalNumber(ScreenTwips::toTwipsY(pixels));
}

class clsWindowPosTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString key(const char *word) { return ini.GetIniString("SETUP", word, "<missing>"); }
    void store(const char *word, const QString &value) { ini.SaveIniString("SETUP", word, value); }
    void storeRect(int x, int y, int w, int h)
    {
        store("TERMINAL_LEFT", twipsX(x));
        store("TERMINAL_TOP", twipsY(y));
        store("TERMINAL_WIDTH", twipsX(w));
        store("TERMINAL_HEIGHT", twipsY(h));
    }
    void expectStoredRect(int x, int y, int w, int h)
    {
        EXPECT_EQ(key("TERMINAL_LEFT"), twipsX(x));
        EXPECT_EQ(key("TERMINAL_TOP"), twipsY(y));
        EXPECT_EQ(key("TERMINAL_WIDTH"), twipsX(w));
        EXPECT_EQ(key("TERMINAL_HEIGHT"), twipsY(h));
    }
    static QSize screenSize() { return QGuiApplication::primaryScreen()->geometry().size(); }

    QTemporaryDir dir;
    clsIni ini{dir.filePath(QStringLiteral("orvexdecode.INI"))};
};

} // namespace

TEST_F(clsWindowPosTest, TwipsFollowTheLogicalDpi)
{
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchX();
    EXPECT_DOUBLE_EQ(ScreenTwips::twipsPerPixelX(), 1440.0 / dpi);
    EXPECT_EQ(ScreenTwips::toPixelsX(ScreenTwips::toTwipsX(123)), 123);
    EXPECT_DOUBLE_EQ(ScreenTwips::screenWidth(), ScreenTwips::toTwipsX(screenSize().width()));
}

TEST_F(clsWindowPosTest, FirstOpeningIsCentredAndWritesTheCentredPlacementAtOnce)
{
    OwnerWindow window(ini, true);
    const QPoint centred((screenSize().width() - 400) / 2, (screenSize().height() - 300) / 2);
    EXPECT_EQ(window.pos(), centred);
    expectStoredRect(centred.x(), centred.y(), 400, 300);
    EXPECT_EQ(key("TERMINAL_MAXIMIZED"), "FALSE");
}

TEST_F(clsWindowPosTest, StoredPlacementIsRestoredAndMovesAreSavedAtTheEnd)
{
    storeRect(100, 50, 300, 200);
    store("TERMINAL_MAXIMIZED", "FALSE");
    OwnerWindow window(ini, true);
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    EXPECT_EQ(window.size(), QSize(300, 200));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.move(120, 70);
    window.resize(350, 250);
    window.unload();
    expectStoredRect(120, 70, 350, 250);
    EXPECT_EQ(key("TERMINAL_MAXIMIZED"), "FALSE");
}

TEST_F(clsWindowPosTest, ClosingMaximisedKeepsTheNormalRectangleAndReopensMaximised)
{
    storeRect(100, 50, 300, 200);
    {
        OwnerWindow window(ini, true);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.showMaximized();
        ASSERT_TRUE(orvex::test::waitUntil([&] { return window.width() > 300; }));
        window.unload();
        expectStoredRect(100, 50, 300, 200);
        EXPECT_EQ(key("TERMINAL_MAXIMIZED"), "TRUE");
    }
    OwnerWindow again(ini, true);
    EXPECT_TRUE(again.isMaximized());
    again.unload();
    EXPECT_EQ(key("TERMINAL_MAXIMIZED"), "TRUE");
    expectStoredRect(100, 50, 300, 200);
}

TEST_F(clsWindowPosTest, MaximiseThenRestoreThenCloseIsNotMaximised)
{
    storeRect(100, 50, 300, 200);
    OwnerWindow window(ini, true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.showMaximized();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return window.width() > 300; }));
    window.showNormal();
    ASSERT_TRUE(orvex::test::waitUntil([&] { return !window.isMaximized(); }));
    ASSERT_TRUE(orvex::test::waitUntil([&] { return window.size() == QSize(300, 200); }));
    window.unload();
    EXPECT_EQ(key("TERMINAL_MAXIMIZED"), "FALSE");
    expectStoredRect(100, 50, 300, 200);
}

TEST_F(clsWindowPosTest, ClosingMinimisedKeepsTheLastNormalPlacementAndState)
{
    for (const bool maximisedFirst : {false, true}) {
        storeRect(100, 50, 300, 200);
        store("TERMINAL_MAXIMIZED", "FALSE");
        OwnerWindow window(ini, true);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.resize(320, 220);
        if (maximisedFirst) {
            window.showMaximized();
            ASSERT_TRUE(orvex::test::waitUntil([&] { return window.width() > 320; }));
        }
        window.showMinimized();
        ASSERT_TRUE(orvex::test::waitUntil([&] { return window.isMinimized(); }));
        window.unload();
        expectStoredRect(100, 50, 320, 220);
        EXPECT_EQ(key("TERMINAL_MAXIMIZED"), maximisedFirst ? "TRUE" : "FALSE");
    }
}

TEST_F(clsWindowPosTest, FixedBorderWindowKeepsOnlyLeftAndTop)
{
    {
        OwnerWindow window(ini, false);
        window.unload();
    }
    EXPECT_NE(key("TERMINAL_LEFT"), "<missing>");
    EXPECT_NE(key("TERMINAL_TOP"), "<missing>");
    const auto keys = ini.LoadAllKeysInSection("SETUP");
    EXPECT_EQ(keys[0], (QStringList{"", "TERMINAL_LEFT", "TERMINAL_TOP"}));

    store("TERMINAL_LEFT", twipsX(10));
    store("TERMINAL_TOP", twipsY(20));
    store("TERMINAL_WIDTH", twipsX(600)); // ignored for a fixed border
    OwnerWindow window(ini, false);
    EXPECT_EQ(window.pos(), QPoint(10, 20));
    EXPECT_EQ(window.size(), QSize(300, 200));
}

TEST_F(clsWindowPosTest, TextThatIsNoNumberPlacesTheEdgeAtZero)
{
    storeRect(100, 50, 300, 200);
    store("TERMINAL_LEFT", "left");
    OwnerWindow window(ini, true);
    EXPECT_EQ(window.pos(), QPoint(0, 50));
}

TEST_F(clsWindowPosTest, PlacementOffEveryScreenIsCentredInstead)
{
    storeRect(-100000, -100000, 300, 200);
    OwnerWindow window(ini, true);
    EXPECT_EQ(window.size(), QSize(300, 200));
    EXPECT_EQ(window.pos(),
              QPoint((screenSize().width() - 300) / 2, (screenSize().height() - 200) / 2));
    window.unload();
    EXPECT_EQ(key("TERMINAL_LEFT"), twipsX((screenSize().width() - 300) / 2));
}

TEST_F(clsWindowPosTest, PlacementPartlyOffTheScreenIsBroughtWhollyOntoIt)
{
    // Stored on a larger screen.
    storeRect(900, 700, 300, 200);
    OwnerWindow placed(ini, true);
    EXPECT_EQ(placed.geometry(), QRect(724, 568, 300, 200));
    storeRect(-50, 10, 1500, 1000);
    OwnerWindow larger(ini, true);
    EXPECT_EQ(larger.geometry(), QRect(QPoint(0, 0), screenSize()));
}

TEST_F(clsWindowPosTest, SizeNoWindowCanHaveKeepsTheDesignedSize)
{
    storeRect(100, 50, 300, 200);
    store("TERMINAL_WIDTH", "-4500");
    OwnerWindow window(ini, true);
    EXPECT_EQ(window.size(), QSize(400, 300));
    EXPECT_EQ(window.pos(), QPoint(100, 50));
    window.unload();
    EXPECT_EQ(key("TERMINAL_WIDTH"), twipsX(400));
}
