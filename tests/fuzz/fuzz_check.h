// What the harnesses share: a check that stops the run loudly (a finding for the
// fuzzer, a failure for the replay), and a read of every byte a parser handed out,
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

inline void touchBytes(const std::uint8_t* bytes, std::size_t count)
{
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i < count; ++i) sum = std::uint8_t(sum + bytes[i]);
    volatile std::uint8_t sink = sum;
    (void)sink;
}
