// What the harnesses share: a check that stops the run loudly (a finding for the
// fuzzer, a failure for the replay), and a look at every byte a parser handed out,
// so that the sanitizers see a buffer shorter than its stated size.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);               \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (0)

#if defined(__SANITIZE_ADDRESS__)
#define ZW_FUZZ_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZW_FUZZ_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef ZW_FUZZ_ADDRESS_SANITIZER
#include <sanitizer/asan_interface.h>
#endif

inline void touchBytes(const std::uint8_t* bytes, std::size_t count)
{
#ifdef ZW_FUZZ_ADDRESS_SANITIZER
    // One look at the sanitizer's map of the whole block: a byte loop costs a
    // coverage call per byte in the fuzzer, seconds for a large picture. The first
    // bad byte, if any, is then read for the sanitizer's usual report.
    if (void* bad = __asan_region_is_poisoned(const_cast<std::uint8_t*>(bytes), count)) {
        volatile std::uint8_t first = *static_cast<std::uint8_t*>(bad);
        (void)first;
    }
#else
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum = std::uint8_t(sum + bytes[i]);
    volatile std::uint8_t sink = sum;
    (void)sink;
#endif
}
