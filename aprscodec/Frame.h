// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// An AX.25 UI frame as APRS sees it: source, destination, digipeater path and
// the information field. Two forms are read and written:
//
// Monitor text, the TNC2 form that Dire Wolf prints and decode_aprs reads:
//
//   N0CALL-9>APRS,ORVEX-1*,WIDE2-1:!4903.50N/07201.75W>Car
//
// "-0" is left out; "*" follows the last digipeater that has repeated the
// frame, and marks it and every one before it as repeated.
//
// A raw frame, as an AGWPE 'K' frame carries it after its leading port byte:
// addresses of 7 bytes each (six characters shifted left by one, blank padded,
// then the SSID byte: bit 7 the command or has-been-repeated bit, bits 4-1 the
// SSID, bit 0 set on the last address), the control byte 0x03 (UI), the PID
// (0xF0 for APRS) and the information bytes. The frame above starts
//
//   82 A0 A4 A6 40 40 E0   APRS     (destination, C bit set)
//   9C 60 86 82 98 98 72   N0CALL-9 (source)
//   9E A4 AC 8A B0 40 E2   ORVEX-1  (repeated)
//   AE 92 88 8A 64 40 63   WIDE2-1  (last address)
//   03 F0 21 34 39 ...     UI, PID F0, "!49..."
//
// Texts are Latin-1 bytes held in std::string; nothing here assumes UTF-8.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace aprs {

struct Ax25Address
{
    std::string callsign;  // 1-6 letters and digits
    int ssid = 0;          // 0-15
    bool repeated = false; // has-been-repeated bit (digipeaters only)

    // "ORVEX-1"; "APRS" for SSID 0.
    std::string text() const;

    bool operator==(const Ax25Address &) const = default;
};

inline constexpr std::size_t maxDigipeaters = 8;

struct Frame
{
    Ax25Address source;
    Ax25Address destination;
    std::vector<Ax25Address> path; // digipeaters in order, at most maxDigipeaters
    std::string info;              // information field bytes
    std::uint8_t pid = 0xF0;       // protocol id of a raw frame (0xF0: no layer 3)

    // Whether the path holds `station` ("ORVEX-1") with its has-been-repeated
    // bit set: the frame was heard through that digipeater.
    bool repeatedBy(std::string_view station) const;

    bool operator==(const Frame &) const = default;
};

// A parsed frame, or why the input is not one.
struct FrameResult
{
    std::optional<Frame> frame;
    std::string error; // e.g. "source: SSID 16 is not 0-15"
};

// How the information field is written in monitor text.
enum class InfoBytes {
    Raw,       // every byte as it is
    HexEscapes // control bytes and DEL as <0xNN>, as Dire Wolf prints them (and "<" of a
               // text that would read as an escape, so that the text reads back exactly)
};

// Reads "SRC>DST,DIGI*,...:info". With InfoBytes::HexEscapes, "<0xNN>" in the
// information field is read as the byte NN. The information field runs to the
// end of `line`: a trailing CR or LF is part of it.
FrameResult parseMonitorLine(std::string_view line, InfoBytes info = InfoBytes::Raw);

// The monitor text of a frame. Repeated bits that are not all at the front of
// the path cannot be written in this form: "*" follows the last repeated one.
std::string monitorLine(const Frame &frame, InfoBytes info = InfoBytes::Raw);

// Reads a raw frame (addresses, control, PID, info). Only UI frames are accepted.
FrameResult parseAx25Frame(std::span<const std::uint8_t> bytes);

// The raw UI frame of `frame`, without flags or FCS. The addresses must be as
// the parsers make them (1-6 letters or digits, SSID 0-15).
std::vector<std::uint8_t> ax25Frame(const Frame &frame);

// The frame carried in a third-party packet's information field
// ("}W1AW>APRS,TCPIP,N0CALL*:!4903.50N/..."): read as monitor text.
FrameResult thirdPartyFrame(const Frame &frame);

} // namespace aprs
