// The video's writing thread: frames are written in the order they came, all of
// them by the end, and a failed write stops the rest and is reported.
#include <gtest/gtest.h>

#include <vector>

#include "tools/capture/frame_writer.h"

namespace {

std::vector<std::uint8_t> frameNumbered(std::uint8_t n) { return std::vector<std::uint8_t>(64, n); }

TEST(FrameWriter, WritesEveryFrameInOrder)
{
    std::vector<int> written;
    auto write = [&](const std::vector<std::uint8_t>& f) {
        written.push_back(f[0]);
        return true;
    };
    {
        FrameWriter writer(write, 2);
        for (int n = 0; n < 50; ++n) ASSERT_TRUE(writer.push(frameNumbered(std::uint8_t(n))));
        EXPECT_TRUE(writer.finish());
    }
    ASSERT_EQ(written.size(), 50u);
    for (int n = 0; n < 50; ++n) EXPECT_EQ(written[n], n);
}

TEST(FrameWriter, AFailedWriteDropsTheRestAndIsReported)
{
    std::vector<int> written;
    FrameWriter writer(
        [&](const std::vector<std::uint8_t>& f) {
            if (f[0] == 3) return false;
            written.push_back(f[0]);
            return true;
        },
        1);
    bool refused = false;
    for (int n = 0; n < 20 && !refused; ++n) refused = !writer.push(frameNumbered(std::uint8_t(n)));
    EXPECT_FALSE(writer.finish());
    EXPECT_EQ(written, (std::vector<int>{0, 1, 2}));
}

}  // namespace
