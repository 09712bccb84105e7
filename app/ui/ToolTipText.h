// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

namespace orvex {

// A tool tip that shows `text` as it is. Qt takes a tool tip that looks like
// HTML for HTML, so text from outside (an element set named "<table ...>")
// is escaped; text that cannot be mistaken for HTML stays as it is.
QString plainToolTip(const QString &text);

} // namespace orvex
