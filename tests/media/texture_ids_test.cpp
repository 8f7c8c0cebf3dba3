// Texture naming in a fresh process: ids from 0 in creation order, a missing file
// and a damaged file each leave their id to the next texture (after a box that
// says why), and the uploads keep the program's one parameter set (also for rows
// that are not 4-byte multiples).
#include <gtest/gtest.h>

#include <filesystem>

#include "bmp_files.h"
#include "gl_support.h"
#include "media/texture.h"
#include "platform/headless.h"
#include "platform/platform.h"

namespace {

// A 24-bit picture whose bytes are 0, 1, 2, ... in file order (blue, green, red).
BmpLayout counting(int width, int height)
{
    BmpLayout s{.width = width, .height = height, .bitsPerPixel = 24};
    const int stride = (width * 3 + 3) / 4 * 4;
    for (int i = 0; i < stride * height; ++i)
        s.pixels.push_back(std::uint8_t(i % stride < width * 3 ? 7 * i : 0));
    return s;
}

// What the texture must hold: the same bytes as red, green, blue, without padding.
Bytes countingRgb(int width, int height)
{
    Bytes out;
    const int stride = (width * 3 + 3) / 4 * 4;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int at = y * stride + x * 3;
            out.insert(out.end(),
                       {std::uint8_t(7 * (at + 2)), std::uint8_t(7 * (at + 1)), std::uint8_t(7 * at)});
        }
    return out;
}

void expectBox(std::size_t index, const std::string& caption, const std::string& text)
{
    ASSERT_GT(headless::messageBoxes().size(), index);
    EXPECT_EQ(headless::messageBoxes()[index].caption, caption);
    EXPECT_EQ(headless::messageBoxes()[index].text, text);
}

TEST(TextureIds, ConsecutiveFromZeroAndSharedAfterFailures)
{
    ASSERT_TRUE(startHeadlessGl());
    const std::string directory = enterTempDirectory();
    ASSERT_FALSE(directory.empty());
    ASSERT_TRUE(writeFile("a.bmp", buildBmp(counting(4, 2))));
    ASSERT_TRUE(writeFile("b.bmp", buildBmp(counting(5, 3))));
    ASSERT_TRUE(writeFile("feilm.bmp", buildBmp(counting(8, 4))));
    Bytes broken = buildBmp(counting(4, 4));
    broken.resize(broken.size() - 10);
    ASSERT_TRUE(writeFile("broken.bmp", broken));
    ASSERT_TRUE(writeFile("empty.bmp", {}));
    BmpLayout v5 = counting(4, 1), vast = counting(4, 1);
    v5.headerSize = 124;
    vast.width = vast.height = 60000;
    ASSERT_TRUE(writeFile("v5.bmp", buildBmp(v5)));
    ASSERT_TRUE(writeFile("vast.bmp", buildBmp(vast)));
    ASSERT_TRUE(writeFile("after.bmp", buildBmp(counting(4, 1))));

    GLuint a = 99, b = 99, feil = 99, feilm = 99, damaged = 99, after = 99;
    loadTexture(a, "a.bmp");
    loadTexture(b, "b.bmp");
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(b, 1u);
    EXPECT_TRUE(headless::messageBoxes().empty());
    EXPECT_FALSE(quitPosted());

    loadTexture(feil, "feil.bmp");
    expectBox(0, "Fatal Marlu",
              "File feil.bmp not found!\nCurrent Directory: " + platform::currentDirectory() + "\\");
    EXPECT_TRUE(quitPosted());
    loadTexture(feilm, "feilm.bmp");
    EXPECT_EQ(feil, 2u);
    EXPECT_EQ(feilm, 2u);

    loadTexture(damaged, "broken.bmp");
    expectBox(1, "Error", "Image file conversion error.");
    EXPECT_TRUE(quitPosted());
    const std::pair<const char*, std::string> undecodable[] = {
        {"empty.bmp", "Failed to open DIB file empty.bmp.\n"},
        {"v5.bmp", "Unknown DIB file format."},
        {"vast.bmp", "Out of memory."},
    };
    std::size_t box = 2;
    for (const auto& [path, text] : undecodable) {
        GLuint id = 99;
        loadTexture(id, path);
        expectBox(box++, "Error", text);
        EXPECT_TRUE(quitPosted());
        EXPECT_EQ(id, 3u);
    }
    loadTexture(after, "after.bmp");
    EXPECT_EQ(damaged, 3u);
    EXPECT_EQ(after, 3u);
    EXPECT_EQ(textureState.nextTextureId, 4u);
    EXPECT_EQ(headless::messageBoxes().size(), 5u);

    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(textureState.boundTexture, -1);  // creation leaves the cache alone
    const struct {
        GLuint id;
        int width, height;
    } uploads[] = {{0, 4, 2}, {1, 5, 3}, {2, 8, 4}, {3, 4, 1}};
    for (const auto& u : uploads) {
        SCOPED_TRACE(u.id);
        int width = 0, height = 0;
        EXPECT_EQ(readTexture(u.id, width, height), countingRgb(u.width, u.height));
        EXPECT_EQ(width, u.width);
        EXPECT_EQ(height, u.height);
        GLint minFilter = 0, magFilter = 0, format = 0, wrap = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
        EXPECT_EQ(minFilter, GL_LINEAR);
        EXPECT_EQ(magFilter, GL_LINEAR);
        EXPECT_EQ(wrap, GL_REPEAT);
        EXPECT_EQ(format, 3);  // as requested: three components
    }
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 4);
    std::filesystem::remove_all(directory);
}

}  // namespace
