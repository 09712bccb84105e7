// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <string>
#include <string_view>

// The quoting of every CSV the history writes.
namespace history {

// Appends `text` as one field (RFC 4180): in quotes, with its quotes
// doubled, when it holds a comma, a quote or a line break.
void appendCsvText(std::string &out, std::string_view text);

} // namespace history
