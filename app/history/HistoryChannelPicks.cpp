// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryChannelPicks.h"

#include "telemetry/TelemetryGrids.h"

#include <algorithm>

namespace history {

namespace {

bool knownGrid(int grid)
{
    return grid >= 0 && grid < telemetry::gridCount;
}

QString rowCaption(int grid, int row)
{
    if (knownGrid(grid)) {
        const QStringList &captions = telemetry::gridLayout(grid).captions;
        if (row >= 1 && row <= captions.size())
            return captions.at(row - 1);
    }
    return QStringLiteral("row %1").arg(row);
}

QString gridTitle(int grid)
{
    return knownGrid(grid) ? telemetry::gridLayout(grid).tag : QStringLiteral("grid %1").arg(grid);
}

} // namespace

QString sideName(int side)
{
    return side == 0 ? QStringLiteral("A") : QStringLiteral("B");
}

QString channelTitle(const ChannelKey &key)
{
    return QStringLiteral("%1 %2 / %3")
        .arg(gridTitle(key.grid), rowCaption(key.grid, key.row), sideName(key.side));
}

std::vector<ChannelTreeGrid> channelTree(const QList<ChannelKey> &channels)
{
    QList<ChannelKey> sorted = channels;
    std::sort(sorted.begin(), sorted.end());
    std::vector<ChannelTreeGrid> tree;
    for (const ChannelKey &key : sorted) {
        if (tree.empty() || tree.back().grid != key.grid)
            tree.push_back({key.grid, gridTitle(key.grid), {}});
        auto &rows = tree.back().rows;
        if (rows.empty() || rows.back().row != key.row)
            rows.push_back({key.row, rowCaption(key.grid, key.row), {}});
        rows.back().sides.push_back(key);
    }
    return tree;
}

void ChannelPicks::setChecked(const ChannelKey &key, bool checked)
{
    const auto at = std::lower_bound(checked_.begin(), checked_.end(), key);
    const bool present = at != checked_.end() && *at == key;
    if (checked && !present)
        checked_.insert(at, key);
    else if (!checked && present)
        checked_.erase(at);
}

bool ChannelPicks::isChecked(const ChannelKey &key) const
{
    return std::binary_search(checked_.begin(), checked_.end(), key);
}

std::vector<UnitPane> ChannelPicks::panes(const ChannelSource &source) const
{
    std::vector<UnitPane> panes;
    for (const ChannelKey &key : checked_) {
        const QString unit = source.info(key).unit;
        auto pane = std::find_if(panes.begin(), panes.end(),
                                 [&](const UnitPane &p) { return p.unit == unit; });
        if (pane == panes.end())
            panes.push_back({unit, {key}});
        else
            pane->channels.push_back(key);
    }
    return panes;
}

} // namespace history
