// SPDX-License-Identifier: GPL-2.0-or-later
#include "support/HeapInUse.h"

#if defined(__SANITIZE_ADDRESS__)
#define ORVEX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ORVEX_ASAN 1
#endif
#endif

#ifdef ORVEX_ASAN
// From the sanitizer runtime's public interface; g++ ships no header for it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace orvex::test {

std::size_t heapInUse()
{
#ifdef ORVEX_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

} // namespace orvex::test
