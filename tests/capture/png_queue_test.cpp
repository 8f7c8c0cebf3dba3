// The PNG worker queue: pictures come back in the order they went in, whichever
// worker finishes first, and a file that cannot be written is reported in its place.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "tools/capture/png_queue.h"

namespace {

std::string tempDir()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/zwirbelalp-png-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : "";
}

// A 5 x 3 picture, different for every frame, so that sizes and work differ.
PngJob job(std::uint64_t frame, const std::string& path)
{
    PngJob j{frame, frame / 60.0, path, 5, 3, std::vector<std::uint8_t>(5 * 3 * 4)};
    for (std::size_t i = 0; i < j.rgba.size(); ++i) j.rgba[i] = std::uint8_t(i * (frame + 1));
    return j;
}

TEST(PngQueue, ComesBackInFrameOrderWithFailuresInPlace)
{
    const std::string dir = tempDir();
    ASSERT_FALSE(dir.empty());
    std::vector<PngDone> done;
    {
        PngQueue queue(3, 2);
        for (std::uint64_t f = 0; f < 20; ++f) {
            const std::string path =
                f == 7 ? dir + "/missing/frame.png" : dir + "/" + std::to_string(f) + ".png";
            for (PngDone& d : queue.push(job(f, path))) done.push_back(d);
        }
        for (PngDone& d : queue.finish()) done.push_back(d);
    }
    ASSERT_EQ(done.size(), 20u);
    for (std::uint64_t f = 0; f < 20; ++f) {
        EXPECT_EQ(done[f].frame, f);
        EXPECT_EQ(done[f].written, f != 7) << f;
    }
    std::ifstream file(dir + "/3.png", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes.substr(1, 3), "PNG");
    EXPECT_EQ(encodePng(job(3, "").rgba.data(), 5, 3), std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    std::filesystem::remove_all(dir);
}

}  // namespace
