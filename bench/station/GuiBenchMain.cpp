// SPDX-License-Identifier: GPL-2.0-or-later
// main() for benchmarks of widgets: a QApplication on the offscreen platform
// exists before the first benchmark runs.
#include <QApplication>
#include <QByteArray>

#include <benchmark/benchmark.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
