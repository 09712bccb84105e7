// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ValueWriter.h"

#include <QString>
#include <cstdio>

namespace database {
class Connection;
}

namespace aprs {

// The export's columns, in order.
inline constexpr const char *packetCsvHeader =
    "utc,source,via,type,name,latitude,longitude,symbol,addressee,msgno,text";

// Every APRS packet heard in [fromMs, toMs] (ms since 1970-01-01 UTC),
// oldest first, as CSV with packetCsvHeader or as a JSON array of objects
// with those keys. utc is YYYY-MM-DDTHH:MM:SS.mmmZ; latitude and longitude
// are decimal degrees with six decimals, empty (null) where the packet has
// no position; other fields are empty texts where the packet has none.
// Reads through `connection` (read-only, the APRS table); false with
// `error` set when it cannot be read.
bool exportPackets(database::Connection &connection, qint64 fromMs, qint64 toMs,
                   history::ExportFormat format, std::FILE *out, QString &error);

} // namespace aprs
