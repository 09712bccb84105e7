// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

// The APRS decoder. It reads the information field by its first byte, the
// data type identifier, as the APRS Protocol Reference 1.0.1 lays out the
// formats, and takes the fields as Dire Wolf's decode_aprs reads them, so that
// what the station stores agrees with what an operator sees there:
//
//   !4903.50N/07201.75W-Test /A=001234        position, no timestamp
//   @092345z4903.50N/07201.75W>088/036        position with timestamp (DHM, HMS)
//   =/5L!!<*e7>7P[                            compressed position
//   `c_V<0x1f>ZO>/]"4N}Comment=  to TR3P0W   Mic-E: destination and information
//   >IO91SX/- status text                     status (also with timestamp)
//   :WU2Z     :Testing{003                    message; "ack003", "rej003"
//   ;LEADER   *092345z4903.50N/07201.75W>     object ("_" for killed)
//   )AID #2!4903.50N/07201.75WA               item
//   T#005,199,000,255,073,123,01101001        telemetry
//
// Where decode_aprs accepts a field that cannot be right (a latitude beyond
// 90 degrees, a Mic-E destination with characters outside its alphabet, a
// message number that is not 1-5 letters or digits) the field is left empty
// and Packet::problem says why. Nothing here throws.

#include "aprscodec/Frame.h"
#include "aprscodec/Packet.h"

namespace aprs {

// Decodes the information field of `frame`; the destination carries the Mic-E
// latitude and, like the source SSID, a symbol where the field has none.
Packet decode(const Frame &frame);

} // namespace aprs
