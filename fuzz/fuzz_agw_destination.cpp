// SPDX-License-Identifier: GPL-2.0-or-later
// Destination texts are typed by the operator: any text must parse or fail,
// and what parses must have whole 10-byte address fields.
#include "pklink/AgwCodec.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const agw::Destination d = agw::ParseDestination(text);
    if (!d.ok)
        return 0;
    if (!d.destinationField.empty() && d.destinationField.size() != 10)
        std::abort();
    if (d.digipeaterCount < 0 ||
        d.digipeaterFields.size() != 10u * static_cast<unsigned>(d.digipeaterCount))
        std::abort();
    (void)agw::digipeaterList(d);
    return 0;
}
