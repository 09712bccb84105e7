// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/AprsStore.h"

#include "database/Connection.h"

#include <QUtf8StringView>

#include <sqlite3.h>

#include <string>
#include <string_view>

namespace aprs {

using database::Connection;
using database::Query;
using database::StationDatabase;

namespace {

constexpr const char *packetTable = R"sql(
    CREATE TABLE aprs_packet(
        id INTEGER PRIMARY KEY AUTOINCREMENT,
        utc_ms INTEGER NOT NULL,
        source TEXT NOT NULL,
        via TEXT NOT NULL,
        type TEXT NOT NULL,
        name TEXT NOT NULL,
        latitude REAL,
        longitude REAL,
        symbol TEXT NOT NULL,
        addressee TEXT NOT NULL,
        msgno TEXT NOT NULL,
        text TEXT NOT NULL,
        line TEXT NOT NULL,
        transmitted INTEGER NOT NULL DEFAULT 0);
    CREATE INDEX aprs_packet_utc ON aprs_packet(utc_ms);
    )sql";

// Stations send UTF-8 or Latin-1 without saying which: what reads as
// UTF-8 is taken as that, anything else as Latin-1.
QString textOf(std::string_view bytes)
{
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (QUtf8StringView(view.data(), view.size()).isValidUtf8())
        return QString::fromUtf8(view);
    return QString::fromLatin1(view);
}

} // namespace

const database::SchemaPart &aprsSchema()
{
    static const database::SchemaPart part{"aprs", "APRS packets", {packetTable}};
    return part;
}

StoredPacket storedPacketOf(const HeardPacket &heard)
{
    const Packet &packet = heard.packet;
    StoredPacket stored;
    stored.utcMs = heard.utcMs;
    stored.source = textOf(heard.frame.source.text());
    stored.viaSatellite = heard.viaSatellite;
    stored.type = textOf(typeName(packet.type));
    stored.name = textOf(packet.name);
    stored.latitude = packet.latitude;
    stored.longitude = packet.longitude;
    if (packet.symbol)
        stored.symbol = textOf(packet.symbol->text());
    stored.addressee = textOf(packet.addressee);
    stored.messageNumber = textOf(packet.messageNumber);
    stored.text = textOf(packet.text);
    stored.line = textOf(monitorLine(heard.frame, InfoBytes::HexEscapes));
    stored.transmitted = heard.transmitted;
    return stored;
}

AprsStore::AprsStore(StationDatabase &database) : database_(database)
{
    database_.addSchema(aprsSchema());
}

void AprsStore::add(const StoredPacket &packet)
{
    database_.write([packet](Connection &connection) {
        Query insert = connection.cached(
            "INSERT INTO aprs_packet(utc_ms, source, via, type, name, latitude, longitude, "
            "symbol, addressee, msgno, text, line, transmitted) "
            "VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?)");
        if (!insert)
            return false;
        insert.bind(1, packet.utcMs)
            .bind(2, packet.source)
            .bind(3, packet.viaSatellite ? QString::fromLatin1(satelliteDigipeater) : QString())
            .bind(4, packet.type)
            .bind(5, packet.name)
            .bind(6, packet.latitude)
            .bind(7, packet.longitude)
            .bind(8, packet.symbol)
            .bind(9, packet.addressee)
            .bind(10, packet.messageNumber)
            .bind(11, packet.text)
            .bind(12, packet.line)
            .bind(13, packet.transmitted ? 1 : 0);
        return insert.run();
    });
}

std::vector<StoredPacket> AprsStore::heard(qint64 fromMs, qint64 toMs)
{
    std::vector<StoredPacket> packets;
    QString error;
    if (Connection *connection = database_.reader())
        readHeard(*connection, fromMs, toMs, packets, error);
    return packets;
}

bool readHeard(Connection &connection, qint64 fromMs, qint64 toMs,
               std::vector<StoredPacket> &packets, QString &error)
{
    Query select = connection.prepare(
        "SELECT utc_ms, source, via, type, name, latitude, longitude, symbol, addressee, msgno, "
        "text, line FROM aprs_packet WHERE utc_ms BETWEEN ? AND ? AND transmitted = 0 "
        "ORDER BY utc_ms, id");
    if (!select) {
        error = connection.errorText();
        return false;
    }
    select.bind(1, fromMs).bind(2, toMs);
    int step = 0;
    while ((step = select.step()) == SQLITE_ROW) {
        StoredPacket packet;
        packet.utcMs = select.int64(0);
        packet.source = select.text(1);
        packet.viaSatellite = !select.textView(2).empty();
        packet.type = select.text(3);
        packet.name = select.text(4);
        packet.latitude = select.optionalReal(5);
        packet.longitude = select.optionalReal(6);
        packet.symbol = select.text(7);
        packet.addressee = select.text(8);
        packet.messageNumber = select.text(9);
        packet.text = select.text(10);
        packet.line = select.text(11);
        packets.push_back(std::move(packet));
    }
    if (step != SQLITE_DONE) {
        error = connection.errorText();
        return false;
    }
    return true;
}

} // namespace aprs
