// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/ValueExport.h"

#include "history/ChannelUnits.h"
#include "history/CsvText.h"
#include "history/TelemetryStore.h"
#include "telemetry/TelemetryGrids.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace history {

namespace {

// "YYYY-MM-DDTHH:MM:SS.mmmZ"; the date part is kept from the last call of
// the same day, as consecutive frames mostly share it.
class UtcText
{
public:
    const std::string &of(qint64 ms)
    {
        qint64 days = ms / 86400000;
        qint64 rest = ms % 86400000;
        if (rest < 0) {
            rest += 86400000;
            --days;
        }
        if (days != day_ || text_.empty()) {
            day_ = days;
            const std::chrono::year_month_day civil{std::chrono::sys_days{std::chrono::days{days}}};
            char date[24];
            std::snprintf(date, sizeof date, "%04d-%02u-%02uT", static_cast<int>(civil.year()),
                          static_cast<unsigned>(civil.month()), static_cast<unsigned>(civil.day()));
            text_ = date;
            dateLength_ = text_.size();
            text_ += "00:00:00.000Z";
        }
        char *time = text_.data() + dateLength_;
        const auto put = [](char *at, qint64 value, int digits) {
            for (int index = digits - 1; index >= 0; --index, value /= 10)
                at[index] = static_cast<char>('0' + value % 10);
        };
        put(time, rest / 3600000, 2);
        put(time + 3, rest / 60000 % 60, 2);
        put(time + 6, rest / 1000 % 60, 2);
        put(time + 9, rest % 1000, 3);
        return text_;
    }

private:
    qint64 day_ = 0;
    std::string text_;
    std::size_t dateLength_ = 0;
};

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

// The stored values already have the column's decimals: scaled, they are
// whole numbers, written without the cost of a general float format.
void appendFixed(std::string &out, double value, int decimals)
{
    static constexpr double scales[] = {1, 10, 100, 1000};
    if (decimals >= 0 && decimals <= 3 && std::abs(value) < 1e12) {
        long long scaled = std::llround(value * scales[decimals]);
        if (scaled < 0) {
            out += '-';
            scaled = -scaled;
        }
        char digits[24];
        char *end = std::to_chars(digits, digits + sizeof digits, scaled).ptr;
        std::size_t length = static_cast<std::size_t>(end - digits);
        const auto whole = static_cast<std::size_t>(decimals) + 1;
        if (length < whole) { // 0.05 -> "005"
            std::memmove(digits + whole - length, digits, length);
            std::memset(digits, '0', whole - length);
            length = whole;
        }
        out.append(digits, length - static_cast<std::size_t>(decimals));
        if (decimals > 0) {
            out += '.';
            out.append(digits + length - decimals, static_cast<std::size_t>(decimals));
        }
        return;
    }
    char text[400];
    const auto end =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    out.append(text, end);
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

namespace {

// One value row of the query, as read.
struct Row
{
    int grid;
    int row;
    int side;
    double raw;
    std::optional<double> value;
};

} // namespace

bool exportValues(const TelemetryStore &store, qint64 fromMs, qint64 toMs, ExportFormat format,
                  std::FILE *out, QString &error)
{
    static const PlaceTexts places;
    sqlite3 *db = store.handle();
    if (!db) {
        error = QStringLiteral("the store is not open");
        return false;
    }
    // Callsigns are few: read once, not joined into every row.
    std::unordered_map<qint64, std::string> sources;
    sqlite3_stmt *query = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT id, callsign FROM source", -1, &query, nullptr) == SQLITE_OK)
        while (sqlite3_step(query) == SQLITE_ROW)
            sources[sqlite3_column_int64(query, 0)] = std::string(columnText(query, 1));
    sqlite3_finalize(query);
    query = nullptr;

    // Rows come in time order from the index; the few values of one instant
    // are put in grid, row and side order here.
    const char *sql = "SELECT f.id, f.utc_ms, f.source_id, f.side, f.mode, f.label, v.grid, v.row,"
                      " v.raw, v.value"
                      " FROM frame f JOIN channel_value v ON v.frame_id = f.id"
                      " WHERE f.utc_ms BETWEEN ?1 AND ?2 AND v.grid IS NOT NULL"
                      " ORDER BY f.utc_ms, f.id";
    if (sqlite3_prepare_v2(db, sql, -1, &query, nullptr) != SQLITE_OK) {
        error = QString::fromUtf8(sqlite3_errmsg(db));
        return false;
    }
    sqlite3_bind_int64(query, 1, fromMs);
    sqlite3_bind_int64(query, 2, toMs);

    struct FrameText
    {
        std::string source;
        int mode = 0;
        std::string label;
    };
    struct Pending
    {
        Row row;
        std::size_t frame;
    };
    std::vector<FrameText> frames; // the frames of the current instant
    std::vector<Pending> instant;  // their values
    const bool csv = format == ExportFormat::Csv;
    std::string buffer;
    buffer.reserve(1 << 17);
    if (csv) {
        buffer += valueCsvHeader;
        buffer += '\n';
    } else {
        buffer += '[';
    }
    bool first = true;
    UtcText utcText;

    const auto writeInstant = [&](qint64 ms) {
        if (instant.empty())
            return;
        std::sort(instant.begin(), instant.end(), [](const Pending &a, const Pending &b) {
            return std::tie(a.row.grid, a.row.row, a.row.side, a.frame) <
                   std::tie(b.row.grid, b.row.row, b.row.side, b.frame);
        });
        const std::string &utc = utcText.of(ms);
        for (const Pending &pending : instant) {
            const Row &row = pending.row;
            const FrameText &frame = frames[pending.frame];
            const char *side = row.side == 0 ? "A" : "B";
            const int decimals = telemetry::gridLayout(row.grid).decimals;
            if (csv) {
                buffer += utc;
                buffer += ',';
                appendCsvText(buffer, frame.source);
                buffer += ',';
                buffer += side;
                buffer += ',';
                appendNumber(buffer, frame.mode);
                buffer += ',';
                buffer += places.tags[row.grid];
                buffer += ',';
                buffer += places.captions[row.grid][row.row];
                buffer += ',';
                appendNumber(buffer, row.raw);
                buffer += ',';
                if (row.value)
                    appendFixed(buffer, *row.value, decimals);
                buffer += ',';
                buffer += places.units[row.grid][row.row];
                buffer += ',';
                appendCsvText(buffer, frame.label);
                buffer += '\n';
            } else {
                buffer += first ? "\n" : ",\n";
                first = false;
                buffer += "{\"utc\":\"";
                buffer += utc;
                buffer += "\",\"source\":";
                appendJsonText(buffer, frame.source);
                buffer += ",\"side\":\"";
                buffer += side;
                buffer += "\",\"mode\":";
                appendNumber(buffer, frame.mode);
                buffer += ",\"grid\":\"";
                buffer += places.tags[row.grid];
                buffer += "\",\"row\":\"";
                buffer += places.captions[row.grid][row.row];
                buffer += "\",\"raw\":";
                appendNumber(buffer, row.raw);
                buffer += ",\"value\":";
                if (row.value)
                    appendFixed(buffer, *row.value, decimals);
                else
                    buffer += "null";
                buffer += ",\"unit\":\"";
                buffer += places.units[row.grid][row.row];
                buffer += "\",\"label\":";
                appendJsonText(buffer, frame.label);
                buffer += '}';
            }
        }
        instant.clear();
        frames.clear();
        if (buffer.size() > (1 << 16)) {
            std::fwrite(buffer.data(), 1, buffer.size(), out);
            buffer.clear();
        }
    };

    qint64 instantMs = 0;
    qint64 frameId = -1;
    int step = SQLITE_ROW;
    while ((step = sqlite3_step(query)) == SQLITE_ROW) {
        const qint64 ms = sqlite3_column_int64(query, 1);
        if (ms != instantMs) {
            writeInstant(instantMs);
            instantMs = ms;
        }
        const int grid = sqlite3_column_int(query, 6);
        const int row = sqlite3_column_int(query, 7);
        if (grid < 0 || grid >= telemetry::gridCount || row < 1 ||
            row >= static_cast<int>(places.captions[grid].size()))
            continue;
        const qint64 id = sqlite3_column_int64(query, 0);
        if (id != frameId || frames.empty()) {
            frameId = id;
            const auto source = sources.find(sqlite3_column_int64(query, 2));
            frames.push_back({source == sources.end() ? std::string() : source->second,
                              sqlite3_column_int(query, 4), std::string(columnText(query, 5))});
        }
        Row value{grid, row, sqlite3_column_int(query, 3), sqlite3_column_double(query, 8), {}};
        if (sqlite3_column_type(query, 9) != SQLITE_NULL)
            value.value = sqlite3_column_double(query, 9);
        instant.push_back({value, frames.size() - 1});
    }
    writeInstant(instantMs);
    if (!csv)
        buffer += first ? "]\n" : "\n]\n";
    std::fwrite(buffer.data(), 1, buffer.size(), out);
    if (step != SQLITE_DONE)
        error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(query);
    return step == SQLITE_DONE;
}

} // namespace history
