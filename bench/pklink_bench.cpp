// SPDX-License-Identifier: GPL-2.0-or-later
// Throughput of cutting a received AGWPE stream into frames.

#include "pklink/AgwDispatcher.h"
#include "pklink/AgwStreamCutter.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A stream of monitor frames of about the size the engine sends for one UI
// frame (header line plus a telemetry line).
agw::Bytes monitorStream(std::size_t frames, std::size_t dataSize)
{
    std::string text = " 1:Fm Q9ORV-1 To CQ <UI pid=F0 Len=35 PF=0 >[01:30:40]\r";
    text.resize(dataSize - 1, 'T');
    text += '\0';
    const agw::Bytes one =
        agw::buildFrame('U', 0, agw::PadCallsign("Q9ORV-1"), agw::PadCallsign("CQ"),
                        reinterpret_cast<const std::uint8_t *>(text.data()), text.size());
    agw::Bytes stream;
    stream.reserve(one.size() * frames);
    for (std::size_t i = 0; i < frames; ++i)
        stream.insert(stream.end(), one.begin(), one.end());
    return stream;
}

class NoEvents : public agw::AgwEvents
{
public:
    std::size_t count = 0;
    void MonUFrame(std::int16_t, const std::string &, const std::string &,
                   const agw::Bytes &d) override
    {
        count += d.size();
    }
    void MonKissFrame(std::int16_t, const std::string &, const std::string &,
                      const agw::Bytes &) override
    {
    }
    void MonTFrame(std::int16_t, const std::string &, const std::string &,
                   const agw::Bytes &) override
    {
    }
    void MonSFrame(std::int16_t, const agw::Bytes &) override {}
    void MonIFrame(std::int16_t, const agw::Bytes &) override {}
    void Connected(std::int16_t, const std::string &, const std::string &) override {}
    void Disconnected(std::int16_t, const std::string &, const std::string &) override {}
    void OutStandingFramesForStation(std::int16_t, const std::string &, std::int16_t) override {}
    void OutStandingFramesForPort(std::int16_t, std::int16_t) override {}
    void PortCapabilities(std::int16_t, const clsPortCapabilities &) override {}
    void CallsignRegistered(const std::string &, bool) override {}
    void RxFrame(std::int16_t, const std::string &, const std::string &, std::int16_t,
                 const agw::Bytes &) override
    {
    }
    void MhData(std::int16_t, const std::string &) override {}
    void GotVersion(std::int32_t, std::int32_t, const std::string &) override {}
    void GotPortInfo(const std::vector<std::string> &) override {}
};

// Arg 0: data bytes per frame; arg 1: bytes per read.
void BM_CutStream(benchmark::State &state)
{
    const agw::Bytes stream = monitorStream(1000, static_cast<std::size_t>(state.range(0)));
    const auto readSize = static_cast<std::size_t>(state.range(1));
    agw::AgwStreamCutter cutter;
    agw::Bytes header, data;
    for (auto _ : state) {
        std::size_t frames = 0;
        for (std::size_t at = 0; at < stream.size(); at += readSize) {
            cutter.append(stream.data() + at, std::min(readSize, stream.size() - at));
            while (cutter.next(header, data) == agw::AgwStreamCutter::Result::Frame)
                ++frames;
        }
        benchmark::DoNotOptimize(frames);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_CutStream)->Args({100, 4096})->Args({100, 64})->Args({2000, 65536});

void BM_CutAndDispatch(benchmark::State &state)
{
    const agw::Bytes stream = monitorStream(1000, 100);
    NoEvents events;
    agw::AgwDispatcher dispatcher(events);
    agw::AgwStreamCutter cutter;
    agw::Bytes header, data;
    for (auto _ : state) {
        for (std::size_t at = 0; at < stream.size(); at += 4096) {
            cutter.append(stream.data() + at, std::min<std::size_t>(4096, stream.size() - at));
            while (cutter.next(header, data) == agw::AgwStreamCutter::Result::Frame)
                dispatcher.DispatchFrame(header.data(), data);
        }
    }
    benchmark::DoNotOptimize(events.count);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * stream.size()));
}
BENCHMARK(BM_CutAndDispatch);

} // namespace
