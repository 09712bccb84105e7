// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryCsv.h"

#include "history/ValueWriter.h"

#include <QIODevice>

#include <algorithm>

namespace history {

bool writeHistoryCsv(QIODevice &device, const ChannelSource &source,
                     const std::vector<ChannelKey> &channels, const TimeSpan &span)
{
    std::vector<ChannelRecord> rows;
    for (const ChannelKey &key : channels)
        for (ChannelRecord &record : source.records(key, span.fromMs, span.toMs))
            rows.push_back(std::move(record));
    std::stable_sort(rows.begin(), rows.end(), [](const ChannelRecord &a, const ChannelRecord &b) {
        return a.point.utcMs != b.point.utcMs ? a.point.utcMs < b.point.utcMs : a.key < b.key;
    });

    ValueWriter writer(ExportFormat::Csv);
    const auto write = [&device](const std::string &text) {
        return device.write(text.data(), static_cast<qint64>(text.size())) ==
               static_cast<qint64>(text.size());
    };
    for (const ChannelRecord &row : rows) {
        const QByteArray sourceText = row.source.toUtf8();
        const QByteArray label = row.label.toUtf8();
        writer.add({row.point.utcMs,
                    {sourceText.constData(), static_cast<size_t>(sourceText.size())},
                    row.key.side,
                    row.mode,
                    row.key.grid,
                    row.key.row,
                    row.point.raw,
                    row.point.value,
                    {label.constData(), static_cast<size_t>(label.size())}});
        if (writer.text().size() > (1 << 20)) {
            if (!write(writer.text()))
                return false;
            writer.text().clear();
        }
    }
    return write(writer.finish());
}

} // namespace history
