// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

class clsIni;

// The Doppler correction of a satellite's two channels: the frequency the
// station hears the downlink on, and the one it must send on so that the
// satellite hears its uplink channel. The sky view shows it; the radio
// tunes by it. Frequencies in Hz; range rate in km/s, positive while the
// satellite recedes.
namespace tracking {

struct Tuning
{
    double downlinkHz = 0; // the satellite sends on this
    double uplinkHz = 0;   // the satellite listens on this
    double receiveHz = 0;  // the downlink as the station hears it now
    double transmitHz = 0; // what the station sends on now
    double receiveShiftHz() const { return receiveHz - downlinkHz; }
    double transmitShiftHz() const { return transmitHz - uplinkHz; }
};

class DopplerTuning
{
public:
    // The sky view's channels by default: the satellite's APRS frequency.
    static constexpr double defaultHz = 145825000.0;

    DopplerTuning(double downlinkHz = defaultHz, double uplinkHz = defaultHz)
        : downlinkHz_(downlinkHz), uplinkHz_(uplinkHz)
    {
    }
    void setFrequencies(double downlinkHz, double uplinkHz)
    {
        downlinkHz_ = downlinkHz;
        uplinkHz_ = uplinkHz;
    }
    double downlinkHz() const { return downlinkHz_; }
    double uplinkHz() const { return uplinkHz_; }

    Tuning at(double rangeRateKmPerS) const;

    // Frequencies the settings take, Hz.
    static constexpr double lowestHz = 100e3;
    static constexpr double highestHz = 100e9;

    // The channels of satellite `satellite` (0 ORVEX, 1 the ISS), which the
    // sky view shows and the radio tunes: section RADIO, ORVEX_DOWNLINK_HZ,
    // ORVEX_UPLINK_HZ, ISS_DOWNLINK_HZ and ISS_UPLINK_HZ. A key not yet set
    // takes the sky view's older SKYVIEW DOWNLINK_MHZ or UPLINK_MHZ, else
    // 145.825 MHz, and is written; an unreadable value is that default.
    static DopplerTuning load(clsIni &ini, int satellite);
    void save(clsIni &ini, int satellite) const;

private:
    double downlinkHz_;
    double uplinkHz_;
};

} // namespace tracking
