// SPDX-License-Identifier: GPL-2.0-or-later
#include "pklink/AgwDispatcher.h"

#include <algorithm>
#include <limits>

namespace agw {

namespace {

std::string asText(const Bytes &data)
{
    return std::string(data.begin(), data.end());
}

// Monitor texts end in the engine's closing zero byte.
Bytes withoutLast(const Bytes &data)
{
    return Bytes(data.begin(), data.end() - 1);
}

std::int16_t clampToInt16(std::int32_t value)
{
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(
        value, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()));
}

} // namespace

void AgwDispatcher::DispatchFrame(const std::uint8_t *header, const Bytes &data)
{
    const Header h = readHeader(header);
    const std::int16_t port = static_cast<std::int16_t>(h.port + 1);

    switch (h.kind) {
    case 'U':
        if (!data.empty())
            events_.MonUFrame(port, h.fromCall, h.toCall, withoutLast(data));
        break;
    case 'K':
        if (!data.empty())
            events_.MonKissFrame(port, h.fromCall, h.toCall, Bytes(data.begin() + 1, data.end()));
        break;
    case 'T':
        if (!data.empty())
            events_.MonTFrame(port, h.fromCall, h.toCall, withoutLast(data));
        break;
    case 'S':
        if (!data.empty())
            events_.MonSFrame(port, withoutLast(data));
        break;
    case 'I':
        if (!data.empty())
            events_.MonIFrame(port, withoutLast(data));
        break;
    case 'C':
        AddConnection(h.port, h.fromCall);
        events_.Connected(static_cast<std::int16_t>(h.port), h.fromCall, asText(data));
        break;
    case 'd':
        RemoveConnection(h.port, h.fromCall);
        if (!IsRegistered(h.fromCall))
            events_.Disconnected(port, h.fromCall, asText(data));
        break;
    case 'Y':
        if (data.size() >= 4)
            events_.OutStandingFramesForStation(port, h.toCall, clampToInt16(readI32(data.data())));
        break;
    case 'y':
        if (data.size() >= 4)
            events_.OutStandingFramesForPort(port, clampToInt16(readI32(data.data())));
        break;
    case 'G':
        ProcessPortInfo(data);
        break;
    case 'g':
        ProcessPortCapabilities(port, data);
        break;
    case 'R':
        ProcessVersion(data);
        break;
    case 'X':
        if (!data.empty()) {
            const bool ok = data[0] == 1;
            if (ok)
                AddRegistered(h.fromCall);
            events_.CallsignRegistered(h.fromCall, ok);
        }
        break;
    case 'D':
        events_.RxFrame(port, h.fromCall, h.toCall, h.pid, data);
        break;
    case 'H':
        ProcessHeard(port, h.fromCall, data);
        break;
    default:
        break;
    }
}

void AgwDispatcher::resetLinkState()
{
    portCount_ = 0;
    portInfo_.clear();
    registered_.clear();
    connections_.clear();
}

void AgwDispatcher::ProcessPortInfo(const Bytes &data)
{
    std::string text = asText(data);
    portCount_ = (!text.empty() && text[0] >= '0' && text[0] <= '9') ? text[0] - '0' : 0;
    const std::size_t semicolon = text.find(';');
    if (semicolon != std::string::npos)
        text.erase(0, semicolon + 1);

    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(';', start);
        if (end == std::string::npos) {
            pieces.push_back(text.substr(start));
            break;
        }
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    pieces.resize(static_cast<std::size_t>(portCount_));
    portInfo_ = std::move(pieces);
    events_.GotPortInfo(portInfo_);
}

void AgwDispatcher::ProcessPortCapabilities(std::int16_t port, const Bytes &data)
{
    if (data.size() < 10)
        return;
    clsPortCapabilities capabilities;
    capabilities.setIntOnAirBaudRate(data[0]);
    capabilities.setIntTrafficLevel(data[1]);
    capabilities.setIntTxDelay(data[2]);
    capabilities.setIntTxTail(data[3]);
    capabilities.setIntPersist(data[4]);
    capabilities.setIntSlotTime(data[5]);
    capabilities.setIntMaxFrame(data[6]);
    capabilities.setIntAx25Channels(data[7]);
    capabilities.setLngHowManyBytes(readU16(data.data() + 8));
    events_.PortCapabilities(port, capabilities);
}

void AgwDispatcher::ProcessVersion(const Bytes &data)
{
    if (data.size() < 8)
        return;
    majorVersion_ = readI32(data.data());
    minorVersion_ = readI32(data.data() + 4);
    versionText_ = std::to_string(majorVersion_) + "." + std::to_string(minorVersion_);
    events_.GotVersion(majorVersion_, minorVersion_, versionText_);
}

void AgwDispatcher::ProcessHeard(std::int16_t port, const std::string &fromCall, const Bytes &data)
{
    if (const auto line = heardLine(fromCall, data, monthNames_))
        events_.MhData(port, *line);
}

void AgwDispatcher::AddConnection(std::uint16_t port, const std::string &station)
{
    connections_.insert(ConnectionEntry(port, station));
}

void AgwDispatcher::RemoveConnection(std::uint16_t port, const std::string &station)
{
    connections_.erase(ConnectionEntry(port, station));
}

bool AgwDispatcher::IsConnected(std::uint16_t port, const std::string &station) const
{
    return connections_.contains(ConnectionEntry(port, station));
}

void AgwDispatcher::AddRegistered(const std::string &call)
{
    registered_.insert(call);
}

bool AgwDispatcher::IsRegistered(const std::string &call) const
{
    return registered_.contains(call);
}

void AgwDispatcher::RemoveRegistered(const std::string &call)
{
    registered_.erase(call);
}

} // namespace agw
