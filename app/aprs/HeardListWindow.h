// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QWidget>

#include <functional>

class QComboBox;
class QLabel;
class QSortFilterProxyModel;
class QTableView;

namespace aprs {

class HeardListModel;
class HeardStations;

// The "Heard Stations" window: the stations heard, in a table sorted by any
// column, filtered by path (via ORVEX-1, direct, both) and time (this
// pass, today, all). refresh() reads the list again; the main window calls
// it when a packet is heard.
class HeardListWindow : public QWidget
{
    Q_OBJECT
public:
    // ms since 1970-01-01 UTC: now, and the start of the pass in progress
    // or of the last one.
    using Clock = std::function<qint64()>;

    HeardListWindow(const HeardStations &stations, Clock now, Clock passStart,
                    QWidget *parent = nullptr);

    void refresh();

    enum ViaChoice { ViaSatellite, Direct, Both };
    enum WhenChoice { ThisPass, Today, All };

    QComboBox *viaChoice = nullptr;
    QComboBox *whenChoice = nullptr;
    QTableView *table = nullptr;
    QLabel *countLabel = nullptr;
    HeardListModel *model = nullptr;
    QSortFilterProxyModel *sorted = nullptr;

private:
    const HeardStations &stations_;
    Clock now_;
    Clock passStart_;
};

} // namespace aprs
