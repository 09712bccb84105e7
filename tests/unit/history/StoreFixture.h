// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// Frames for the store tests: decoded with the shipped calibration, as the
// main window decodes them.
#include "database/StationDatabase.h"
#include "history/TelemetryStore.h"
#include "telemetry/FormulaTable.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <sqlite3.h>

namespace orvex::test {

class StoreFixture
{
public:
    StoreFixture() { formulas.LoadFormulae(QStringLiteral(ORVEX_SOURCE_DIR "/data/formula.txt")); }

    history::HeardFrame frame(const QString &line, qint64 utcMs, const QString &source = "ORVEX-1",
                              int side = 0) const
    {
        return {utcMs, source, line, decoder.decodeFrame(side, line).value()};
    }
    QString path() const { return dir.filePath(QStringLiteral("telemetry.db")); }

    // One number from the file, read through a connection of its own.
    qint64 scalar(const char *sql) const
    {
        sqlite3 *db = nullptr;
        sqlite3_stmt *query = nullptr;
        qint64 result = -1;
        if (sqlite3_open_v2(path().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
                SQLITE_OK &&
            sqlite3_prepare_v2(db, sql, -1, &query, nullptr) == SQLITE_OK &&
            sqlite3_step(query) == SQLITE_ROW)
            result = sqlite3_column_int64(query, 0);
        sqlite3_finalize(query);
        sqlite3_close(db);
        return result;
    }

    static qint64 ms(const char *iso)
    {
        return QDateTime::fromString(QString::fromLatin1(iso), Qt::ISODateWithMs)
            .toMSecsSinceEpoch();
    }

    QTemporaryDir dir;
    FormulaTable formulas;
    TelemetryDecoder decoder{formulas};
};

// The station database at a path with the history's tables, open.
struct HistoryDatabase
{
    explicit HistoryDatabase(const QString &path) : database(path), store(database)
    {
        state = database.open();
    }
    database::StationDatabase database;
    history::TelemetryStore store;
    database::StationDatabase::State state;
};

} // namespace orvex::test
