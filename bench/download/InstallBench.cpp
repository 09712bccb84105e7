// SPDX-License-Identifier: GPL-2.0-or-later
// The cost of preparing a large element file: the full catalogue of all
// objects is about 2.5 MB, some 30000 element sets.
#include "orbit/KepsInstaller.h"
#include "orbit/LineEndConverter.h"

#include <benchmark/benchmark.h>

namespace {

QByteArray catalogue(const QByteArray &lineEnd)
{
    const QByteArray set =
        "ISS (ZARYA)" + lineEnd +
        "1 25544U 98067A   08264.51782528 -.00002182  00000-0 -11606-4 0  2927" + lineEnd +
        "2 25544  51.6416 247.4627 0006703 130.5360 325.0288 15.72125391563537" + lineEnd;
    return set.repeated(30000);
}

void convertLfCatalogue(benchmark::State &state)
{
    const QByteArray text = catalogue("\n");
    for (auto _ : state)
        benchmark::DoNotOptimize(LineEndConverter::convert(text));
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(convertLfCatalogue)->Unit(benchmark::kMillisecond);

void checkCatalogue(benchmark::State &state)
{
    const QByteArray text = catalogue("\r\n");
    for (auto _ : state) {
        benchmark::DoNotOptimize(KepsInstaller::looksLikeWebPage(text));
        benchmark::DoNotOptimize(KepsInstaller::isElementFile(text));
    }
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(checkCatalogue)->Unit(benchmark::kMillisecond);

} // namespace
