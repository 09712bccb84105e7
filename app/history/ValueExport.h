// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <cstdio>

namespace history {

class TelemetryStore;

// Every stored channel value heard in [fromMs, toMs] (ms since 1970-01-01
// UTC), ordered by time, then grid, row and side, as CSV with the header
//   utc,source,side,mode,grid,row,raw,value,unit,label
// or as a JSON array of objects with the same keys. utc is
// YYYY-MM-DDTHH:MM:SS.mmmZ, value has the grid column's decimals and is
// empty (null) where the place has no formula.
enum class ExportFormat { Csv, Json };

// False with `error` set when the store cannot be read.
bool exportValues(const TelemetryStore &store, qint64 fromMs, qint64 toMs, ExportFormat format,
                  std::FILE *out, QString &error);

} // namespace history
