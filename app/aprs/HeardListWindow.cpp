// SPDX-License-Identifier: GPL-2.0-or-later
#include "aprs/HeardListWindow.h"

#include "aprs/HeardListModel.h"
#include "aprs/HeardStations.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace aprs {

namespace {
constexpr int maxColumnWidth = 260;
}

HeardListWindow::HeardListWindow(const HeardStations &stations, Clock now, Clock passStart,
                                 QWidget *parent)
    : QWidget(parent, Qt::Window), stations_(stations), now_(std::move(now)),
      passStart_(std::move(passStart))
{
    setObjectName(QStringLiteral("heardListWindow"));
    setWindowTitle(QStringLiteral("Heard Stations"));

    viaChoice = new QComboBox(this);
    viaChoice->setObjectName(QStringLiteral("heardVia"));
    viaChoice->addItems({QStringLiteral("Via ORVEX-1"), QStringLiteral("Direct"),
                         QStringLiteral("Via ORVEX-1 or direct")});
    viaChoice->setCurrentIndex(Both);
    whenChoice = new QComboBox(this);
    whenChoice->setObjectName(QStringLiteral("heardWhen"));
    whenChoice->addItems(
        {QStringLiteral("This pass"), QStringLiteral("Today (UTC)"), QStringLiteral("All")});
    whenChoice->setCurrentIndex(All);
    countLabel = new QLabel(this);
    countLabel->setObjectName(QStringLiteral("heardCount"));
    countLabel->setTextFormat(Qt::PlainText);

    model = new HeardListModel(this);
    sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(model);
    sorted->setSortRole(HeardListModel::sortRole);
    sorted->setSortCaseSensitivity(Qt::CaseInsensitive);
    table = new QTableView(this);
    table->setObjectName(QStringLiteral("heardTable"));
    table->setModel(sorted);
    table->setSortingEnabled(true);
    table->sortByColumn(HeardListModel::LastColumn, Qt::DescendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
    table->setTextElideMode(Qt::ElideRight);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);

    auto *filters = new QHBoxLayout;
    filters->addWidget(viaChoice);
    filters->addWidget(whenChoice);
    filters->addStretch(1);
    filters->addWidget(countLabel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(table, 1);
    resize(900, 420);

    connect(viaChoice, &QComboBox::currentIndexChanged, this, &HeardListWindow::refresh);
    connect(whenChoice, &QComboBox::currentIndexChanged, this, &HeardListWindow::refresh);
    refresh();
}

void HeardListWindow::refresh()
{
    const HeardVia via = viaChoice->currentIndex() == ViaSatellite ? HeardVia::Satellite
                         : viaChoice->currentIndex() == Direct     ? HeardVia::Direct
                                                                   : HeardVia::Both;
    qint64 since = std::numeric_limits<qint64>::min();
    if (whenChoice->currentIndex() == ThisPass) {
        since = passStart_();
    } else if (whenChoice->currentIndex() == Today) {
        constexpr qint64 msPerDay = 86400000;
        const qint64 now = now_();
        since = now - ((now % msPerDay) + msPerDay) % msPerDay;
    }
    model->setStations(stations_.stations(via, since));
    countLabel->setText(
        QStringLiteral("%1 of %2 stations").arg(model->rowCount()).arg(stations_.size()));
    // Outside texts are cut short, never let widen the window.
    table->resizeColumnsToContents();
    for (int column = 0; column < HeardListModel::ColumnCount; ++column)
        table->setColumnWidth(column, std::min(table->columnWidth(column), maxColumnWidth));
}

} // namespace aprs
