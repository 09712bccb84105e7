// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ScreenTwips.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double twipsPerInch = 1440.0;
constexpr double fallbackDpi = 96.0;

double perPixel(double dpi)
{
    return twipsPerInch / (dpi > 0.0 ? dpi : fallbackDpi);
}

int nearestPixel(double value)
{
    if (!std::isfinite(value))
        return 0;
    // Far beyond any screen, but still an int.
    constexpr int limitInt = std::numeric_limits<int>::max() / 4;
    constexpr double limit = limitInt;
    return static_cast<int>(std::lround(std::clamp(value, -limit, limit)));
}

} // namespace

double ScreenTwips::twipsPerPixelX()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return perPixel(screen ? screen->logicalDotsPerInchX() : fallbackDpi);
}

double ScreenTwips::twipsPerPixelY()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return perPixel(screen ? screen->logicalDotsPerInchY() : fallbackDpi);
}

double ScreenTwips::screenWidth()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? toTwipsX(screen->geometry().width()) : 0.0;
}

double ScreenTwips::screenHeight()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? toTwipsY(screen->geometry().height()) : 0.0;
}

double ScreenTwips::toTwipsX(int pixels)
{
    return pixels * twipsPerPixelX();
}

double ScreenTwips::toTwipsY(int pixels)
{
    return pixels * twipsPerPixelY();
}

int ScreenTwips::toPixelsX(double twips)
{
    return nearestPixel(twips / twipsPerPixelX());
}

int ScreenTwips::toPixelsY(double twips)
{
    return nearestPixel(twips / twipsPerPixelY());
}
