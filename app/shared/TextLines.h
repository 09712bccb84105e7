// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace orvex {

// The lines of a small text file of one byte per character (the program's
// own data files), ended by CR LF, LF or CR alike; a UTF-8 byte order mark
// is dropped. Nothing, with `why`, when the bytes are no such text: a file
// in UTF-16 or UTF-32, or with zero bytes in it.
std::optional<QList<QByteArray>> textFileLines(const QByteArray &bytes, QString *why = nullptr);

} // namespace orvex
