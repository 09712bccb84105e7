// SPDX-License-Identifier: GPL-2.0-or-later
// Whatever a peer sends: the stream is cut in reads of varying size and every
// frame dispatched; destinations and heard times are read from the same bytes.

#include "pklink/AgwDispatcher.h"
#include "pklink/AgwStreamCutter.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class Sink : public agw::AgwEvents
{
public:
    std::size_t seen = 0;
    void MonUFrame(std::int16_t, const std::string &f, const std::string &t,
                   const agw::Bytes &d) override
    {
        seen += f.size() + t.size() + d.size();
    }
    void MonKissFrame(std::int16_t, const std::string &, const std::string &,
                      const agw::Bytes &d) override
    {
        seen += d.size();
    }
    void MonTFrame(std::int16_t, const std::string &, const std::string &,
                   const agw::Bytes &d) override
    {
        seen += d.size();
    }
    void MonSFrame(std::int16_t, const agw::Bytes &d) override { seen += d.size(); }
    void MonIFrame(std::int16_t, const agw::Bytes &d) override { seen += d.size(); }
    void Connected(std::int16_t, const std::string &, const std::string &s) override
    {
        seen += s.size();
    }
    void Disconnected(std::int16_t, const std::string &, const std::string &s) override
    {
        seen += s.size();
    }
    void OutStandingFramesForStation(std::int16_t, const std::string &, std::int16_t) override
    {
        ++seen;
    }
    void OutStandingFramesForPort(std::int16_t, std::int16_t) override { ++seen; }
    void PortCapabilities(std::int16_t, const clsPortCapabilities &) override { ++seen; }
    void CallsignRegistered(const std::string &, bool) override { ++seen; }
    void RxFrame(std::int16_t, const std::string &, const std::string &, std::int16_t,
                 const agw::Bytes &d) override
    {
        seen += d.size();
    }
    void MhData(std::int16_t, const std::string &h) override { seen += h.size(); }
    void GotVersion(std::int32_t, std::int32_t, const std::string &v) override { seen += v.size(); }
    void GotPortInfo(const std::vector<std::string> &p) override { seen += p.size(); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::size_t readSize = 1 + data[0] % 64;
    Sink sink;
    agw::AgwDispatcher dispatcher(sink);
    agw::AgwStreamCutter cutter;
    agw::Bytes header, frame;
    for (std::size_t at = 1; at < size; at += readSize) {
        cutter.append(data + at, std::min(readSize, size - at));
        agw::AgwStreamCutter::Result result;
        while ((result = cutter.next(header, frame)) == agw::AgwStreamCutter::Result::Frame)
            dispatcher.DispatchFrame(header.data(), frame);
        if (result == agw::AgwStreamCutter::Result::BadLength)
            break;
    }
    const std::string text(reinterpret_cast<const char *>(data), size);
    (void)agw::ParseDestination(text);
    (void)agw::heardLine(text.substr(0, 9), agw::Bytes(data, data + size));
    return 0;
}
