// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/ValueExport.h"

#include "database/Connection.h"
#include "history/TelemetryStore.h"
#include "history/ValueWriter.h"

#include <algorithm>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace history {

namespace {

std::string_view columnText(sqlite3_stmt *query, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(query, column));
    return text ? std::string_view(text, static_cast<size_t>(sqlite3_column_bytes(query, column)))
                : std::string_view();
}

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

bool exportValues(database::Connection &connection, qint64 fromMs, qint64 toMs, ExportFormat format,
                  std::FILE *out, QString &error)
{
    sqlite3 *db = connection.handle();
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
    ValueWriter writer(format);

    const auto writeInstant = [&](qint64 ms) {
        if (instant.empty())
            return;
        std::sort(instant.begin(), instant.end(), [](const Pending &a, const Pending &b) {
            return std::tie(a.row.grid, a.row.row, a.row.side, a.frame) <
                   std::tie(b.row.grid, b.row.row, b.row.side, b.frame);
        });
        for (const Pending &pending : instant) {
            const Row &row = pending.row;
            const FrameText &frame = frames[pending.frame];
            writer.add({ms, frame.source, row.side, frame.mode, row.grid, row.row, row.raw,
                        row.value, frame.label});
        }
        instant.clear();
        frames.clear();
        std::string &text = writer.text();
        if (text.size() > (1 << 16)) {
            std::fwrite(text.data(), 1, text.size(), out);
            text.clear();
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
    const std::string rest = writer.finish();
    std::fwrite(rest.data(), 1, rest.size(), out);
    if (step != SQLITE_DONE)
        error = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(query);
    return step == SQLITE_DONE;
}

} // namespace history
