// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/StoreRows.h"

#include <sqlite3.h>

namespace orvex::test {

QStringList storeRows(const QString &path, const char *sql, bool writable)
{
    QStringList result;
    sqlite3 *db = nullptr;
    sqlite3_stmt *query = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db,
                        writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY,
                        nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql, -1, &query, nullptr) == SQLITE_OK)
        while (sqlite3_step(query) == SQLITE_ROW) {
            QStringList fields;
            for (int column = 0; column < sqlite3_column_count(query); ++column)
                fields << QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(query, column)));
            result << fields.join('|');
        }
    sqlite3_finalize(query);
    sqlite3_close(db);
    return result;
}

qint64 storeNumber(const QString &path, const char *sql)
{
    const QStringList rows = storeRows(path, sql);
    bool ok = false;
    const qint64 number = rows.isEmpty() ? 0 : rows.first().section('|', 0, 0).toLongLong(&ok);
    return ok ? number : -1;
}

} // namespace orvex::test
