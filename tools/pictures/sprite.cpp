#include "sprite.h"

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

std::string checkSpriteSize(int width, int height)
{
    std::string size = std::to_string(width) + " x " + std::to_string(height);
    if (!isPowerOfTwo(width) || !isPowerOfTwo(height))
        return "size " + size + " is not a power of two on both sides";
    if (width < minSpriteWidth) return "size " + size + " is narrower than 4 pixels";
    return {};
}

namespace {

// Rounds c x a / 255 to the nearest integer without floating point.
std::uint8_t premultiply(std::uint8_t c, std::uint8_t a)
{
    unsigned v = unsigned(c) * a + 127;
    return std::uint8_t((v + (v >> 8)) >> 8);
}

}  // namespace

SpritePair splitSprite(const RgbaPicture& sprite)
{
    SpritePair pair{RgbPicture(sprite.width, sprite.height), RgbPicture(sprite.width, sprite.height)};
    std::size_t count = std::size_t(sprite.width) * sprite.height;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* in = &sprite.pixels[i * 4];
        std::uint8_t alpha = in[3];
        for (int c = 0; c < 3; ++c) {
            pair.colour.pixels[i * 3 + c] = premultiply(in[c], alpha);
            pair.mask.pixels[i * 3 + c] = std::uint8_t(255 - alpha);
        }
    }
    return pair;
}
