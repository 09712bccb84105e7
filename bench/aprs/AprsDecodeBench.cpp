// SPDX-License-Identifier: GPL-2.0-or-later
// Packets per second on one core: the table's mix of every kind, decoded from
// frames already read, and read from monitor text or raw bytes first. Each
// run takes over a million packets (the mix 11,000 times).
#include "PacketTable.h"

#include "aprscodec/Decoder.h"

#include <benchmark/benchmark.h>

namespace {

constexpr benchmark::IterationCount rounds = 11000;

std::vector<aprs::Frame> tableFrames()
{
    std::vector<aprs::Frame> frames;
    for (const aprstest::TablePacket &entry : aprstest::packetTable)
        frames.push_back(*aprs::parseMonitorLine(entry.line, aprs::InfoBytes::HexEscapes).frame);
    return frames;
}

void BM_DecodeFrames(benchmark::State &state)
{
    const std::vector<aprs::Frame> frames = tableFrames();
    for (auto _ : state)
        for (const aprs::Frame &frame : frames)
            benchmark::DoNotOptimize(aprs::decode(frame));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(frames.size()));
}
BENCHMARK(BM_DecodeFrames)->Iterations(rounds)->Unit(benchmark::kMicrosecond);

void BM_ReadAndDecodeMonitorLines(benchmark::State &state)
{
    std::vector<std::string> lines;
    for (const aprs::Frame &frame : tableFrames())
        lines.push_back(aprs::monitorLine(frame));
    for (auto _ : state)
        for (const std::string &line : lines)
            benchmark::DoNotOptimize(aprs::decode(*aprs::parseMonitorLine(line).frame));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(lines.size()));
}
BENCHMARK(BM_ReadAndDecodeMonitorLines)->Iterations(rounds)->Unit(benchmark::kMicrosecond);

void BM_ReadAndDecodeRawFrames(benchmark::State &state)
{
    std::vector<std::vector<std::uint8_t>> raw;
    for (const aprs::Frame &frame : tableFrames())
        raw.push_back(aprs::ax25Frame(frame));
    for (auto _ : state)
        for (const std::vector<std::uint8_t> &bytes : raw)
            benchmark::DoNotOptimize(aprs::decode(*aprs::parseAx25Frame(bytes).frame));
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(raw.size()));
}
BENCHMARK(BM_ReadAndDecodeRawFrames)->Iterations(rounds)->Unit(benchmark::kMicrosecond);

} // namespace
