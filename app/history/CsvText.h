// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

// What every CSV the history writes shares: tlmexport's and the history
// window's export have the same columns and the same quoting.
namespace history {

inline constexpr std::string_view valueCsvHeader =
    "utc,source,side,mode,grid,row,raw,value,unit,label";

// Appends `text` as one field (RFC 4180): in quotes, with its quotes
// doubled, when it holds a comma, a quote or a line break.
void appendCsvText(std::string &out, std::string_view text);

} // namespace history
