// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace orvex {

namespace {

// The start and length of the inside along one axis: `before` and `after`
// are the frame's parts on either side, [areaStart, areaStart + areaLength)
// the room.
std::pair<int, int> fitAxis(int start, int length, int before, int after, int areaStart,
                            int areaLength)
{
    length = std::min(length, std::max(1, areaLength - before - after));
    const int lowest = areaStart + before;
    const int highest = areaStart + areaLength - after - length;
    return {std::clamp(start, lowest, std::max(lowest, highest)), length};
}

} // namespace

QRect fitFramedInArea(const QRect &inside, const QMargins &frame, const QRect &area)
{
    const auto [x, width] =
        fitAxis(inside.x(), inside.width(), frame.left(), frame.right(), area.x(), area.width());
    const auto [y, height] =
        fitAxis(inside.y(), inside.height(), frame.top(), frame.bottom(), area.y(), area.height());
    return {x, y, width, height};
}

QRect fitOnScreenOf(const QRect &inside, const QWidget *over)
{
    const QScreen *screen = over ? over->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return inside;
    const QWindow *window = over ? over->windowHandle() : nullptr;
    return fitFramedInArea(inside, window ? window->frameMargins() : QMargins(),
                           screen->availableGeometry());
}

} // namespace orvex
