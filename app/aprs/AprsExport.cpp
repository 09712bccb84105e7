// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/AprsExport.h"

#include "database/Connection.h"
#include "history/CsvText.h"
#include "platform/DateTime.h"

#include <array>
#include <cstdio>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <string_view>

namespace aprs {

namespace {

constexpr std::array<const char *, 11> keys = {"utc",       "source",   "via",       "type",
                                               "name",      "latitude", "longitude", "symbol",
                                               "addressee", "msgno",    "text"};
// Columns of the query holding the number fields.
constexpr int latitudeColumn = 5;
constexpr int longitudeColumn = 6;

std::optional<std::string> degrees(const database::Query &row, int column)
{
    if (row.isNull(column))
        return std::nullopt;
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.6f", row.real(column));
    return std::string(text, static_cast<std::size_t>(length));
}

} // namespace

bool exportPackets(database::Connection &connection, qint64 fromMs, qint64 toMs,
                   history::ExportFormat format, std::FILE *out, QString &error)
{
    database::Query select = connection.prepare(
        "SELECT utc_ms, source, via, type, name, latitude, longitude, symbol, addressee, msgno, "
        "text FROM aprs_packet WHERE utc_ms BETWEEN ? AND ? AND transmitted = 0 "
        "ORDER BY utc_ms, id");
    if (!select) {
        error = connection.errorText();
        return false;
    }
    select.bind(1, fromMs).bind(2, toMs);

    const bool csv = format == history::ExportFormat::Csv;
    std::string text;
    text.reserve(1 << 17);
    text += csv ? std::string(packetCsvHeader) + '\n' : std::string("[");
    orvex::UtcText utcText;
    bool first = true;
    int step = SQLITE_ROW;
    while ((step = select.step()) == SQLITE_ROW) {
        if (!csv) {
            text += first ? "\n{" : ",\n{";
            first = false;
        }
        for (int column = 0; column < static_cast<int>(keys.size()); ++column) {
            if (csv && column > 0)
                text += ',';
            if (!csv) {
                if (column > 0)
                    text += ',';
                history::appendJsonText(text, keys[static_cast<std::size_t>(column)]);
                text += ':';
            }
            if (column == 0) {
                const std::string_view utc = utcText.of(select.int64(0));
                if (csv) {
                    text += utc;
                } else {
                    history::appendJsonText(text, utc);
                }
            } else if (column == latitudeColumn || column == longitudeColumn) {
                const std::optional<std::string> value = degrees(select, column);
                text += value ? *value : csv ? std::string() : std::string("null");
            } else if (csv) {
                history::appendCsvText(text, select.textView(column));
            } else {
                history::appendJsonText(text, select.textView(column));
            }
        }
        text += csv ? "\n" : "}";
        if (text.size() > (1 << 16)) {
            std::fwrite(text.data(), 1, text.size(), out);
            text.clear();
        }
    }
    if (!csv)
        text += first ? "]\n" : "\n]\n";
    std::fwrite(text.data(), 1, text.size(), out);
    if (step != SQLITE_DONE) {
        error = connection.errorText();
        return false;
    }
    return true;
}

} // namespace aprs
