// Textures from BMP files under the program's own naming counter, and the bind cache.
#include "media/texture.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "media/bmp.h"
#include "platform/platform.h"

TextureState textureState;

namespace {

constexpr GLint internalFormat = 3;  // three components
constexpr int unpackAlignment = 4;   // GL's default, never changed

// Rows of RGB bytes laid out as GL reads them under the default alignment. When a
// row is not a multiple of 4 bytes, a padded copy is made so that GL never reads
// past the end of the image; null when no copy is needed or none could be had.
std::uint8_t* paddedCopy(const std::uint8_t* rgb, int width, int height)
{
    const std::size_t row = std::size_t(width) * 3;
    const std::size_t stride = (row + unpackAlignment - 1) / unpackAlignment * unpackAlignment;
    if (stride == row) return nullptr;
    auto* copy = static_cast<std::uint8_t*>(std::calloc(stride, std::size_t(height)));
    if (!copy) return nullptr;
    for (int y = 0; y < height; ++y) std::memcpy(copy + stride * y, rgb + row * y, row);
    return copy;
}

void reportMissing(const char* path)
{
    const std::string directory = platform::currentDirectory();
    const char* format = "File %s not found!\nCurrent Directory: %s\\";
    const int length = std::snprintf(nullptr, 0, format, path, directory.c_str());
    std::string text(length > 0 ? std::size_t(length) : 0, '\0');
    std::snprintf(text.data(), text.size() + 1, format, path, directory.c_str());
    platform::messageBox(text.c_str(), "Fatal Marlu", platform::Buttons::Ok, platform::Icon::None);
}

// The decoder's failures in the user's words, in a box owned by the window that
// has the keyboard focus.
void reportUndecodable(const char* path, BmpFailure failure)
{
    std::string text;
    switch (failure) {
    case BmpFailure::none:
        return;
    case BmpFailure::unreadable:
        text = std::string("Failed to open DIB file ") + path + ".\n";
        break;
    case BmpFailure::unknownFormat:
        text = "Unknown DIB file format.";
        break;
    case BmpFailure::outOfMemory:
        text = "Out of memory.";
        break;
    case BmpFailure::conversion:
        text = "Image file conversion error.";
        break;
    }
    platform::messageBox(text.c_str(), "Error", platform::Buttons::Ok, platform::Icon::None, true);
}

bool fileIsPresent(const char* path)
{
    std::FILE* probe = std::fopen(path, "r");
    if (!probe) return false;
    std::fclose(probe);
    return true;
}

}  // namespace

GLuint uploadTexture(const std::uint8_t* rgb, int width, int height)
{
    const GLuint id = textureState.nextTextureId;
    const bool unaligned = (std::size_t(width) * 3) % unpackAlignment != 0;
    std::uint8_t* padded = unaligned ? paddedCopy(rgb, width, height) : nullptr;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    if (!unaligned || padded)
        glTexImage2D(GL_TEXTURE_2D, 0, internalFormat, width, height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                     padded ? padded : rgb);
    glDisable(GL_TEXTURE_2D);
    std::free(padded);
    ++textureState.nextTextureId;
    return id;
}

void loadTexture(GLuint& destination, const char* path)
{
    destination = textureState.nextTextureId;
    if (!fileIsPresent(path)) {
        reportMissing(path);
        platform::postQuitMessage(0);
        return;
    }
    RgbImage* image = nullptr;
    const BmpFailure failure = loadBmp(path, image);
    if (failure != BmpFailure::none) {  // the id stays free for the next texture
        reportUndecodable(path, failure);
        platform::postQuitMessage(0);
        return;
    }
    uploadTexture(image->pixels, image->width, image->height);
    freeRgbImage(image);
}

bool putMaskIntoAlpha(GLuint colour, const std::uint8_t* colourRgb, const std::uint8_t* maskRgb, int width,
                      int height)
{
    const std::size_t pixels = std::size_t(width) * std::size_t(height);
    std::vector<std::uint8_t> rgba(pixels * 4);
    for (std::size_t i = 0; i < pixels; ++i) {
        const std::uint8_t* mask = maskRgb + 3 * i;
        if (mask[0] != mask[1] || mask[0] != mask[2]) return false;
        for (int c = 0; c < 3; ++c) rgba[4 * i + c] = colourRgb[3 * i + c];
        rgba[4 * i + 3] = mask[0];
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glBindTexture(GL_TEXTURE_2D, colour);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    return true;
}

bool putFileMaskIntoAlpha(GLuint colour, const char* colourFile, const char* maskFile)
{
    RgbImage* colourImage = nullptr;
    RgbImage* maskImage = nullptr;
    bool done = false;
    if (loadBmp(colourFile, colourImage) == BmpFailure::none &&
        loadBmp(maskFile, maskImage) == BmpFailure::none && colourImage->width == maskImage->width &&
        colourImage->height == maskImage->height)
        done = putMaskIntoAlpha(colour, colourImage->pixels, maskImage->pixels, colourImage->width,
                                colourImage->height);
    freeRgbImage(colourImage);
    freeRgbImage(maskImage);
    return done;
}

void bindTexture(GLuint id)
{
    const auto wanted = static_cast<std::int32_t>(id);
    if (wanted == textureState.boundTexture) return;
    glBindTexture(GL_TEXTURE_2D, id);
    textureState.boundTexture = wanted;
}

void beginMaskPass(GLuint mask)
{
    glBlendFunc(GL_DST_COLOR, GL_ZERO);
    glEnable(GL_TEXTURE_2D);
    bindTexture(mask);
}

void beginColourPass(GLuint colour)
{
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    bindTexture(colour);
}

void beginOnePass(GLuint colour)
{
    glBlendFunc(GL_ONE, GL_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    bindTexture(colour);
}

void endOnePass() { glBlendFunc(GL_ONE, GL_ONE); }

bool currentColourIsOpaqueWhite()
{
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    return colour[0] == 1.0f && colour[1] == 1.0f && colour[2] == 1.0f && colour[3] == 1.0f;
}

void texturedQuad(float s0, float s1, float t0, float t1, float x0, float x1, float y0, float y1, float z)
{
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t1);
    glVertex3f(x0, y1, z);
    glTexCoord2f(s1, t1);
    glVertex3f(x1, y1, z);
    glTexCoord2f(s1, t0);
    glVertex3f(x1, y0, z);
    glTexCoord2f(s0, t0);
    glVertex3f(x0, y0, z);
    glEnd();
}
