// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace orvex {

// The TCP port typed into the AGWPE setup: the whole text (blanks around it
// allowed) must be one number, which taken to the nearest integer lies
// between 1 and 32767. nullopt otherwise.
std::optional<qint16> agwPortFromText(const QString &text);

} // namespace orvex
