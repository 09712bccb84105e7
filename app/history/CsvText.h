// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

// The quoting of every CSV the history writes.
namespace history {

// Appends `text` as one field (RFC 4180): in quotes, with its quotes
// doubled, when it holds a comma, a quote or a line break. A text a
// spreadsheet would take for a formula (beginning with =, +, -, @, a tab or
// a CR: labels come off the air) is quoted behind a single quote, so that it
// is shown as text. Numbers are not texts and are written apart.
void appendCsvText(std::string &out, std::string_view text);

} // namespace history
