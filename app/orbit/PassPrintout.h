// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// The pass list as printed: three empty lines, the caption, then the list,
// every line indented by six blanks, no trailing blanks at the end.
QString passPrintout(const QString &caption, const QString &passList);
