// SPDX-License-Identifier: GPL-2.0-or-later
#include "pklink/AgwStreamCutter.h"

namespace agw {

void AgwStreamCutter::append(const std::uint8_t *bytes, std::size_t count)
{
    if (count == 0)
        return;
    // Drop what has been taken before growing, so the buffer stays about one
    // read's worth in size.
    if (readAt_ > 0 && readAt_ >= buffer_.size() / 2) {
        buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(readAt_));
        readAt_ = 0;
    }
    buffer_.insert(buffer_.end(), bytes, bytes + count);
}

void AgwStreamCutter::take(Bytes &into, std::size_t count)
{
    const auto from = buffer_.begin() + static_cast<std::ptrdiff_t>(readAt_);
    into.assign(from, from + static_cast<std::ptrdiff_t>(count));
    readAt_ += count;
    if (readAt_ == buffer_.size()) {
        buffer_.clear();
        readAt_ = 0;
    }
}

AgwStreamCutter::Result AgwStreamCutter::next(Bytes &header, Bytes &data)
{
    if (broken_)
        return Result::BadLength;
    if (!awaitingData_) {
        if (buffered() < HeaderSize)
            return Result::NeedMore;
        take(pendingHeader_, HeaderSize);
        pendingLength_ = readI32(pendingHeader_.data() + offset::DataLength);
        if (pendingLength_ < 0 || pendingLength_ > MaxReceivedDataLength) {
            broken_ = true;
            return Result::BadLength;
        }
        if (pendingLength_ == 0) {
            header = pendingHeader_;
            data.clear();
            return Result::Frame;
        }
        awaitingData_ = true;
    }
    if (buffered() < static_cast<std::size_t>(pendingLength_))
        return Result::NeedMore;
    take(data, static_cast<std::size_t>(pendingLength_));
    header = pendingHeader_;
    awaitingData_ = false;
    return Result::Frame;
}

void AgwStreamCutter::reset()
{
    buffer_.clear();
    readAt_ = 0;
    awaitingData_ = false;
    broken_ = false;
    pendingLength_ = 0;
    pendingHeader_.clear();
}

} // namespace agw
