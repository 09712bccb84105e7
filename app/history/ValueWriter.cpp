// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/ValueWriter.h"

#include "history/ChannelUnits.h"
#include "history/CsvText.h"
#include "platform/DateTime.h"
#include "telemetry/TelemetryGrids.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace history {

namespace {

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

const PlaceTexts &places()
{
    static const PlaceTexts texts;
    return texts;
}

} // namespace

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

ValueWriter::ValueWriter(ExportFormat format) : format_(format)
{
    text_.reserve(1 << 17);
    if (format_ == ExportFormat::Csv) {
        text_ += csvHeader;
        text_ += '\n';
    } else {
        text_ += '[';
    }
}

void ValueWriter::add(const ExportedValue &value)
{
    const PlaceTexts &texts = places();
    if (value.grid < 0 || value.grid >= telemetry::gridCount || value.row < 1 ||
        value.row >= static_cast<int>(texts.captions[value.grid].size()))
        return;
    // One formatter for the whole export: consecutive values share a day.
    thread_local orvex::UtcText utcText;
    const std::string_view utc = utcText.of(value.utcMs);
    const char *side = value.side == 0 ? "A" : "B";
    const int decimals = telemetry::gridLayout(value.grid).decimals;
    std::string &out = text_;
    if (format_ == ExportFormat::Csv) {
        out += utc;
        out += ',';
        appendCsvText(out, value.source);
        out += ',';
        out += side;
        out += ',';
        if (value.mode >= 0)
            appendNumber(out, value.mode);
        out += ',';
        out += texts.tags[value.grid];
        out += ',';
        out += texts.captions[value.grid][value.row];
        out += ',';
        appendNumber(out, value.raw);
        out += ',';
        if (value.value)
            appendFixed(out, *value.value, decimals);
        out += ',';
        out += texts.units[value.grid][value.row];
        out += ',';
        appendCsvText(out, value.label);
        out += '\n';
        return;
    }
    out += first_ ? "\n" : ",\n";
    first_ = false;
    out += "{\"utc\":\"";
    out += utc;
    out += "\",\"source\":";
    appendJsonText(out, value.source);
    out += ",\"side\":\"";
    out += side;
    out += "\",\"mode\":";
    if (value.mode >= 0)
        appendNumber(out, value.mode);
    else
        out += "null";
    out += ",\"grid\":\"";
    out += texts.tags[value.grid];
    out += "\",\"row\":\"";
    out += texts.captions[value.grid][value.row];
    out += "\",\"raw\":";
    appendNumber(out, value.raw);
    out += ",\"value\":";
    if (value.value)
        appendFixed(out, *value.value, decimals);
    else
        out += "null";
    out += ",\"unit\":\"";
    out += texts.units[value.grid][value.row];
    out += "\",\"label\":";
    appendJsonText(out, value.label);
    out += '}';
}

std::string ValueWriter::finish()
{
    if (format_ == ExportFormat::Json)
        text_ += first_ ? "]\n" : "\n]\n";
    return std::move(text_);
}

} // namespace history
