// The show's module: it loads without a warning, is long and busy enough, never
// clips, never falls silent, and opens up when day breaks.
#include "modcheck.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

namespace {

constexpr int rate = 22050;
constexpr double maxPeak = 0.891;  // -1 dBFS
constexpr double maxQuiet = 2.0;
constexpr double dayBreak = 16.0;

const itw::ModuleReport& report()
{
    static const itw::ModuleReport r = [] {
        std::ifstream in(ZW_MODULE_PATH, std::ios::binary);
        std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        return itw::checkModule(bytes, rate, 2);  // twice through, so the loop seam is heard
    }();
    return r;
}

double rmsBetween(double from, double to)
{
    const auto& w = report().windowRms;
    double sum = 0;
    size_t n = 0;
    for (size_t k = size_t(from / itw::windowSeconds); k < size_t(to / itw::windowSeconds) && k < w.size();
         ++k, ++n)
        sum += w[k] * w[k];
    return n ? std::sqrt(sum / double(n)) : 0;
}

TEST(Music, LoadsWithoutWarnings)
{
    ASSERT_TRUE(report().loaded) << report().error;
    EXPECT_EQ(report().log, "");
}

TEST(Music, HasTheVoicesAndTheLength)
{
    EXPECT_GE(report().channels, 8);
    EXPECT_GE(report().samples, 6);
    EXPECT_GE(report().seconds, 120.0);
    EXPECT_LT(report().seconds, 600.0);
}

TEST(Music, StaysBelowFullScaleAndNeverFallsSilent)
{
    EXPECT_GT(report().peak, 0.1);
    EXPECT_LE(report().peak, maxPeak);
    EXPECT_LE(report().longestQuiet, maxQuiet) << "quiet from " << report().longestQuietAt << " s";
    // twice through: the render covers the loop seam as well
    EXPECT_GE(report().windowRms.size() * itw::windowSeconds, report().seconds * 1.5);
}

TEST(Music, OpensUpAtDayBreak)
{
    double evening = rmsBetween(0, dayBreak - 8), day = rmsBetween(dayBreak, dayBreak + 8);
    EXPECT_GT(20 * std::log10(day / evening), 1.0);
    EXPECT_GT(rmsBetween(0, 1), 0.003);  // it starts with the picture
}

}  // namespace
