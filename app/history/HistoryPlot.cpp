// SPDX-License-Identifier: GPL-2.0-or-later
#include "history/HistoryPlot.h"

#include "history/HistoryStatistics.h"
#include "history/PlotDownsample.h"
#include "telemetry/TelemetryGrids.h"

#include <QDateTime>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace history {

const QColor HistoryPlot::shadowColor(70, 70, 100, 80);
const QColor HistoryPlot::inViewColor(40, 180, 60, 110);

// Intervals of time painted as bands across a pane, behind the lines: one
// item for all spans, so that a week of orbits costs one draw call per pane.
class SpanShading : public QCPAbstractItem
{
public:
    SpanShading(QCustomPlot *plot, QCPAxisRect *rect, const QColor &color)
        : QCPAbstractItem(plot), color_(color)
    {
        setClipAxisRect(rect);
        setSelectable(false);
        setLayer(QStringLiteral("shading"));
    }

    void setSpans(const std::vector<TimeSpan> &spans) { spans_ = spans; }

    double selectTest(const QPointF &, bool, QVariant *) const override { return -1; }

protected:
    void draw(QCPPainter *painter) override
    {
        QCPAxis *axis = clipAxisRect()->axis(QCPAxis::atBottom);
        const QRectF area = clipAxisRect()->rect();
        for (const TimeSpan &span : spans_) {
            const double left = std::max(axis->coordToPixel(span.fromMs / 1000.0), area.left());
            const double right = std::min(axis->coordToPixel(span.toMs / 1000.0), area.right());
            if (right < area.left() || left > area.right())
                continue;
            // At least a pixel, so that a short span stays visible zoomed out.
            painter->fillRect(QRectF(left, area.top(), std::max(right - left, 1.0), area.height()),
                              color_);
        }
    }

private:
    QColor color_;
    std::vector<TimeSpan> spans_;
};

namespace {

QString timeFormat(qint64 viewMs)
{
    constexpr qint64 hourMs = qint64{3600} * 1000;
    if (viewMs > qint64{3} * 24 * hourMs)
        return QStringLiteral("ddd MM-dd\nHH:mm");
    if (viewMs > qint64{20} * 60 * 1000)
        return QStringLiteral("MM-dd\nHH:mm");
    return QStringLiteral("HH:mm:ss");
}

// Asks `ticker` for as many time labels over `range` as fit across `width`
// pixels without touching: it rounds to whole minutes, hours and days and
// may give more than it is asked for, so fewer are asked until its step
// leaves each label room.
void fitTimeTicks(QCPAxisTickerDateTime &ticker, const QFont &font, const QString &format,
                  const QCPRange &range, int width)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString &line : format.split(QLatin1Char('\n')))
        widest = std::max(
            widest, metrics.horizontalAdvance(
                        QDateTime(QDate(2026, 12, 30), QTime(23, 59, 59), Qt::UTC).toString(line)));
    const double room = widest + metrics.horizontalAdvance(QStringLiteral("MM"));
    for (int count = std::max(1, int(width / room)); count >= 1; --count) {
        ticker.setTickCount(count);
        QVector<double> ticks;
        ticker.generate(range, QLocale::c(), QLatin1Char('g'), 6, ticks, nullptr, nullptr);
        if (ticks.size() < 2 || (ticks[1] - ticks[0]) * width / range.size() >= room)
            return;
    }
}

// "low 7.00 V": the limit in its grid column's format, as the grids show values.
QString limitText(const char *which, const ChannelKey &key, double limit, const QString &unit)
{
    const QString value = key.grid >= 0 && key.grid < telemetry::gridCount
                              ? telemetry::formatGridValue(key.grid, limit)
                              : QString::number(limit);
    return QStringLiteral("%1 %2 %3").arg(QLatin1String(which), value, unit);
}

} // namespace

HistoryPlot::HistoryPlot(QWidget *parent) : QCustomPlot(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setNoAntialiasingOnDrag(true);
    setPlottingHint(QCP::phFastPolylines, true);
    addLayer(QStringLiteral("shading"), layer(QStringLiteral("grid")), limBelow);
    setMouseTracking(true);
    setPanes({});
}

void HistoryPlot::setPanes(std::vector<Pane> panes)
{
    clearItems();
    clearGraphs();
    plotLayout()->clear();
    parts_.clear();
    panes_ = std::move(panes);

    // An empty plot still shows its time axis.
    const size_t paneCount = std::max<size_t>(panes_.size(), 1);
    auto *margins = new QCPMarginGroup(this);
    for (size_t i = 0; i < paneCount; ++i) {
        PaneParts parts;
        parts.rect = new QCPAxisRect(this);
        plotLayout()->addElement(plotLayout()->rowCount(), 0, parts.rect);
        parts.rect->setRangeDrag(Qt::Horizontal);
        parts.rect->setRangeZoom(Qt::Horizontal);
        parts.rect->setMarginGroup(QCP::msLeft | QCP::msRight, margins);
        QCPAxis *x = parts.rect->axis(QCPAxis::atBottom);
        QCPAxis *y = parts.rect->axis(QCPAxis::atLeft);
        QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
        ticker->setDateTimeSpec(Qt::UTC);
        ticker->setDateTimeFormat(timeFormat(view_.toMs - view_.fromMs));
        x->setTicker(ticker);
        const bool bottom = i + 1 == paneCount;
        x->setTickLabels(bottom);
        if (bottom)
            x->setLabel(QStringLiteral("UTC"));
        x->setRange(view_.fromMs / 1000.0, view_.toMs / 1000.0);
        connect(x, qOverload<const QCPRange &>(&QCPAxis::rangeChanged), this,
                &HistoryPlot::onAxisRange);

        parts.shadow = new SpanShading(this, parts.rect, shadowColor);
        parts.inView = new SpanShading(this, parts.rect, inViewColor);
        parts.cursor = new QCPItemStraightLine(this);
        parts.cursor->setClipAxisRect(parts.rect);
        for (QCPItemPosition *end : {parts.cursor->point1, parts.cursor->point2})
            end->setAxes(x, y);
        parts.cursor->setPen(QPen(QColor(60, 60, 60), 1, Qt::DotLine));
        parts.cursor->setVisible(false);

        if (i >= panes_.size()) {
            y->setLabel(QStringLiteral("Tick channels in the tree to plot them"));
            y->setTickLabels(false);
            parts_.push_back(parts);
            continue;
        }
        const Pane &pane = panes_[i];
        y->setLabel(pane.unit);
        // Above its pane, in a row of the layout of its own: never over the lines.
        auto *paneLegend = new QCPLegend;
        plotLayout()->insertRow(int(2 * i));
        plotLayout()->addElement(int(2 * i), 0, paneLegend);
        plotLayout()->setRowStretchFactor(int(2 * i), 0.001);
        paneLegend->setLayer(QStringLiteral("legend"));
        paneLegend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
        paneLegend->setBorderPen(Qt::NoPen);
        paneLegend->setMargins(QMargins(4, 0, 4, 0));
        paneLegend->setFont(font());
        std::vector<double> labelled; // one label for a limit that channels share
        for (const Channel &channel : pane.channels) {
            QCPGraph *line = addGraph(x, y);
            // A pen wider than one pixel is stroked as a polygon: 100 times slower.
            line->setPen(QPen(channel.color, 1));
            line->setName(channel.info.name.isEmpty() ? pane.unit : channel.info.name);
            line->removeFromLegend();
            line->addToLegend(paneLegend);
            parts.lines.push_back(line);

            QCPGraph *marks = addGraph(x, y);
            marks->setLineStyle(QCPGraph::lsNone);
            marks->setScatterStyle(
                QCPScatterStyle(QCPScatterStyle::ssCircle, QPen(Qt::red, 1.5), Qt::NoBrush, 7));
            marks->removeFromLegend();
            parts.alarms.push_back(marks);

            const std::pair<const char *, std::optional<double>> limits[] = {
                {"low", channel.info.low}, {"high", channel.info.high}};
            for (const auto &[which, limit] : limits) {
                if (!limit)
                    continue;
                auto *rule = new QCPItemStraightLine(this);
                rule->setClipAxisRect(parts.rect);
                for (QCPItemPosition *end : {rule->point1, rule->point2})
                    end->setAxes(x, y);
                rule->point1->setCoords(0, *limit);
                rule->point2->setCoords(1, *limit);
                rule->setPen(QPen(channel.color, 1, Qt::DashLine));
                if (std::find(labelled.begin(), labelled.end(), *limit) != labelled.end())
                    continue;
                labelled.push_back(*limit);
                auto *label = new QCPItemText(this);
                label->setClipAxisRect(parts.rect);
                label->position->setAxisRect(parts.rect);
                label->position->setAxes(x, y);
                label->position->setTypeX(QCPItemPosition::ptAxisRectRatio);
                label->position->setTypeY(QCPItemPosition::ptPlotCoords);
                // Labels inside the band between the limits, staggered by
                // channel so that close limits of two channels stay readable.
                label->position->setCoords(0.995 - 0.16 * double(parts.lines.size() - 1), *limit);
                label->setPositionAlignment(
                    Qt::AlignRight |
                    (std::string_view(which) == "low" ? Qt::AlignBottom : Qt::AlignTop));
                label->setColor(channel.color.darker(130));
                label->setText(limitText(which, channel.key, *limit, pane.unit));
            }
        }
        parts_.push_back(parts);
    }
    setShading(shadow_, inView_);
    refresh();
}

void HistoryPlot::setView(const TimeSpan &view)
{
    TimeSpan shown = view;
    if (shown.toMs <= shown.fromMs) // a single value: a minute around it
        shown = {view.fromMs - 30'000, view.fromMs + 30'000};
    QCPAxis *axis = parts_.front().rect->axis(QCPAxis::atBottom);
    const QCPRange range(shown.fromMs / 1000.0, shown.toMs / 1000.0);
    if (axis->range() == range)
        emit viewChanged(view_.fromMs, view_.toMs); // asked again: refresh all the same
    else
        axis->setRange(range);
}

void HistoryPlot::onAxisRange(const QCPRange &range)
{
    if (syncing_)
        return;
    syncing_ = true;
    for (const PaneParts &parts : parts_)
        parts.rect->axis(QCPAxis::atBottom)->setRange(range);
    syncing_ = false;
    view_ = {qint64(std::llround(range.lower * 1000)), qint64(std::llround(range.upper * 1000))};
    emit viewChanged(view_.fromMs, view_.toMs);
}

void HistoryPlot::setShading(std::vector<TimeSpan> shadow, std::vector<TimeSpan> inView)
{
    shadow_ = std::move(shadow);
    inView_ = std::move(inView);
    for (const PaneParts &parts : parts_) {
        parts.shadow->setSpans(shadow_);
        parts.inView->setSpans(inView_);
    }
}

void HistoryPlot::refresh()
{
    const qint64 viewMs = view_.toMs - view_.fromMs;
    for (size_t i = 0; i < parts_.size(); ++i) {
        auto ticker =
            parts_[i].rect->axis(QCPAxis::atBottom)->ticker().dynamicCast<QCPAxisTickerDateTime>();
        if (ticker) {
            const QString format = timeFormat(viewMs);
            ticker->setDateTimeFormat(format);
            QCPAxis *axis = parts_[i].rect->axis(QCPAxis::atBottom);
            fitTimeTicks(*ticker, axis->tickLabelFont(), format, axis->range(),
                         std::max(parts_[i].rect->width(), 1));
        }
        if (i >= panes_.size())
            continue;
        const int columns = std::max(parts_[i].rect->width(), 100);
        const Pane &pane = panes_[i];
        for (size_t c = 0; c < pane.channels.size(); ++c) {
            const Channel &channel = pane.channels[c];
            const PlotLine line =
                downsampleForPlot(*channel.points, view_.fromMs, view_.toMs, columns);
            parts_[i].lines[c]->setData(line.keys, line.values, true);

            // Values outside the limits, one mark per pixel column at most.
            QVector<double> keys, values;
            double lastColumn = -1;
            const auto &points = *channel.points;
            auto it = std::lower_bound(
                points.begin(), points.end(), view_.fromMs,
                [](const ChannelPoint &point, qint64 ms) { return point.utcMs < ms; });
            for (; it != points.end() && it->utcMs <= view_.toMs; ++it) {
                if (!outsideLimits(channel.info, it->value))
                    continue;
                const double column = std::floor((it->utcMs - view_.fromMs) * double(columns) /
                                                 std::max<qint64>(viewMs, 1));
                if (column == lastColumn && !keys.isEmpty())
                    continue;
                lastColumn = column;
                keys.append(it->utcMs / 1000.0);
                values.append(it->value);
            }
            parts_[i].alarms[c]->setData(keys, values, true);
        }
        fitValueAxis(i);
    }
    replot();
}

void HistoryPlot::fitValueAxis(size_t pane)
{
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    auto take = [&](double v) {
        if (std::isfinite(v)) {
            low = std::min(low, v);
            high = std::max(high, v);
        }
    };
    for (size_t c = 0; c < panes_[pane].channels.size(); ++c) {
        const auto lineData = parts_[pane].lines[c]->data();
        for (auto it = lineData->constBegin(); it != lineData->constEnd(); ++it)
            if (it->key * 1000 >= view_.fromMs && it->key * 1000 <= view_.toMs)
                take(it->value);
        const ChannelInfo &info = panes_[pane].channels[c].info;
        take(info.low.value_or(NAN));
        take(info.high.value_or(NAN));
    }
    if (!std::isfinite(low))
        low = 0, high = 1;
    const double margin = std::max((high - low) * 0.08, std::max(std::abs(high), 1.0) * 1e-3);
    parts_[pane].rect->axis(QCPAxis::atLeft)->setRange(low - margin, high + margin);
}

void HistoryPlot::panBy(double fraction)
{
    const qint64 shift = qint64((view_.toMs - view_.fromMs) * fraction);
    setView({view_.fromMs + shift, view_.toMs + shift});
}

void HistoryPlot::zoomBy(double factor)
{
    const double centre = (view_.fromMs + view_.toMs) / 2.0;
    const double half = std::max((view_.toMs - view_.fromMs) * factor / 2, 1000.0);
    setView({qint64(centre - half), qint64(centre + half)});
}

void HistoryPlot::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        panBy(-0.1);
        break;
    case Qt::Key_Right:
        panBy(0.1);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
    case Qt::Key_Up:
        zoomBy(0.8);
        break;
    case Qt::Key_Minus:
    case Qt::Key_Down:
        zoomBy(1.25);
        break;
    default:
        QCustomPlot::keyPressEvent(event);
        return;
    }
    event->accept();
}

void HistoryPlot::mouseMoveEvent(QMouseEvent *event)
{
    QCustomPlot::mouseMoveEvent(event);
    QCPAxisRect *under = axisRectAt(event->position());
    for (const PaneParts &parts : parts_) {
        const double key = parts.rect->axis(QCPAxis::atBottom)->pixelToCoord(event->position().x());
        parts.cursor->point1->setCoords(key, 0);
        parts.cursor->point2->setCoords(key, 1);
        parts.cursor->setVisible(under != nullptr);
    }
    replot(rpQueuedReplot);
    if (!under)
        return;
    const auto pane = std::find_if(parts_.begin(), parts_.end(),
                                   [&](const PaneParts &p) { return p.rect == under; });
    const size_t index = size_t(pane - parts_.begin());
    const double key = under->axis(QCPAxis::atBottom)->pixelToCoord(event->position().x());
    emit cursorMoved(qint64(std::llround(key * 1000)),
                     index < panes_.size() ? panes_[index].unit : QString());
}

void HistoryPlot::resizeEvent(QResizeEvent *event)
{
    QCustomPlot::resizeEvent(event); // lays the panes out anew
    refresh();                       // as many time labels as they hold now
}

void HistoryPlot::leaveEvent(QEvent *event)
{
    QCustomPlot::leaveEvent(event);
    for (const PaneParts &parts : parts_)
        parts.cursor->setVisible(false);
    replot(rpQueuedReplot);
}

} // namespace history
