// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "aprs/HeardPacket.h"
#include "database/StationDatabase.h"

#include <QString>
#include <QtGlobal>

#include <optional>
#include <vector>

namespace database {
class Connection;
}

namespace aprs {

// The APRS packets' table in the station database (telemetry.db), one row
// per packet heard or sent:
//
//   aprs_packet(id, utc_ms, source, via, type, name, latitude, longitude,
//               symbol, addressee, msgno, text, line, transmitted)
//
// via is "ORVEX-1" when the satellite repeated the packet and empty when it
// was heard direct; type is typeName()'s word; line is the frame's monitor
// text. Texts are UTF-8: a field that is no UTF-8 is read as Latin-1.
const database::SchemaPart &aprsSchema();

// One packet as the store keeps it.
struct StoredPacket
{
    qint64 utcMs = 0;
    QString source;
    bool viaSatellite = false;
    QString type; // "position", "status", ...
    QString name;
    std::optional<double> latitude;
    std::optional<double> longitude;
    QString symbol; // table character, then code character; empty when none
    QString addressee;
    QString messageNumber;
    QString text;
    QString line; // monitor text of the frame
    bool transmitted = false;
};

// What the store keeps of a decoded packet.
StoredPacket storedPacketOf(const HeardPacket &packet);

// Writes the packets into the station database, with its batches.
class AprsStore
{
public:
    // Registers the table with `database`.
    explicit AprsStore(database::StationDatabase &database);
    AprsStore(const AprsStore &) = delete;
    AprsStore &operator=(const AprsStore &) = delete;

    void add(const StoredPacket &packet);
    void add(const HeardPacket &packet) { add(storedPacketOf(packet)); }

    // The packets heard (not sent) in [fromMs, toMs], oldest first; empty
    // while the file cannot be read.
    std::vector<StoredPacket> heard(qint64 fromMs, qint64 toMs);

private:
    database::StationDatabase &database_;
};

// The packets heard (not sent) in [fromMs, toMs] through `connection`, oldest
// first; false with `error` when they cannot be read.
bool readHeard(database::Connection &connection, qint64 fromMs, qint64 toMs,
               std::vector<StoredPacket> &packets, QString &error);

} // namespace aprs
