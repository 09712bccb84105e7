// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ScreenFit.h"

#include "support/Wait.h"

#include <QWidget>
#include <gtest/gtest.h>

using orvex::fitFramedInArea;

namespace {

// A frame as openbox draws it: a title bar above, a grip below.
const QMargins openboxFrame(1, 21, 1, 5);
// The help window's own place.
const QRect helpPlace(256, 256, 512, 512);

} // namespace

TEST(ScreenFit, AWindowWhoseFrameFitsStaysWhereItWasMeantToBe)
{
    EXPECT_EQ(fitFramedInArea(helpPlace, openboxFrame, QRect(0, 0, 1280, 1024)), helpPlace);
    // Exactly touching the edges is on the screen.
    EXPECT_EQ(fitFramedInArea(QRect(1, 21, 1022, 742), openboxFrame, QRect(0, 0, 1024, 768)),
              QRect(1, 21, 1022, 742));
}

TEST(ScreenFit, AFrameReachingPastAnEdgeIsMovedBackByWhatItTakes)
{
    // At 1024x768 the help's grip would lie below the screen: 5 px higher.
    EXPECT_EQ(fitFramedInArea(helpPlace, openboxFrame, QRect(0, 0, 1024, 768)),
              QRect(256, 251, 512, 512));
    // A panel at the top and the left of the free area.
    EXPECT_EQ(fitFramedInArea(QRect(-40, 0, 300, 200), openboxFrame, QRect(60, 30, 900, 700)),
              QRect(61, 51, 300, 200));
}

TEST(ScreenFit, AFrameLargerThanTheAreaIsMadeSmallerToFit)
{
    EXPECT_EQ(fitFramedInArea(helpPlace, openboxFrame, QRect(0, 0, 400, 300)),
              QRect(1, 21, 398, 274));
}

// The widget tests' screen: 1024 x 768.
TEST(ScreenFit, AStoredPlacementIsBroughtWhollyOntoTheScreen)
{
    const QRect fits(100, 100, 722, 381);
    EXPECT_EQ(orvex::placementOnScreens(fits), fits);
    // Stored on a screen of 1920 x 1080: 70 by 128 pixels of it on this one.
    EXPECT_EQ(orvex::placementOnScreens(QRect(954, 640, 722, 381)), QRect(302, 387, 722, 381));
    // On no screen at all: centred.
    EXPECT_EQ(orvex::placementOnScreens(QRect(20000, -20000, 722, 381)), QRect(151, 193, 722, 381));
}

TEST(ScreenFit, AWindowIsPutRightWhenItIsShownOrAtOnceWhenShownAlready)
{
    QWidget window;
    window.setGeometry(900, 700, 300, 200);
    orvex::placeWhenFramed(&window, orvex::WhenFramed::KeepOnScreen);
    EXPECT_EQ(window.geometry(), QRect(900, 700, 300, 200)) << "moved before it was shown";
    window.show();
    // By its frame, which the window system knows now.
    EXPECT_TRUE(orvex::test::waitUntil([&] {
        return window.frameGeometry().bottomRight() == QPoint(1023, 767);
    })) << window.frameGeometry().bottom();

    orvex::placeWhenFramed(&window, orvex::WhenFramed::Centre);
    QRect centred(QPoint(), window.frameGeometry().size());
    centred.moveCenter(QPoint(511, 383));
    EXPECT_EQ(window.frameGeometry(), centred);
}
