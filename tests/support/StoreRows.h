// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace orvex::test {

// The rows of a query on the station database at `path`, read through a
// connection of its own (so only what was committed), one string per row
// with its fields joined by '|'; empty when the file or the query fails.
// `writable` opens it for writing, so that a file left by a killed
// program can be recovered before it is read.
QStringList storeRows(const QString &path, const char *sql, bool writable = false);

// The first field of the first row as a number; -1 when there is none.
qint64 storeNumber(const QString &path, const char *sql);

} // namespace orvex::test
