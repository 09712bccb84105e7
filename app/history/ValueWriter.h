// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QtGlobal>
#include <optional>
#include <string>
#include <string_view>

// Every export of channel values (tlmexport, the history window's export)
// writes the same columns in the same forms:
//   utc,source,side,mode,grid,row,raw,value,unit,label
// as CSV with that header, or as a JSON array of objects with those keys.
// utc is YYYY-MM-DDTHH:MM:SS.mmmZ, value has the grid column's decimals and
// is empty (null) where the place has no formula; source, mode and label are
// empty where they are not known. UTF-8, "\n" line ends.
namespace history {

enum class ExportFormat { Csv, Json };

struct ExportedValue
{
    qint64 utcMs = 0;
    std::string_view source;
    int side = 0;  // 0 = A, 1 = B
    int mode = -1; // -1 where unknown
    int grid = 0;
    int row = 1;
    double raw = 0;
    std::optional<double> value;
    std::string_view label;
};

// Appends `text` (UTF-8) as a JSON string, in quotes, with quotes,
// backslashes and control characters escaped.
void appendJsonText(std::string &out, std::string_view text);

class ValueWriter
{
public:
    static constexpr std::string_view csvHeader =
        "utc,source,side,mode,grid,row,raw,value,unit,label";

    // Starts the text with the CSV header or the JSON array's opening.
    explicit ValueWriter(ExportFormat format);

    // A value of a place the grids do not have is not written.
    void add(const ExportedValue &value);
    // The text written so far; the caller may empty it between values.
    std::string &text() { return text_; }
    // Ends the text (the JSON array's closing) and hands it over.
    std::string finish();

private:
    ExportFormat format_;
    std::string text_;
    bool first_ = true;
    std::string_view utcDay_;
};

} // namespace history
