// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstdint>

// The answer to PKLINK::AskPortCapabilities, carried by the PortCapabilities
// signal. The values are the packet engine's own codes, stored unconverted;
// a new record holds zeros. Plain C++ so that the frame codec can fill it.
class clsPortCapabilities
{
public:
    std::int32_t lngHowManyBytes() const { return howManyBytes_; }
    void setLngHowManyBytes(std::int32_t value) { howManyBytes_ = value; }
    std::int16_t intAx25Channels() const { return ax25Channels_; }
    void setIntAx25Channels(std::int16_t value) { ax25Channels_ = value; }
    std::int16_t intMaxFrame() const { return maxFrame_; }
    void setIntMaxFrame(std::int16_t value) { maxFrame_ = value; }
    std::int16_t intSlotTime() const { return slotTime_; }
    void setIntSlotTime(std::int16_t value) { slotTime_ = value; }
    std::int16_t intPersist() const { return persist_; }
    void setIntPersist(std::int16_t value) { persist_ = value; }
    std::int16_t intTxTail() const { return txTail_; }
    void setIntTxTail(std::int16_t value) { txTail_ = value; }
    std::int16_t intTxDelay() const { return txDelay_; }
    void setIntTxDelay(std::int16_t value) { txDelay_ = value; }
    std::int16_t intTrafficLevel() const { return trafficLevel_; }
    void setIntTrafficLevel(std::int16_t value) { trafficLevel_ = value; }
    std::int16_t intOnAirBaudRate() const { return onAirBaudRate_; }
    void setIntOnAirBaudRate(std::int16_t value) { onAirBaudRate_ = value; }

    bool operator==(const clsPortCapabilities &) const = default;

private:
    std::int32_t howManyBytes_ = 0;
    std::int16_t ax25Channels_ = 0;
    std::int16_t maxFrame_ = 0;
    std::int16_t slotTime_ = 0;
    std::int16_t persist_ = 0;
    std::int16_t txTail_ = 0;
    std::int16_t txDelay_ = 0;
    std::int16_t trafficLevel_ = 0;
    std::int16_t onAirBaudRate_ = 0;
};
