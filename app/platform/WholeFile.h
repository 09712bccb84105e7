// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QFileDevice;

namespace orvex {

// Replaces the file at `path` by `data` through a temporary file beside it,
// so that the file is always either the old one or the whole new one. False
// when the new file could not be written whole (a full disk, a path in the
// way); the old file is then untouched and `why` says what went wrong.
bool writeWholeFile(const QString &path, const QByteArray &data, QString *why = nullptr);

// Writes all of `data` to a file opened Unbuffered. A disk that takes only
// part of a write is asked for the rest, so that a failure comes back with
// its own reason in errorString() ("File too large", "No space left on
// device") instead of a short count without one.
bool writeAll(QFileDevice &file, const QByteArray &data);

} // namespace orvex
