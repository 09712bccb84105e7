// SPDX-License-Identifier: GPL-2.0-or-later
// The same work with Qt Charts, for the choice of library: a QLineSeries
// with one channel of 1,000,000 values (whole, and thinned), then a pan step.
#include "PlotBenchData.h"
#include "history/PlotDownsample.h"

#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using history::ChannelKey;

struct ChartsPlot
{
    ChartsPlot()
    {
        chart->addSeries(series);
        xAxis->setFormat(QStringLiteral("yyyy-MM-dd"));
        chart->addAxis(xAxis, Qt::AlignBottom);
        chart->addAxis(yAxis, Qt::AlignLeft);
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
        yAxis->setRange(7.0, 8.6);
        view.resize(plotWidth, plotHeight);
    }

    void draw(QImage &image)
    {
        image.fill(Qt::white);
        QPainter painter(&image);
        view.render(&painter);
    }

    void setRange(qint64 fromMs, qint64 toMs)
    {
        xAxis->setRange(QDateTime::fromMSecsSinceEpoch(fromMs, Qt::UTC),
                        QDateTime::fromMSecsSinceEpoch(toMs, Qt::UTC));
    }

    QChart *chart = new QChart;
    QChartView view{chart};
    QLineSeries *series = new QLineSeries;
    QDateTimeAxis *xAxis = new QDateTimeAxis;
    QValueAxis *yAxis = new QValueAxis;
};

// QLineSeries counts its x in ms; a NaN break is dropped (Qt Charts draws
// no gaps), which only makes its work lighter.
QList<QPointF> chartPoints(const history::PlotLine &line)
{
    QList<QPointF> points;
    points.reserve(line.keys.size());
    for (qsizetype i = 0; i < line.keys.size(); ++i)
        if (!std::isnan(line.values[i]))
            points.append({line.keys[i] * 1000.0, line.values[i]});
    return points;
}

void BM_QtChartsSetAndDrawWhole(benchmark::State &state)
{
    const auto &source = millionPointSource();
    const auto span = *source.storedSpan();
    ChartsPlot plot;
    QImage image(plotWidth, plotHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const auto points = source.series(ChannelKey{0, 1, 0}, span.fromMs, span.toMs);
        QList<QPointF> chart;
        chart.reserve(qsizetype(points.size()));
        for (const auto &point : points)
            chart.append({double(point.utcMs), point.value});
        plot.series->replace(chart);
        plot.setRange(span.fromMs, span.toMs);
        plot.draw(image);
    }
}
BENCHMARK(BM_QtChartsSetAndDrawWhole)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_QtChartsSetAndDrawThinned(benchmark::State &state)
{
    const auto &source = millionPointSource();
    const auto span = *source.storedSpan();
    ChartsPlot plot;
    QImage image(plotWidth, plotHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const auto points = source.series(ChannelKey{0, 1, 0}, span.fromMs, span.toMs);
        plot.series->replace(
            chartPoints(history::downsampleForPlot(points, span.fromMs, span.toMs, plotWidth)));
        plot.setRange(span.fromMs, span.toMs);
        plot.draw(image);
    }
}
BENCHMARK(BM_QtChartsSetAndDrawThinned)->Unit(benchmark::kMillisecond);

void BM_QtChartsPanStep(benchmark::State &state)
{
    const auto &source = millionPointSource();
    const auto span = *source.storedSpan();
    const auto points = source.series(ChannelKey{0, 1, 0}, span.fromMs, span.toMs);
    ChartsPlot plot;
    QImage image(plotWidth, plotHeight, QImage::Format_ARGB32_Premultiplied);
    const qint64 viewMs = (span.toMs - span.fromMs) / 12;
    qint64 from = span.fromMs;
    for (auto _ : state) {
        from += viewMs / 10;
        if (from + viewMs > span.toMs)
            from = span.fromMs;
        plot.series->replace(
            chartPoints(history::downsampleForPlot(points, from, from + viewMs, plotWidth)));
        plot.setRange(from, from + viewMs);
        plot.draw(image);
    }
}
BENCHMARK(BM_QtChartsPanStep)->Unit(benchmark::kMillisecond);

} // namespace
