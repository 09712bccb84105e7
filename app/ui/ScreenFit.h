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

// Where a stored placement (pixels) goes on the screens attached now: left
// as it is when it lies wholly on the free part of a screen; moved the least
// it takes onto the screen it overlaps most when it lies partly off (stored
// on a larger screen, say); centred on the primary screen when it lies on
// none (a display since removed).
QRect placementOnScreens(const QRect &placed);

// What a window does once the window manager has framed it.
enum class WhenFramed {
    KeepOnScreen, // moves the least it takes for its frame to stay on the screen
    Centre,       // centres its frame on the screen
};
// Before a window is shown its frame is unknown, so a place worked out then
// can only guess at it. At the window's next showing, as soon as it is
// framed, this puts it right by its real frame, on the free part of its
// screen. A window shown already is put right at once.
void placeWhenFramed(QWidget *window, WhenFramed how);

// Moves a shown window so that its frame lies on the free part of its
// screen, making it narrower or shorter only when its frame is larger than
// that. A window of fixed size (a message box) keeps a fixed size, its height
// for the new width where its layout has one.
void keepOnScreen(QWidget *window);

} // namespace orvex
