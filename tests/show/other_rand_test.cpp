// The show draws its random numbers (the logo's tilt, the birds) from a generator of
// its own: with another C library rand in the process, here one preloaded into the
// capture, it draws the very same pictures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/capture_harness.h"

namespace {

// The logo wobbling (15 to 16.5 s), its last tilt while it rises, the birds of the
// hunt (unlocked at once) flying across.
const std::vector<double> moments = {15.2, 15.6, 16.2, 18.0, 33.0, 35.0, 37.0};

// The environment of the next capture, put back as it was afterwards.
struct ScopedEnv {
    std::string name, old;
    bool had;
    ScopedEnv(const char* n, const std::string& value) : name(n), had(std::getenv(n) != nullptr)
    {
        if (had) old = std::getenv(n);
        setenv(n, value.c_str(), 1);
    }
    ~ScopedEnv() { had ? setenv(name.c_str(), old.c_str(), 1) : unsetenv(name.c_str()); }
};

CaptureResult record()
{
    return recordMoments(captureProgram(), ZW_SHOW_TEST_DATA "/unlock_early.input", "20", 37.5, moments);
}

TEST(OtherRand, PreloadedRandLeavesWobbleAndBirdsAsTheyWere)
{
    const CaptureResult own = record();
    const CaptureResult other = [] {
        const char* asan = std::getenv("ASAN_OPTIONS");
        // A sanitizer build wants its runtime first among the loaded libraries.
        const ScopedEnv sanitizer("ASAN_OPTIONS", std::string(asan ? asan : "") + (asan ? ":" : "") +
                                                      "verify_asan_link_order=0");
        const ScopedEnv preload("LD_PRELOAD", ZW_OTHER_RAND_LIBRARY);
        return record();
    }();
    EXPECT_NE(other.output.find("other rand loaded"), std::string::npos) << other.output;
    for (const CaptureResult* run : {&own, &other}) {
        ASSERT_EQ(run->exitCode, 0) << run->output;
        ASSERT_EQ(run->pngs.size(), moments.size()) << run->output;
    }
    for (std::size_t i = 0; i < moments.size(); ++i)
        EXPECT_TRUE(readFile(own.pngs[i].path) == readFile(other.pngs[i].path))
            << "at " << moments[i] << " s";
}

}  // namespace
