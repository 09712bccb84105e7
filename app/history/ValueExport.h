// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ValueWriter.h"

#include <QString>
#include <cstdio>

namespace database {
class Connection;
}

namespace history {

// Every stored channel value heard in [fromMs, toMs] (ms since 1970-01-01
// UTC), ordered by time, then grid, row and side, in the columns of
// ValueWriter. Reads through `connection` (read-only, the history's
// tables); false with `error` set when the store cannot be read.
bool exportValues(database::Connection &connection, qint64 fromMs, qint64 toMs, ExportFormat format,
                  std::FILE *out, QString &error);

} // namespace history
