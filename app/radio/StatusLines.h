// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "radio/RadioController.h"
#include "radio/RotatorController.h"

#include <QString>
#include <functional>

// The radio and the rotator in one line each, for the status bar and the
// sky view.
namespace radio {

// A Julian date UTC as the operator reads times ("09:24:17 UTC", or local).
using ClockText = std::function<QString(double jd)>;

// "Radio: 145.828 412 MHz, offset +1 200 Hz", "Radio: idle until 09:24:17 UTC", ...
QString radioStatusLine(const RadioView &view, const ClockText &timeText);
// "Rotator: following at az 215.2° el 12.3° (overlap past the stop)", ...
QString rotatorStatusLine(const RotatorView &view, const ClockText &timeText);

} // namespace radio
