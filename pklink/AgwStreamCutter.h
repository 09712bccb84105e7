// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "pklink/AgwCodec.h"

#include <cstddef>
#include <cstdint>

namespace agw {

// Cuts the received byte stream into frames. Bytes are appended as they
// arrive; next() takes one whole frame at a time. Bytes that are not yet a
// whole header or a whole data part stay buffered for the next call.
class AgwStreamCutter
{
public:
    enum class Result {
        Frame,     // header and data hold one frame
        NeedMore,  // no whole frame buffered
        BadLength, // the last header's data length is below 0 or above 8192
    };

    void append(const std::uint8_t *bytes, std::size_t count);

    // Takes the next frame into `header` (36 bytes) and `data`. After
    // BadLength the stream cannot be trusted and stays refused until reset().
    Result next(Bytes &header, Bytes &data);

    // Forgets everything buffered; the next byte starts a header.
    void reset();

    std::size_t buffered() const { return buffer_.size() - readAt_; }
    // The data length of the header that gave BadLength.
    std::int32_t badLength() const { return pendingLength_; }

private:
    void take(Bytes &into, std::size_t count);

    Bytes buffer_;
    std::size_t readAt_ = 0;
    bool awaitingData_ = false;
    bool broken_ = false;
    std::int32_t pendingLength_ = 0;
    Bytes pendingHeader_;
};

} // namespace agw
