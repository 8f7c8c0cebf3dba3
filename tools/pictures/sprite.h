// A sprite with transparency split into the show's two pictures: the colour
// picture premultiplied onto black, and the mask, white where the frame behind
// stays and black under the sprite (1 - alpha). Drawn as frame x mask + colour
// they give frame x (1 - alpha) + colour x alpha, the straight "over" blend.
#pragma once

#include "picture.h"

struct SpritePair {
    RgbPicture colour;
    RgbPicture mask;
};

// OpenGL 1.1 takes only power-of-two sides, and the unpadded upload needs rows of a
// multiple of 4 bytes, hence a width of at least 4.
constexpr int minSpriteWidth = 4;
bool isPowerOfTwo(int n);
// Empty when `width` x `height` is a size the show can upload; else the reason.
std::string checkSpriteSize(int width, int height);

SpritePair splitSprite(const RgbaPicture& sprite);
