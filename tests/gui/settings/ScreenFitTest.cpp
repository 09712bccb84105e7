// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ScreenFit.h"

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
