// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

// True when the file at `path` is a regular file whose first line marks it
// as the demo station's invented element sets (orbit::demoElementsMarker).
// Such sets give way to any other file's set of the same satellite.
bool isDemoElementFile(const QString &path);
