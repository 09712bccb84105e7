// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/ValueExport.h"

#include "history/ChannelUnits.h"
#include "history/TelemetryStore.h"
#include "telemetry/TelemetryGrids.h"

#include <array>
#include <charconv>
#include <cmath>
#include <sqlite3.h>
#include <string>
#include <string_view>

namespace history {

namespace {

// Civil date of a day count since 1970-01-01 (proleptic Gregorian).
void civilFromDays(qint64 days, int &year, unsigned &month, unsigned &day)
{
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<unsigned>(days - era * 146097);
    const unsigned yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const unsigned dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const unsigned monthIndex = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

std::string isoUtc(qint64 ms)
{
    qint64 days = ms / 86400000;
    qint64 rest = ms % 86400000;
    if (rest < 0) {
        rest += 86400000;
        --days;
    }
    int year = 0;
    unsigned month = 0, day = 0;
    civilFromDays(days, year, month, day);
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02lld:%02lld:%02lld.%03lldZ", year, month,
                  day, rest / 3600000, rest / 60000 % 60, rest / 1000 % 60, rest % 1000);
    return text;
}

// A raw value as the program writes numbers: integers without a point.
void appendNumber(std::string &out, double value)
{
    char text[32];
    if (std::abs(value) < 1e15 && value == std::floor(value)) {
        const auto end = std::to_chars(text, text + sizeof text, static_cast<long long>(value)).ptr;
        out.append(text, end);
        return;
    }
    const int length = std::snprintf(text, sizeof text, "%.15g", value);
    out.append(text, static_cast<size_t>(length));
}

void appendFixed(std::string &out, double value, int decimals)
{
    char text[48];
    const int length = std::snprintf(text, sizeof text, "%.*f", decimals, value);
    out.append(text, static_cast<size_t>(length));
}

void appendCsvText(std::string &out, std::string_view text)
{
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(text);
        return;
    }
    out += '"';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void appendJsonText(std::string &out, std::string_view text)
{
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
}

std::string_view columnText(sqlite3_stmt *query, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(query, column));
    return text ? std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(query, column)))
                : std::string_view();
}

// Grid tags, row captions and units as UTF-8, looked up once.
struct PlaceTexts
{
    std::array<std::string, telemetry::gridCount> tags;
    std::array<std::vector<std::string>, telemetry::gridCount> captions;
    std::array<std::vector<std::string>, telemetry::gridCount> units;
    PlaceTexts()
    {
        for (int grid = 0; grid < telemetry::gridCount; ++grid) {
            const telemetry::GridLayout &layout = telemetry::gridLayout(grid);
            tags[grid] = layout.tag.toStdString();
            captions[grid].push_back({});
            units[grid].push_back({});
            for (int row = 1; row < layout.rows(); ++row) {
                captions[grid].push_back(layout.captions[row - 1].toStdString());
                units[grid].push_back(channelUnit(grid, row).toStdString());
            }
        }
    }
};

} // namespace

bool exportValues(const TelemetryStore &store, qint64 fromMs, qint64 toMs, ExportFormat format,
                  std::FILE *out, QString &error)
{
    static const PlaceTexts places;
    sqlite3_stmt *query = nullptr;
    const char *sql =
        "SELECT f.utc_ms, s.callsign, f.side, f.mode, v.grid, v.row, v.raw, v.value, f.label"
        " FROM frame f JOIN source s ON s.id = f.source_id"
        " JOIN channel_value v ON v.frame_id = f.id"
        " WHERE f.utc_ms BETWEEN ?1 AND ?2 AND v.grid IS NOT NULL"
        " ORDER BY f.utc_ms, v.grid, v.row, f.side";
    if (!store.handle() ||
        sqlite3_prepare_v2(store.handle(), sql, -1, &query, nullptr) != SQLITE_OK) {
        error = store.handle() ? QString::fromUtf8(sqlite3_errmsg(store.handle()))
                               : QStringLiteral("the store is not open");
        return false;
    }
    sqlite3_bind_int64(query, 1, fromMs);
    sqlite3_bind_int64(query, 2, toMs);

    const bool csv = format == ExportFormat::Csv;
    std::string buffer;
    buffer.reserve(1 << 17);
    buffer += csv ? "utc,source,side,mode,grid,row,raw,value,unit,label\n" : "[";
    qint64 lastMs = -1;
    std::string utc;
    bool first = true;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(query)) == SQLITE_ROW) {
        const qint64 ms = sqlite3_column_int64(query, 0);
        if (ms != lastMs || utc.empty()) {
            utc = isoUtc(ms);
            lastMs = ms;
        }
        const int grid = sqlite3_column_int(query, 4);
        const int row = sqlite3_column_int(query, 5);
        if (grid < 0 || grid >= telemetry::gridCount || row < 1 ||
            row >= static_cast<int>(places.captions[grid].size()))
            continue;
        const char *side = sqlite3_column_int(query, 2) == 0 ? "A" : "B";
        const bool hasValue = sqlite3_column_type(query, 7) != SQLITE_NULL;
        const double raw = sqlite3_column_double(query, 6);
        const int decimals = telemetry::gridLayout(grid).decimals;
        if (csv) {
            buffer += utc;
            buffer += ',';
            appendCsvText(buffer, columnText(query, 1));
            buffer += ',';
            buffer += side;
            buffer += ',';
            appendNumber(buffer, sqlite3_column_int(query, 3));
            buffer += ',';
            buffer += places.tags[grid];
            buffer += ',';
            buffer += places.captions[grid][row];
            buffer += ',';
            appendNumber(buffer, raw);
            buffer += ',';
            if (hasValue)
                appendFixed(buffer, sqlite3_column_double(query, 7), decimals);
            buffer += ',';
            buffer += places.units[grid][row];
            buffer += ',';
            appendCsvText(buffer, columnText(query, 8));
            buffer += '\n';
        } else {
            buffer += first ? "\n" : ",\n";
            first = false;
            buffer += "{\"utc\":\"";
            buffer += utc;
            buffer += "\",\"source\":";
            appendJsonText(buffer, columnText(query, 1));
            buffer += ",\"side\":\"";
            buffer += side;
            buffer += "\",\"mode\":";
            appendNumber(buffer, sqlite3_column_int(query, 3));
            buffer += ",\"grid\":\"";
            buffer += places.tags[grid];
            buffer += "\",\"row\":\"";
            buffer += places.captions[grid][row];
            buffer += "\",\"raw\":";
            appendNumber(buffer, raw);
            buffer += ",\"value\":";
            if (hasValue)
                appendFixed(buffer, sqlite3_column_double(query, 7), decimals);
            else
                buffer += "null";
            buffer += ",\"unit\":\"";
            buffer += places.units[grid][row];
            buffer += "\",\"label\":";
            appendJsonText(buffer, columnText(query, 8));
            buffer += '}';
        }
        if (buffer.size() > (1 << 16)) {
            std::fwrite(buffer.data(), 1, buffer.size(), out);
            buffer.clear();
        }
    }
    if (!csv)
        buffer += first ? "]\n" : "\n]\n";
    std::fwrite(buffer.data(), 1, buffer.size(), out);
    if (step != SQLITE_DONE)
        error = QString::fromUtf8(sqlite3_errmsg(store.handle()));
    sqlite3_finalize(query);
    return step == SQLITE_DONE;
}

} // namespace history
