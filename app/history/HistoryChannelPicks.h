// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "history/ChannelSeries.h"

namespace history {

// The channels of a source as the history window's tree shows them:
// grid, then row, then side A/B.
struct ChannelTreeRow
{
    int row = 1;
    QString caption; // the grid's row caption, e.g. "Batt A"
    std::vector<ChannelKey> sides;
};

struct ChannelTreeGrid
{
    int grid = 0;
    QString title; // the grid's tag, e.g. "POWER"
    std::vector<ChannelTreeRow> rows;
};

std::vector<ChannelTreeGrid> channelTree(const QList<ChannelKey> &channels);

// "A" or "B".
QString sideName(int side);

// "POWER Batt A / side A": the tree path of a channel in one line.
QString channelTitle(const ChannelKey &key);

// Channels that share a unit are drawn in one pane against one axis.
struct UnitPane
{
    QString unit;
    std::vector<ChannelKey> channels;
};

// The checked channels of the window, kept in grid, row, side order.
class ChannelPicks
{
public:
    void setChecked(const ChannelKey &key, bool checked);
    bool isChecked(const ChannelKey &key) const;
    const std::vector<ChannelKey> &checked() const { return checked_; }

    // One pane per unit, in the order the units first appear.
    std::vector<UnitPane> panes(const ChannelSource &source) const;

private:
    std::vector<ChannelKey> checked_;
};

} // namespace history
