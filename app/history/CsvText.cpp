// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/CsvText.h"

namespace history {

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

} // namespace history
