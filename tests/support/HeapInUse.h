// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <cstddef>

namespace orvex::test {

// Bytes the process has allocated and not freed, from the allocator itself:
// glibc's statistics, or AddressSanitizer's when it replaces the allocator
// (whose quarantine would make the resident size meaningless).
std::size_t heapInUse();

} // namespace orvex::test
