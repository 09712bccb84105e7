// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QMargins>
#include <QRect>

namespace orvex {

// Where a window whose inside is meant to be `inside` goes so that its
// frame (`frame` around the inside) stays within `area`, a screen's free
// part: moved the least it takes, and shortened or narrowed only when the
// frame is larger than the area. All in pixels.
QRect fitFramedInArea(const QRect &inside, const QMargins &frame, const QRect &area);

} // namespace orvex
