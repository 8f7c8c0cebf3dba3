// The fallbacks for a newer C library, in a test program linked as the Linux release's
// program is: the unwinder's object lookup gives the C library's own answers, and
// exceptions thrown through it are caught; random_device's arc4random source draws
// through the fallback.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <stdexcept>

#include "platform/linux/libc_fallbacks.h"

// Linked with --wrap=_dl_find_object, this is the C library's own.
extern "C" int __real__dl_find_object(void* address, dl_find_object* result);

namespace {

void expectTheCLibrarysAnswer(void* address)
{
    dl_find_object ours{}, theirs{};
    ASSERT_EQ(__real__dl_find_object(address, &theirs), 0);
    ASSERT_EQ(__wrap__dl_find_object(address, &ours), 0);
    EXPECT_EQ(ours.dlfo_eh_frame, theirs.dlfo_eh_frame);
    EXPECT_EQ(ours.dlfo_map_start, theirs.dlfo_map_start);
    EXPECT_EQ(ours.dlfo_map_end, theirs.dlfo_map_end);
}

[[gnu::noinline]] void throwFrom(int depth)
{
    if (depth == 0) throw std::runtime_error("damaged module");
    throwFrom(depth - 1);
}

TEST(LibcFallbacks, ObjectLookupGivesTheCLibrarysAnswers)
{
    expectTheCLibrarysAnswer(reinterpret_cast<void*>(&throwFrom));  // this program
    expectTheCLibrarysAnswer(dlsym(RTLD_DEFAULT, "getentropy"));    // the C library
    dl_find_object result{};
    EXPECT_EQ(__wrap__dl_find_object(reinterpret_cast<void*>(16), &result), -1);  // nothing loaded there
}

TEST(LibcFallbacks, ExceptionsUnwindThroughTheLookup) { EXPECT_THROW(throwFrom(5), std::runtime_error); }

TEST(LibcFallbacks, RandomDeviceDrawsThroughTheFallback)
{
    std::random_device device("arc4random");
    std::set<unsigned> draws;
    for (int i = 0; i < 8; ++i) draws.insert(device());
    EXPECT_GE(draws.size(), 7u);
}

}  // namespace
