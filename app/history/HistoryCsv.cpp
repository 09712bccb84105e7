// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryCsv.h"

#include "history/CsvText.h"
#include "history/HistoryChannelPicks.h"
#include "telemetry/TelemetryGrids.h"

#include <QDateTime>
#include <QIODevice>
#include <QStringList>

#include <algorithm>
#include <utility>

namespace history {

namespace {

QString csvField(const QString &text)
{
    std::string field;
    appendCsvText(field, text.toStdString());
    return QString::fromStdString(field);
}

bool knownGrid(int grid)
{
    return grid >= 0 && grid < telemetry::gridCount;
}

} // namespace

QString historyCsvHeader()
{
    return QString::fromLatin1(QByteArrayView(valueCsvHeader));
}

QString utcIsoMs(qint64 utcMs)
{
    return QDateTime::fromMSecsSinceEpoch(utcMs, Qt::UTC)
               .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
           QLatin1Char('Z');
}

QString historyCsvLine(const ChannelRecord &record, const QString &unit)
{
    const ChannelKey &key = record.key;
    const ChannelPoint &point = record.point;
    QString grid, row;
    if (knownGrid(key.grid)) {
        const auto &layout = telemetry::gridLayout(key.grid);
        grid = layout.tag;
        if (key.row >= 1 && key.row <= layout.captions.size())
            row = layout.captions.at(key.row - 1);
    }
    const QString value = knownGrid(key.grid) ? telemetry::formatGridValue(key.grid, point.value)
                                              : QString::number(point.value, 'g', 15);
    const QStringList fields{utcIsoMs(point.utcMs),
                             csvField(record.source),
                             sideName(key.side),
                             record.mode < 0 ? QString() : QString::number(record.mode),
                             csvField(grid),
                             csvField(row),
                             QString::number(point.raw, 'g', 15),
                             value,
                             csvField(unit),
                             csvField(record.label)};
    return fields.join(QLatin1Char(','));
}

bool writeHistoryCsv(QIODevice &device, const ChannelSource &source,
                     const std::vector<ChannelKey> &channels, const TimeSpan &span)
{
    struct Row
    {
        ChannelRecord record;
        const QString *unit;
    };
    std::vector<QString> units;
    units.reserve(channels.size());
    std::vector<Row> rows;
    for (const ChannelKey &key : channels) {
        units.push_back(source.info(key).unit);
        for (ChannelRecord &record : source.records(key, span.fromMs, span.toMs))
            rows.push_back({std::move(record), &units.back()});
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        return a.record.point.utcMs != b.record.point.utcMs
                   ? a.record.point.utcMs < b.record.point.utcMs
                   : a.record.key < b.record.key;
    });

    QByteArray text = historyCsvHeader().toUtf8() + '\n';
    for (const Row &row : rows) {
        text += historyCsvLine(row.record, *row.unit).toUtf8();
        text += '\n';
        if (text.size() > (1 << 20)) {
            if (device.write(text) != text.size())
                return false;
            text.clear();
        }
    }
    return device.write(text) == text.size();
}

} // namespace history
