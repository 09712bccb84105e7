// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryWindow.h"

#include "history/HistoryCsv.h"
#include "history/HistoryPlot.h"
#include "history/HistoryStatistics.h"
#include "platform/DateTime.h"
#include "telemetry/TelemetryGrids.h"
#include "ui/mb.h"

#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace history {

namespace {

constexpr int maxAlarmRows = 500;
constexpr qint64 dayMs = qint64{24} * 3600 * 1000;

const QList<QColor> &lineColors()
{
    static const QList<QColor> colors = {
        QColor(31, 119, 180),  QColor(214, 39, 40),  QColor(44, 160, 44), QColor(148, 103, 189),
        QColor(255, 127, 14),  QColor(23, 190, 207), QColor(140, 86, 75), QColor(227, 119, 194),
        QColor(127, 127, 127), QColor(188, 189, 34)};
    return colors;
}

QString utcText(qint64 utcMs)
{
    return orvex::UtcText::text(utcMs, orvex::UtcText::Style::Display);
}

QString valueText(const ChannelKey &key, double value)
{
    if (key.grid >= 0 && key.grid < telemetry::gridCount)
        return telemetry::formatGridValue(key.grid, value);
    return QString::number(value, 'g', 6);
}

QString channelName(const ChannelKey &key, const ChannelInfo &info)
{
    return info.name.isEmpty() ? channelTitle(key) : info.name;
}

QTableWidgetItem *cell(const QString &text, Qt::Alignment align = Qt::AlignRight)
{
    auto *item = new QTableWidgetItem(text);
    item->setTextAlignment(align | Qt::AlignVCenter);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return item;
}

QTableWidget *makeTable(const QStringList &headers, QWidget *parent)
{
    auto *table = new QTableWidget(0, int(headers.size()), parent);
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

QString swatch(const QColor &color, const QString &text)
{
    const QColor opaque(color.red(), color.green(), color.blue());
    const QColor shown = QColor::fromRgbF(1 - (1 - opaque.redF()) * color.alphaF() * 2.2,
                                          1 - (1 - opaque.greenF()) * color.alphaF() * 2.2,
                                          1 - (1 - opaque.blueF()) * color.alphaF() * 2.2);
    return QStringLiteral("<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span> %2")
        .arg(shown.name(), text.toHtmlEscaped());
}

// Whether [want] lies within [have], both clamped to what is stored.
bool covers(const std::optional<TimeSpan> &have, const TimeSpan &want, const TimeSpan &stored)
{
    if (!have)
        return false;
    const qint64 from = std::max(want.fromMs, stored.fromMs);
    const qint64 to = std::min(want.toMs, stored.toMs);
    return from > to || (have->fromMs <= from && have->toMs >= to); // nothing stored there
}

} // namespace

HistoryWindow::HistoryWindow(const ChannelSource &source, QWidget *parent)
    : QWidget(parent, Qt::Window), source_(source)
{
    setWindowTitle(QStringLiteral("Telemetry History"));
    auto *layout = new QVBoxLayout(this);

    auto *bar = new QHBoxLayout;
    const std::pair<const char *, HistoryRange> buttons[] = {{"Last pass", HistoryRange::LastPass},
                                                             {"24 hours", HistoryRange::Day},
                                                             {"7 days", HistoryRange::Week},
                                                             {"All", HistoryRange::All}};
    for (const auto &[text, range] : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(text), this);
        connect(button, &QPushButton::clicked, this, [this, range = range] { showRange(range); });
        bar->addWidget(button);
    }
    bar->addSpacing(16);
    auto *legend = new QLabel(this);
    legend->setText(swatch(HistoryPlot::shadowColor, QStringLiteral("Earth shadow")) +
                    QStringLiteral("&nbsp;&nbsp;&nbsp;") +
                    swatch(HistoryPlot::inViewColor, QStringLiteral("in view of the station")) +
                    QStringLiteral("&nbsp;&nbsp;&nbsp;<span style=\"color:red\">&#9675;</span> "
                                   "outside limits"));
    bar->addWidget(legend);
    bar->addStretch();
    auto *exportButton = new QPushButton(QStringLiteral("Export..."), this);
    connect(exportButton, &QPushButton::clicked, this, &HistoryWindow::chooseExportFile);
    bar->addWidget(exportButton);
    layout->addLayout(bar);

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("channels"));
    tree_->setHeaderLabel(QStringLiteral("Channels"));
    connect(tree_, &QTreeWidget::itemChanged, this, &HistoryWindow::onItemChanged);

    auto *centre = new QWidget(this);
    auto *centreLayout = new QVBoxLayout(centre);
    centreLayout->setContentsMargins(0, 0, 0, 0);
    plot_ = new HistoryPlot(centre);
    readout_ = new QLabel(QStringLiteral(" "), centre);
    readout_->setObjectName(QStringLiteral("cursorReadout"));
    readout_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    centreLayout->addWidget(plot_, 1);
    centreLayout->addWidget(readout_);
    connect(plot_, &HistoryPlot::viewChanged, this, &HistoryWindow::onViewChanged);
    connect(plot_, &HistoryPlot::cursorMoved, this, &HistoryWindow::onCursorMoved);

    auto *side = new QWidget(this);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    rangeLabel_ = new QLabel(side);
    rangeLabel_->setWordWrap(true);
    statistics_ =
        makeTable({QStringLiteral("Channel"), QStringLiteral("Min"), QStringLiteral("Max"),
                   QStringLiteral("Mean"), QStringLiteral("Last"), QStringLiteral("Unit")},
                  side);
    statistics_->setObjectName(QStringLiteral("statistics"));
    sideLayout->addWidget(rangeLabel_);
    sideLayout->addWidget(statistics_, 1);

    auto *alarmBox = new QWidget(this);
    auto *alarmLayout = new QVBoxLayout(alarmBox);
    alarmLayout->setContentsMargins(0, 0, 0, 0);
    alarmTitle_ = new QLabel(alarmBox);
    alarms_ = makeTable({QStringLiteral("Time (UTC)"), QStringLiteral("Channel"),
                         QStringLiteral("Value"), QStringLiteral("Limit")},
                        alarmBox);
    alarms_->setObjectName(QStringLiteral("alarms"));
    connect(alarms_, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { onAlarmActivated(row); });
    alarmLayout->addWidget(alarmTitle_);
    alarmLayout->addWidget(alarms_, 1);

    auto *across = new QSplitter(Qt::Horizontal, this);
    across->addWidget(tree_);
    across->addWidget(centre);
    across->addWidget(side);
    across->setStretchFactor(1, 1);
    across->setSizes({210, 760, 380});
    auto *down = new QSplitter(Qt::Vertical, this);
    down->addWidget(across);
    down->addWidget(alarmBox);
    down->setStretchFactor(0, 1);
    down->setSizes({560, 150});
    layout->addWidget(down, 1);

    resize(1360, 820);
    fillTree();
    showRange(HistoryRange::Day);
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::setShadowSpans(SpanQuery query)
{
    shadowQuery_ = std::move(query);
    shadedSpan_.reset();
    onViewChanged(plot_->view().fromMs, plot_->view().toMs);
}

void HistoryWindow::setInViewSpans(SpanQuery query)
{
    inViewQuery_ = std::move(query);
    shadedSpan_.reset();
    onViewChanged(plot_->view().fromMs, plot_->view().toMs);
}

void HistoryWindow::reload()
{
    loadedSpan_.reset();
    fillTree();
    rebuildPlot();
}

void HistoryWindow::fillTree()
{
    filling_ = true;
    tree_->clear();
    for (const ChannelTreeGrid &grid : channelTree(source_.channels())) {
        auto *gridItem = new QTreeWidgetItem(tree_, {grid.title});
        for (const ChannelTreeRow &row : grid.rows) {
            auto *rowItem = new QTreeWidgetItem(gridItem, {row.caption});
            for (const ChannelKey &key : row.sides) {
                auto *sideItem =
                    new QTreeWidgetItem(rowItem, {QStringLiteral("Side ") + sideName(key.side)});
                sideItem->setData(0, Qt::UserRole,
                                  QVariant::fromValue(QList<int>{key.grid, key.row, key.side}));
                sideItem->setCheckState(0, picks_.isChecked(key) ? Qt::Checked : Qt::Unchecked);
                sideItem->setToolTip(0, channelName(key, source_.info(key)));
            }
        }
    }
    tree_->expandAll();
    filling_ = false;
}

void HistoryWindow::onItemChanged(QTreeWidgetItem *item)
{
    const QList<int> parts = item->data(0, Qt::UserRole).value<QList<int>>();
    if (filling_ || parts.size() != 3)
        return;
    const ChannelKey key{parts[0], parts[1], parts[2]};
    const bool checked = item->checkState(0) == Qt::Checked;
    if (checked == picks_.isChecked(key))
        return;
    picks_.setChecked(key, checked);
    if (!checked)
        loaded_.erase(key);
    rebuildPlot();
}

void HistoryWindow::rebuildPlot()
{
    ensureLoaded(plot_->view());
    std::vector<HistoryPlot::Pane> panes;
    for (const UnitPane &unitPane : picks_.panes(source_)) {
        HistoryPlot::Pane pane{unitPane.unit, {}};
        for (const ChannelKey &key : unitPane.channels) {
            const auto index = std::find(picks_.checked().begin(), picks_.checked().end(), key) -
                               picks_.checked().begin();
            pane.channels.push_back({key, source_.info(key),
                                     lineColors().at(index % lineColors().size()), &loaded_[key]});
        }
        panes.push_back(std::move(pane));
    }
    plot_->setPanes(std::move(panes));
    updateStatistics();
    updateAlarms();
}

void HistoryWindow::showRange(HistoryRange range)
{
    const std::optional<TimeSpan> stored = source_.storedSpan();
    std::vector<TimeSpan> passes;
    if (range == HistoryRange::LastPass && stored && inViewQuery_)
        passes = inViewQuery_(std::max(stored->fromMs, stored->toMs - dayMs), stored->toMs);
    QList<ChannelKey> keys(picks_.checked().begin(), picks_.checked().end());
    if (keys.isEmpty())
        keys = source_.channels();
    const auto hasData = [&](const TimeSpan &span) {
        return std::any_of(keys.begin(), keys.end(), [&](const ChannelKey &key) {
            return !source_.series(key, span.fromMs, span.toMs).empty();
        });
    };
    if (const auto span = rangeSpan(range, stored, passes, hasData))
        plot_->setView(*span);
}

void HistoryWindow::ensureLoaded(const TimeSpan &view)
{
    const std::optional<TimeSpan> stored = source_.storedSpan();
    if (!stored)
        return;
    const bool missing = std::any_of(picks_.checked().begin(), picks_.checked().end(),
                                     [&](const ChannelKey &key) { return !loaded_.count(key); });
    if (!covers(loadedSpan_, view, *stored)) {
        // A view's width more on each side, so that panning reads seldom.
        const qint64 width = view.toMs - view.fromMs;
        loadedSpan_ = TimeSpan{std::max(stored->fromMs, view.fromMs - width),
                               std::min(stored->toMs, view.toMs + width)};
        for (const ChannelKey &key : picks_.checked())
            loaded_[key] = source_.series(key, loadedSpan_->fromMs, loadedSpan_->toMs);
    } else if (missing) {
        for (const ChannelKey &key : picks_.checked())
            if (!loaded_.count(key))
                loaded_[key] = source_.series(key, loadedSpan_->fromMs, loadedSpan_->toMs);
    }
}

void HistoryWindow::ensureShading(const TimeSpan &view)
{
    if (shadedSpan_ && shadedSpan_->fromMs <= view.fromMs && shadedSpan_->toMs >= view.toMs)
        return;
    const qint64 width = view.toMs - view.fromMs;
    shadedSpan_ = TimeSpan{view.fromMs - width, view.toMs + width};
    plot_->setShading(shadowQuery_ ? shadowQuery_(shadedSpan_->fromMs, shadedSpan_->toMs)
                                   : std::vector<TimeSpan>{},
                      inViewQuery_ ? inViewQuery_(shadedSpan_->fromMs, shadedSpan_->toMs)
                                   : std::vector<TimeSpan>{});
}

void HistoryWindow::onViewChanged(qint64 fromMs, qint64 toMs)
{
    ensureLoaded({fromMs, toMs});
    ensureShading({fromMs, toMs});
    plot_->refresh();
    updateStatistics();
    updateAlarms();
}

void HistoryWindow::updateStatistics()
{
    const TimeSpan view = plot_->view();
    rangeLabel_->setText(
        QStringLiteral("Shown: %1 to %2 UTC").arg(utcText(view.fromMs), utcText(view.toMs)));
    const auto &checked = picks_.checked();
    statistics_->setRowCount(int(checked.size()));
    for (size_t i = 0; i < checked.size(); ++i) {
        const ChannelKey &key = checked[i];
        const ChannelInfo info = source_.info(key);
        const ChannelStatistics stats = statisticsOver(loaded_[key], view);
        const int row = int(i);
        auto *name = cell(channelName(key, info), Qt::AlignLeft);
        name->setForeground(lineColors().at(i % lineColors().size()));
        statistics_->setItem(row, 0, name);
        const double values[] = {stats.min, stats.max, stats.mean, stats.last};
        for (int column = 1; column <= 4; ++column) {
            const double value = values[column - 1];
            auto *item = cell(stats.count ? valueText(key, value) : QStringLiteral("-"));
            if (stats.count && column != 3 && outsideLimits(info, value))
                item->setForeground(Qt::red);
            if (column == 4 && stats.count)
                item->setToolTip(utcText(stats.lastMs) + QStringLiteral(" UTC"));
            statistics_->setItem(row, column, item);
        }
        statistics_->setItem(row, 5, cell(info.unit, Qt::AlignLeft));
    }
}

void HistoryWindow::updateAlarms()
{
    const TimeSpan view = plot_->view();
    std::vector<LimitAlarm> all;
    for (const ChannelKey &key : picks_.checked()) {
        const auto found = limitAlarms(key, source_.info(key), loaded_[key], view);
        all.insert(all.end(), found.begin(), found.end());
    }
    std::stable_sort(all.begin(), all.end(), [](const LimitAlarm &a, const LimitAlarm &b) {
        return a.utcMs != b.utcMs ? a.utcMs < b.utcMs : a.key < b.key;
    });
    const int shown = std::min<int>(int(all.size()), maxAlarmRows);
    alarmTitle_->setText(
        all.empty() ? QStringLiteral("Alarms: no value outside its limits in the time shown")
        : int(all.size()) > shown
            ? QStringLiteral("Alarms: %1 values outside their limits (the first %2 listed)")
                  .arg(all.size())
                  .arg(shown)
            : QStringLiteral("Alarms: %1 values outside their limits").arg(all.size()));
    alarms_->setRowCount(shown);
    for (int row = 0; row < shown; ++row) {
        const LimitAlarm &alarm = all[size_t(row)];
        const ChannelInfo info = source_.info(alarm.key);
        auto *time = cell(utcText(alarm.utcMs), Qt::AlignLeft);
        time->setData(Qt::UserRole, alarm.utcMs);
        alarms_->setItem(row, 0, time);
        alarms_->setItem(row, 1, cell(channelName(alarm.key, info), Qt::AlignLeft));
        alarms_->setItem(row, 2,
                         cell(valueText(alarm.key, alarm.value) + QLatin1Char(' ') + info.unit));
        alarms_->setItem(
            row, 3,
            cell(QStringLiteral("%1 %2 %3")
                     .arg(alarm.breached == LimitBreached::Low ? QStringLiteral("below low")
                                                               : QStringLiteral("above high"),
                          valueText(alarm.key, alarm.limit), info.unit),
                 Qt::AlignLeft));
    }
}

void HistoryWindow::onAlarmActivated(int row)
{
    const QTableWidgetItem *time = alarms_->item(row, 0);
    if (!time)
        return;
    const qint64 at = time->data(Qt::UserRole).toLongLong();
    const TimeSpan view = plot_->view();
    const qint64 half = std::min<qint64>((view.toMs - view.fromMs) / 2, qint64{30} * 60 * 1000);
    plot_->setView({at - half, at + half});
}

void HistoryWindow::onCursorMoved(qint64 utcMs, const QString &unit)
{
    QStringList parts{utcText(utcMs) + QStringLiteral(" UTC")};
    const TimeSpan view = plot_->view();
    // Within a few pixels of the cursor, or nothing is read out.
    const double reachMs = double(view.toMs - view.fromMs) / std::max(plot_->width(), 1) * 6;
    for (const ChannelKey &key : picks_.checked()) {
        const ChannelInfo info = source_.info(key);
        if (info.unit != unit)
            continue;
        const auto &points = loaded_[key];
        const auto after =
            std::lower_bound(points.begin(), points.end(), utcMs,
                             [](const ChannelPoint &point, qint64 ms) { return point.utcMs < ms; });
        const ChannelPoint *nearest = nullptr;
        if (after != points.end())
            nearest = &*after;
        if (after != points.begin() &&
            (!nearest || utcMs - (after - 1)->utcMs < nearest->utcMs - utcMs))
            nearest = &*(after - 1);
        if (nearest && std::abs(double(nearest->utcMs - utcMs)) <= reachMs)
            parts.append(
                QStringLiteral("%1: %2 %3")
                    .arg(channelName(key, info), valueText(key, nearest->value), info.unit));
    }
    readout_->setText(parts.join(QStringLiteral("    ")));
}

void HistoryWindow::chooseExportFile()
{
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Export telemetry"), QStringLiteral("telemetry.csv"),
        QStringLiteral("CSV files (*.csv);;All files (*)"));
    if (!path.isEmpty())
        exportCsv(path);
}

bool HistoryWindow::exportCsv(const QString &path)
{
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) &&
                    writeHistoryCsv(file, source_, picks_.checked(), plot_->view()) &&
                    file.commit();
    if (!ok)
        mb::ShowMsg(this, QStringLiteral("Could not write %1: %2").arg(path, file.errorString()),
                    mb::vbExclamation, windowTitle());
    return ok;
}

} // namespace history
