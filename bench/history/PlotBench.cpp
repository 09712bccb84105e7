// SPDX-License-Identifier: GPL-2.0-or-later
// QCustomPlot with one channel of 1,000,000 values: read from the source,
// set and drawn into an image (whole, and thinned to min/max per pixel
// column first), then one pan step of 10 % redrawn.
#include "PlotBenchData.h"
#include "history/PlotDownsample.h"

#include <QImage>
#include <qcustomplot.h>

#include <benchmark/benchmark.h>

namespace {

using history::ChannelKey;

void drawInto(QCustomPlot &plot, QImage &image)
{
    image.fill(Qt::white);
    QCPPainter painter(&image);
    plot.toPainter(&painter, plotWidth, plotHeight);
}

void setUp(QCustomPlot &plot)
{
    plot.resize(plotWidth, plotHeight);
    plot.addGraph();
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeSpec(Qt::UTC);
    plot.xAxis->setTicker(ticker);
}

void setLine(QCustomPlot &plot, const history::PlotLine &line)
{
    plot.graph(0)->setData(line.keys, line.values, true);
}

// Read, set whole (QCustomPlot thins while drawing), draw.
void BM_QCustomPlotSetAndDrawWhole(benchmark::State &state)
{
    const auto &source = millionPointSource();
    const auto span = *source.storedSpan();
    QCustomPlot plot;
    setUp(plot);
    QImage image(plotWidth, plotHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const auto points = source.series(ChannelKey{0, 1, 0}, span.fromMs, span.toMs);
        QVector<double> keys(qsizetype(points.size())), values(qsizetype(points.size()));
        for (size_t i = 0; i < points.size(); ++i) {
            keys[qsizetype(i)] = points[i].utcMs / 1000.0;
            values[qsizetype(i)] = points[i].value;
        }
        plot.graph(0)->setData(keys, values, true);
        plot.xAxis->setRange(span.fromMs / 1000.0, span.toMs / 1000.0);
        plot.yAxis->setRange(7.0, 8.6);
        drawInto(plot, image);
    }
}
BENCHMARK(BM_QCustomPlotSetAndDrawWhole)->Unit(benchmark::kMillisecond);

// Read, thin to min/max per pixel column, set, draw: what the window does.
void BM_QCustomPlotSetAndDrawThinned(benchmark::State &state)
{
    const auto &source = millionPointSource();
    const auto span = *source.storedSpan();
    QCustomPlot plot;
    setUp(plot);
    QImage image(plotWidth, plotHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        const auto points = source.series(ChannelKey{0, 1, 0}, span.fromMs, span.toMs);
        setLine(plot, history::downsampleForPlot(points, span.fromMs, span.toMs, plotWidth));
        plot.xAxis->setRange(span.fromMs / 1000.0, span.toMs / 1000.0);
        plot.yAxis->setRange(7.0, 8.6);
        drawInto(plot, image);
    }
}
BENCHMARK(BM_QCustomPlotSetAndDrawThinned)->Unit(benchmark::kMillisecond);

// One pan step of a tenth of the view over a month of the year, thinned
// afresh from the values already read, and redrawn.
void BM_QCustomPlotPanStep(benchmark::State &state)
{
    const auto &source = millionPointSource();
    const auto span = *source.storedSpan();
    const auto points = source.series(ChannelKey{0, 1, 0}, span.fromMs, span.toMs);
    QCustomPlot plot;
    setUp(plot);
    plot.yAxis->setRange(7.0, 8.6);
    QImage image(plotWidth, plotHeight, QImage::Format_ARGB32_Premultiplied);
    const qint64 viewMs = (span.toMs - span.fromMs) / 12;
    qint64 from = span.fromMs;
    for (auto _ : state) {
        from += viewMs / 10;
        if (from + viewMs > span.toMs)
            from = span.fromMs;
        setLine(plot, history::downsampleForPlot(points, from, from + viewMs, plotWidth));
        plot.xAxis->setRange(from / 1000.0, (from + viewMs) / 1000.0);
        drawInto(plot, image);
    }
}
BENCHMARK(BM_QCustomPlotPanStep)->Unit(benchmark::kMillisecond);

// A zoom step over all of the year: everything in view is thinned again.
void BM_QCustomPlotZoomStepAll(benchmark::State &state)
{
    const auto &source = millionPointSource();
    const auto span = *source.storedSpan();
    const auto points = source.series(ChannelKey{0, 1, 0}, span.fromMs, span.toMs);
    QCustomPlot plot;
    setUp(plot);
    plot.yAxis->setRange(7.0, 8.6);
    QImage image(plotWidth, plotHeight, QImage::Format_ARGB32_Premultiplied);
    bool in = false;
    for (auto _ : state) {
        in = !in;
        const qint64 margin = in ? (span.toMs - span.fromMs) / 20 : 0;
        const qint64 from = span.fromMs + margin, to = span.toMs - margin;
        setLine(plot, history::downsampleForPlot(points, from, to, plotWidth));
        plot.xAxis->setRange(from / 1000.0, to / 1000.0);
        drawInto(plot, image);
    }
}
BENCHMARK(BM_QCustomPlotZoomStepAll)->Unit(benchmark::kMillisecond);

} // namespace
