// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Screen measures in twips, the unit the settings files keep window
// placements in: 1440 twips to the logical inch, so a pixel is
// 1440 / logical DPI twips (15 at 96 DPI). All of it refers to the primary
// screen.
class ScreenTwips
{
public:
    static double twipsPerPixelX();
    static double twipsPerPixelY();

    // Size of the primary screen, twips.
    static double screenWidth();
    static double screenHeight();

    static double toTwipsX(int pixels);
    static double toTwipsY(int pixels);
    // Nearest whole pixel.
    static int toPixelsX(double twips);
    static int toPixelsY(double twips);
};
