// SPDX-License-Identifier: GPL-2.0-or-later
// tlmexport DB [--aprs] [--from ISO-UTC] [--to ISO-UTC] [--format csv|json]
//
// Writes every channel value of a telemetry store, or with --aprs every APRS
// packet the station heard, to standard output. Exit
// status 0 on success, 2 with a one-line message on a bad argument or a
// store that cannot be read. The store is opened read-only.
#include "aprs/AprsExport.h"
#include "aprs/AprsStore.h"
#include "database/StationDatabase.h"
#include "history/TelemetryStore.h"
#include "history/ValueExport.h"

#include <QDateTime>
#include <QTimeZone>
#include <cstdio>
#include <limits>
#include <optional>

namespace {

constexpr int badInput = 2;
constexpr const char *usage =
    "usage: tlmexport DB [--aprs] [--from ISO-UTC] [--to ISO-UTC] [--format csv|json]";

int refuse(const QString &message)
{
    std::fprintf(stderr, "tlmexport: %s\n", message.toLocal8Bit().constData());
    return badInput;
}

// "2026-03-05", "2026-03-05T14:07", "2026-03-05T14:07:41.250Z" or with an
// offset; times without a zone are UTC.
std::optional<qint64> parseUtc(const QString &text)
{
    QDateTime when = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!when.isValid())
        return std::nullopt;
    const bool hasZone = text.endsWith(QLatin1Char('Z')) ||
                         text.indexOf(QLatin1Char('+'), 10) > 0 ||
                         text.indexOf(QLatin1Char('-'), 10) > 0;
    if (!hasZone)
        when = QDateTime(when.date(), when.time(), QTimeZone::utc());
    return when.toMSecsSinceEpoch();
}

} // namespace

int main(int argc, char **argv)
{
    QString database;
    qint64 fromMs = std::numeric_limits<qint64>::min();
    qint64 toMs = std::numeric_limits<qint64>::max();
    QString fromText, toText;
    history::ExportFormat format = history::ExportFormat::Csv;
    bool aprsPackets = false;
    for (int index = 1; index < argc; ++index) {
        const QString argument = QString::fromLocal8Bit(argv[index]);
        const bool takesValue = argument == QLatin1String("--from") ||
                                argument == QLatin1String("--to") ||
                                argument == QLatin1String("--format");
        if (argument == QLatin1String("--aprs")) {
            aprsPackets = true;
        } else if (takesValue) {
            if (index + 1 >= argc)
                return refuse(argument + QStringLiteral(" needs a value; ") + QLatin1String(usage));
            const QString value = QString::fromLocal8Bit(argv[++index]);
            if (argument == QLatin1String("--format")) {
                if (value == QLatin1String("csv"))
                    format = history::ExportFormat::Csv;
                else if (value == QLatin1String("json"))
                    format = history::ExportFormat::Json;
                else
                    return refuse(QStringLiteral("unknown format '%1' (csv or json)").arg(value));
                continue;
            }
            const std::optional<qint64> ms = parseUtc(value);
            if (!ms)
                return refuse(
                    QStringLiteral("%1 '%2' is not an ISO 8601 UTC time").arg(argument, value));
            const bool from = argument == QLatin1String("--from");
            (from ? fromMs : toMs) = *ms;
            (from ? fromText : toText) = value;
        } else if (argument.startsWith(QLatin1Char('-')) || !database.isEmpty()) {
            return refuse(QStringLiteral("unexpected argument '%1'; ").arg(argument) +
                          QLatin1String(usage));
        } else {
            database = argument;
        }
    }
    if (database.isEmpty())
        return refuse(QLatin1String(usage));
    // An empty answer would look like a quiet store to a script.
    if (fromMs > toMs)
        return refuse(QStringLiteral("--from %1 is after --to %2").arg(fromText, toText));

    QString error;
    const std::unique_ptr<database::Connection> store = database::StationDatabase::openForReading(
        database, aprsPackets ? aprs::aprsSchema() : history::historySchema(), error);
    if (!store)
        return refuse(QStringLiteral("cannot read %1: %2").arg(database, error));
    const bool read = aprsPackets
                          ? aprs::exportPackets(*store, fromMs, toMs, format, stdout, error)
                          : history::exportValues(*store, fromMs, toMs, format, stdout, error);
    if (!read)
        return refuse(QStringLiteral("cannot read %1: %2").arg(database, error));
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return refuse(QStringLiteral("cannot write the output"));
    return 0;
}
