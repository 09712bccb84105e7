// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/CsvText.h"

namespace history {

namespace {

bool startsLikeFormula(std::string_view text)
{
    return !text.empty() &&
           std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

} // namespace

void appendCsvText(std::string &out, std::string_view text)
{
    const bool formula = startsLikeFormula(text);
    if (!formula && text.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(text);
        return;
    }
    out += '"';
    if (formula)
        out += '\'';
    for (const char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

} // namespace history
