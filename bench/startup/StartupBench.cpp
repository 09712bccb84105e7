// SPDX-License-Identifier: GPL-2.0-or-later
// Start-up of the station program to its main window: frmORVEX built and
// loaded on a program folder, until the shown window has had its events.
//
//   bench_startup                          Google Benchmark: demo vs. catalogue
//   bench_startup --make FOLDER [COUNT]    writes a program folder (COUNT sets
//                                          besides the demo's; 0 = demo only)
//   bench_startup --once FOLDER            one start-up, then exit; run it under
//                                          /usr/bin/time -v for resident memory
#include "ProgramFolder.h"
#include "SyntheticCatalogue.h"
#include "core/frmORVEX.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// A message box would wait for a user; the benchmark has none.
void closeModalBoxesSoon()
{
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (QWidget *box = QApplication::activeModalWidget()) {
            std::fprintf(stderr, "closed a modal window: %s\n", qPrintable(box->windowTitle()));
            box->close();
        }
    });
    timer->start(100);
}

bool startOnce(const QString &folder)
{
    frmORVEX window(folder);
    if (!window.Load())
        return false;
    QApplication::processEvents();
    return window.isVisible();
}

void startUp(benchmark::State &state)
{
    QTemporaryDir folder;
    const auto count = static_cast<int>(state.range(0));
    if (!makeProgramFolder(folder.path(), count ? syntheticCatalogue(count) : QByteArray())) {
        state.SkipWithError("could not write the program folder");
        return;
    }
    for (auto _ : state)
        if (!startOnce(folder.path()))
            state.SkipWithError("the main window did not load");
}
BENCHMARK(startUp)->Arg(0)->Arg(30000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication app(argc, argv);
    closeModalBoxesSoon();
    if (argc >= 3 && std::strcmp(argv[1], "--make") == 0) {
        const int count = argc >= 4 ? std::atoi(argv[3]) : 30000;
        return makeProgramFolder(QString::fromLocal8Bit(argv[2]),
                                 count ? syntheticCatalogue(count) : QByteArray())
                   ? 0
                   : 1;
    }
    if (argc >= 3 && std::strcmp(argv[1], "--once") == 0) {
        QElapsedTimer clock;
        clock.start();
        const bool ok = startOnce(QString::fromLocal8Bit(argv[2]));
        std::printf("start-up to the main window: %lld ms\n",
                    static_cast<long long>(clock.elapsed()));
        return ok ? 0 : 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
