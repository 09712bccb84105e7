// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QMargins>
#include <QRect>

class QWidget;

namespace orvex {

// Where a window whose inside is meant to be `inside` goes so that its
// frame (`frame` around the inside) stays within `area`, a screen's free
// part: moved the least it takes, and shortened or narrowed only when the
// frame is larger than the area. All in pixels.
QRect fitFramedInArea(const QRect &inside, const QMargins &frame, const QRect &area);

// The same for a window about to open over `over` (or over nothing: the
// primary screen), on the free part of over's screen. Over's frame stands in
// for the new window's, which the window manager adds only once it is shown.
QRect fitOnScreenOf(const QRect &inside, const QWidget *over);

} // namespace orvex
