// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryWindow.h"

#include "history/HistoryCsv.h"
#include "history/HistoryPlot.h"
#include "history/HistoryStatistics.h"
#include "platform/DateTime.h"
#include "shared/clsIni.h"
#include "telemetry/TelemetryGrids.h"
#include "ui/mb.h"

#include <QAbstractTableModel>
#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace history {

namespace {

constexpr int maxAlarmRows = 500;
constexpr qint64 dayMs = qint64{24} * 3600 * 1000;
constexpr int followIntervalMs = 1000;
const QString settingsSection = QStringLiteral("HISTORY");

// "0011": grid, row in two digits, side; one after the other.
QString keysText(const std::vector<ChannelKey> &keys)
{
    QString text;
    for (const ChannelKey &key : keys)
        text += QStringLiteral("%1%2%3")
                    .arg(key.grid)
                    .arg(key.row, 2, 10, QLatin1Char('0'))
                    .arg(key.side);
    return text;
}

std::vector<ChannelKey> keysFrom(const QString &text)
{
    std::vector<ChannelKey> keys;
    for (qsizetype at = 0; at + 4 <= text.size(); at += 4) {
        bool gridOk = false, rowOk = false, sideOk = false;
        const ChannelKey key{text.mid(at, 1).toInt(&gridOk), text.mid(at + 1, 2).toInt(&rowOk),
                             text.mid(at + 3, 1).toInt(&sideOk)};
        if (gridOk && rowOk && sideOk)
            keys.push_back(key);
    }
    return keys;
}

QString sizesText(const QList<int> &sizes)
{
    QStringList parts;
    for (const int size : sizes)
        parts << QString::number(size);
    return parts.join(QLatin1Char(','));
}

void restoreSizes(QSplitter *splitter, const QString &text)
{
    QList<int> sizes;
    for (const QString &part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int size = part.toInt(&ok);
        if (!ok || size < 0)
            return;
        sizes << size;
    }
    if (sizes.size() == splitter->count())
        splitter->setSizes(sizes);
}

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

} // namespace

// The alarm list: the alarms in a model that formats only the rows in sight,
// so that listing hundreds costs next to nothing.
class AlarmModel : public QAbstractTableModel
{
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setAlarms(std::vector<LimitAlarm> alarms, std::map<ChannelKey, ChannelInfo> infos)
    {
        beginResetModel();
        alarms_ = std::move(alarms);
        infos_ = std::move(infos);
        endResetModel();
    }

    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : int(alarms_.size());
    }
    int columnCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : 4; }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        static const QStringList headers{QStringLiteral("Time (UTC)"), QStringLiteral("Channel"),
                                         QStringLiteral("Value"), QStringLiteral("Limit")};
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return headers.value(section);
        return {};
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (!index.isValid() || index.row() >= int(alarms_.size()))
            return {};
        const LimitAlarm &alarm = alarms_[size_t(index.row())];
        if (role == Qt::UserRole)
            return alarm.utcMs;
        if (role == Qt::TextAlignmentRole)
            return int((index.column() == 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        if (role != Qt::DisplayRole)
            return {};
        const auto found = infos_.find(alarm.key);
        const ChannelInfo info = found == infos_.end() ? ChannelInfo{} : found->second;
        switch (index.column()) {
        case 0:
            return utcText(alarm.utcMs);
        case 1:
            return channelName(alarm.key, info);
        case 2:
            return valueText(alarm.key, alarm.value) + QLatin1Char(' ') + info.unit;
        default:
            return QStringLiteral("%1 %2 %3")
                .arg(alarm.breached == LimitBreached::Low ? QStringLiteral("below low")
                                                          : QStringLiteral("above high"),
                     valueText(alarm.key, alarm.limit), info.unit);
        }
    }

private:
    std::vector<LimitAlarm> alarms_;
    std::map<ChannelKey, ChannelInfo> infos_;
};

namespace {

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
    alarms_ = new QTableView(alarmBox);
    alarmModel_ = new AlarmModel(alarms_);
    alarms_->setModel(alarmModel_);
    alarms_->setObjectName(QStringLiteral("alarms"));
    alarms_->verticalHeader()->hide();
    alarms_->setSelectionBehavior(QAbstractItemView::SelectRows);
    alarms_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    alarms_->horizontalHeader()->setStretchLastSection(true);
    // Sized by the rows in sight only.
    alarms_->horizontalHeader()->setResizeContentsPrecision(0);
    connect(alarms_, &QTableView::doubleClicked, this,
            [this](const QModelIndex &index) { onAlarmActivated(index.row()); });
    alarmLayout->addWidget(alarmTitle_);
    alarmLayout->addWidget(alarms_, 1);

    across_ = new QSplitter(Qt::Horizontal, this);
    across_->setObjectName(QStringLiteral("across"));
    across_->addWidget(tree_);
    across_->addWidget(centre);
    across_->addWidget(side);
    across_->setStretchFactor(1, 1);
    // The plot takes most of the width: at 1024x768 the statistics would
    // otherwise leave it a third.
    across_->setSizes({200, 760, 250});
    down_ = new QSplitter(Qt::Vertical, this);
    down_->setObjectName(QStringLiteral("down"));
    down_->addWidget(across_);
    down_->addWidget(alarmBox);
    down_->setStretchFactor(0, 1);
    down_->setSizes({560, 150});
    layout->addWidget(down_, 1);

    resize(1360, 820);
    fillTree();
    showRange(HistoryRange::Day);
    if (const auto stored = source_.storedSpan())
        storedEnd_ = stored->toMs;
    auto *follow = new QTimer(this);
    follow->setInterval(followIntervalMs);
    connect(follow, &QTimer::timeout, this, &HistoryWindow::followStore);
    follow->start();
}

HistoryWindow::~HistoryWindow() = default;

void HistoryWindow::readInBackground(BackgroundReader::Opener opener)
{
    reader_ = std::make_unique<BackgroundReader>(std::move(opener));
    reload();
}

void HistoryWindow::useSettings(clsIni *ini)
{
    ini_ = ini;
    restoreSettings();
}

void HistoryWindow::restoreSettings()
{
    if (!ini_)
        return;
    const auto read = [this](const char *key) {
        return ini_->GetIniString(settingsSection, QString::fromLatin1(key), QString());
    };
    const QList<ChannelKey> known = source_.channels();
    for (const ChannelKey &key : keysFrom(read("CHANNELS")))
        if (known.contains(key))
            picks_.setChecked(key, true);
    restoreSizes(across_, read("ACROSS"));
    restoreSizes(down_, read("DOWN"));
    fillTree();
    rebuildPlot();
    const QStringList view = read("VIEW").split(QLatin1Char(','));
    bool fromOk = false, toOk = false;
    const qint64 from = view.value(0).toLongLong(&fromOk);
    const qint64 to = view.value(1).toLongLong(&toOk);
    const std::optional<TimeSpan> stored = source_.storedSpan();
    if (!fromOk || !toOk || to <= from || !stored)
        return;
    // A view that followed the store follows it still, as wide as it was.
    if (clsIni::IsItTrue(read("FOLLOW")))
        plot_->setView({stored->toMs - (to - from), stored->toMs});
    else
        plot_->setView({from, to});
}

void HistoryWindow::saveSettings()
{
    if (!ini_)
        return;
    const TimeSpan view = plot_->view();
    const bool following = storedEnd_ && view.toMs >= *storedEnd_;
    ini_->SaveIniStrings(
        settingsSection,
        {{QStringLiteral("CHANNELS"), keysText(picks_.checked())},
         {QStringLiteral("VIEW"), QStringLiteral("%1,%2").arg(view.fromMs).arg(view.toMs)},
         {QStringLiteral("FOLLOW"), clsIni::TrueOrFalse(following)},
         {QStringLiteral("ACROSS"), sizesText(across_->sizes())},
         {QStringLiteral("DOWN"), sizesText(down_->sizes())}});
}

void HistoryWindow::closeEvent(QCloseEvent *event)
{
    saveSettings();
    QWidget::closeEvent(event);
}

void HistoryWindow::followStore()
{
    const std::optional<TimeSpan> stored = source_.storedSpan();
    if (!stored || (storedEnd_ && stored->toMs <= *storedEnd_))
        return;
    const TimeSpan view = plot_->view();
    const bool following = storedEnd_ && view.toMs >= *storedEnd_;
    const bool wasEmpty = !storedEnd_;
    storedEnd_ = stored->toMs;
    if (wasEmpty) {
        reload();
        showRange(HistoryRange::Day);
    } else if (following && view.toMs < stored->toMs) {
        const qint64 shift = stored->toMs - view.toMs;
        plot_->setView({view.fromMs + shift, stored->toMs});
    } else {
        onViewChanged(view.fromMs, view.toMs); // the new values may be in view
    }
}

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
    loadedKeys_.clear();
    ++generation_;
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
    if (!checked) {
        loaded_.erase(key);
        loadedKeys_.erase(key);
    }
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
    if (!stored || picks_.checked().empty())
        return;
    Load load;
    load.generation = generation_;
    const std::vector<ChannelKey> &checked = picks_.checked();
    if (!covers(loadedSpan_, view, *stored)) {
        // A view's width more on each side, so that panning reads seldom;
        // what is loaded already is kept and only the rest read.
        const qint64 width = view.toMs - view.fromMs;
        const TimeSpan want{std::max(stored->fromMs, view.fromMs - width),
                            std::min(stored->toMs, view.toMs + width)};
        const bool joins = loadedSpan_ && want.fromMs <= loadedSpan_->toMs + 1 &&
                           want.toMs + 1 >= loadedSpan_->fromMs;
        if (joins) {
            std::vector<ChannelKey> have(loadedKeys_.begin(), loadedKeys_.end());
            if (want.fromMs < loadedSpan_->fromMs)
                load.jobs.push_back({have, {want.fromMs, loadedSpan_->fromMs - 1}});
            if (want.toMs > loadedSpan_->toMs)
                load.jobs.push_back({have, {loadedSpan_->toMs + 1, want.toMs}});
            load.span = {std::min(want.fromMs, loadedSpan_->fromMs),
                         std::max(want.toMs, loadedSpan_->toMs)};
        } else {
            load.fresh = true;
            load.span = want;
            load.jobs.push_back({checked, want});
        }
    } else {
        load.span = *loadedSpan_;
    }
    if (!load.fresh) {
        std::vector<ChannelKey> missing;
        for (const ChannelKey &key : checked)
            if (!loadedKeys_.count(key))
                missing.push_back(key);
        if (!missing.empty())
            load.jobs.push_back({missing, load.span});
    }
    if (load.jobs.empty())
        return;
    if (!reader_) {
        takeLoad(load, readJobs(&source_, load.jobs));
        return;
    }
    reader_->read(load.jobs, [this, load](std::vector<ChannelValues> values) {
        takeLoad(load, std::move(values));
        if (load.generation + 1 == generation_) { // taken: shown
            plot_->refresh();
            updateStatistics();
            updateAlarms();
        }
    });
}

void HistoryWindow::takeLoad(const Load &load, std::vector<ChannelValues> values)
{
    if (load.generation != generation_) {
        // Begun before what is loaded changed: read again what is missing.
        ensureLoaded(plot_->view());
        return;
    }
    for (size_t i = 0; i < load.jobs.size(); ++i) {
        const ReadJob &job = load.jobs[i];
        for (const ChannelKey &key : job.keys) {
            if (!picks_.isChecked(key))
                continue; // unticked since
            std::vector<ChannelPoint> &read = values[i][key];
            std::vector<ChannelPoint> &have = loaded_[key];
            if (load.fresh || !loadedKeys_.count(key))
                have = std::move(read);
            else if (job.span.toMs < loadedSpan_->fromMs)
                have.insert(have.begin(), read.begin(), read.end());
            else
                have.insert(have.end(), read.begin(), read.end());
        }
    }
    if (load.fresh)
        loadedKeys_.clear();
    for (const ReadJob &job : load.jobs)
        for (const ChannelKey &key : job.keys)
            if (picks_.isChecked(key))
                loadedKeys_.insert(key);
    loadedSpan_ = load.span;
    ++generation_;
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
    std::vector<AlarmChannel> channels;
    for (const ChannelKey &key : picks_.checked())
        channels.push_back({key, source_.info(key), &loaded_[key]});
    const AlarmList found = firstAlarms(channels, view, maxAlarmRows);
    const QLocale locale;
    if (found.total() == 0)
        alarmTitle_->setText(
            QStringLiteral("Alarms: no value outside its limits in the time shown"));
    else
        alarmTitle_->setText(
            QStringLiteral("Alarms: %1 values outside their limits in the time shown (%2 below "
                           "low, %3 above high)%4")
                .arg(locale.toString(qulonglong(found.total())),
                     locale.toString(qulonglong(found.below)),
                     locale.toString(qulonglong(found.above)),
                     found.total() > found.listed.size()
                         ? QStringLiteral("; the first %1 listed").arg(found.listed.size())
                         : QString()));
    std::map<ChannelKey, ChannelInfo> infos;
    for (const AlarmChannel &channel : channels)
        infos[channel.key] = channel.info;
    alarmModel_->setAlarms(found.listed, std::move(infos));
    if (!found.listed.empty() && !alarmsSized_) {
        alarms_->resizeColumnsToContents();
        alarmsSized_ = true;
    }
}

void HistoryWindow::onAlarmActivated(int row)
{
    const QVariant time = alarmModel_->index(row, 0).data(Qt::UserRole);
    if (!time.isValid())
        return;
    const qint64 at = time.toLongLong();
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
