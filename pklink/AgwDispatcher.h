// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "pklink/AgwCodec.h"
#include "pklink/RecentSet.h"
#include "pklink/clsPortCapabilities.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace agw {

// What a received frame turns into. Ports are the interface's 1-based
// numbers, except in Connected, which gets the engine's own 0-based number.
class AgwEvents
{
public:
    virtual ~AgwEvents() = default;
    virtual void MonUFrame(std::int16_t port, const std::string &fromCall,
                           const std::string &toCall, const Bytes &data) = 0;
    virtual void MonKissFrame(std::int16_t port, const std::string &fromCall,
                              const std::string &toCall, const Bytes &data) = 0;
    virtual void MonTFrame(std::int16_t port, const std::string &fromCall,
                           const std::string &toCall, const Bytes &data) = 0;
    virtual void MonSFrame(std::int16_t port, const Bytes &data) = 0;
    virtual void MonIFrame(std::int16_t port, const Bytes &data) = 0;
    virtual void Connected(std::int16_t port, const std::string &call,
                           const std::string &status) = 0;
    virtual void Disconnected(std::int16_t port, const std::string &call,
                              const std::string &status) = 0;
    virtual void OutStandingFramesForStation(std::int16_t port, const std::string &call,
                                             std::int16_t count) = 0;
    virtual void OutStandingFramesForPort(std::int16_t port, std::int16_t count) = 0;
    virtual void PortCapabilities(std::int16_t port, const clsPortCapabilities &capabilities) = 0;
    virtual void CallsignRegistered(const std::string &call, bool ok) = 0;
    virtual void RxFrame(std::int16_t port, const std::string &fromCall, const std::string &toCall,
                         std::int16_t pid, const Bytes &data) = 0;
    virtual void MhData(std::int16_t port, const std::string &heard) = 0;
    virtual void GotVersion(std::int32_t major, std::int32_t minor, const std::string &version) = 0;
    virtual void GotPortInfo(const std::vector<std::string> &portInfo) = 0;
};

// Turns received frames into events and keeps what they tell: the engine's
// ports, its version, the callsigns it confirmed as registered and the AX.25
// connections it reported. A frame whose data part is shorter than its kind's
// layout is dropped without an event.
//
// The engine forgets registrations and connections when its TCP link ends,
// so both lists start afresh with every link. Each holds a callsign or pair
// once and at most a few hundred of them (beyond that the oldest go), so an
// engine that keeps reporting new ones cannot make them grow without end.
class AgwDispatcher
{
public:
    using ConnectionEntry = std::pair<std::uint16_t, std::string>; // engine port, station

    static constexpr std::size_t maxRegistered = 256;
    static constexpr std::size_t maxConnections = 256;

    explicit AgwDispatcher(AgwEvents &events) : events_(events) {}

    // The month abbreviations of heard-list lines (English until set).
    void setMonthNames(const MonthNames &names) { monthNames_ = names; }

    // `header` holds 36 bytes; `data` the data part.
    void DispatchFrame(const std::uint8_t *header, const Bytes &data);

    // What the engine told about the last link: port information,
    // registrations and connections.
    void resetLinkState();

    std::int16_t portCount() const { return portCount_; }
    const std::vector<std::string> &portInfo() const { return portInfo_; }
    std::int32_t majorVersion() const { return majorVersion_; }
    std::int32_t minorVersion() const { return minorVersion_; }
    const std::string &versionText() const { return versionText_; }

    void AddConnection(std::uint16_t port, const std::string &station);
    void RemoveConnection(std::uint16_t port, const std::string &station);
    bool IsConnected(std::uint16_t port, const std::string &station) const;
    // Oldest first.
    std::vector<ConnectionEntry> connections() const { return connections_.entries(); }

    void AddRegistered(const std::string &call);
    bool IsRegistered(const std::string &call) const;
    void RemoveRegistered(const std::string &call);
    // Oldest first.
    std::vector<std::string> registered() const { return registered_.entries(); }

private:
    void ProcessPortInfo(const Bytes &data);
    void ProcessPortCapabilities(std::int16_t port, const Bytes &data);
    void ProcessVersion(const Bytes &data);
    void ProcessHeard(std::int16_t port, const std::string &fromCall, const Bytes &data);

    AgwEvents &events_;
    std::int16_t portCount_ = 0;
    std::vector<std::string> portInfo_;
    std::int32_t majorVersion_ = 0;
    std::int32_t minorVersion_ = 0;
    std::string versionText_;
    MonthNames monthNames_ = englishMonthNames();
    struct ConnectionHash
    {
        std::size_t operator()(const ConnectionEntry &entry) const
        {
            return std::hash<std::string>()(entry.second) * 31 + entry.first;
        }
    };
    RecentSet<ConnectionEntry, ConnectionHash> connections_{maxConnections};
    RecentSet<std::string> registered_{maxRegistered};
};

} // namespace agw
