// The scene resources: their one instance, the sprite pictures loaded in texture-id
// order, the invitation text read from its file, and text drawn with the scene's font.
#include "show/resources.h"

#include <cstdio>

#include "assets/media_manifest.h"
#include "platform/platform.h"
#include "show/font.h"

SceneResources scene;

namespace {

void loadPair(TexturePair& pair, const char* colour, const char* mask, bool maskFirst)
{
    if (maskFirst) {
        loadTexture(pair.mask, mask);
        loadTexture(pair.colour, colour);
    } else {
        loadTexture(pair.colour, colour);
        loadTexture(pair.mask, mask);
    }
}

}  // namespace

void loadSceneSprites()
{
    loadPair(scene.logo, media::qzlogoBmp, media::qzlogomBmp, false);
    loadPair(scene.mountainsLeft, media::berg1Bmp, media::berg1mBmp, true);
    loadPair(scene.mountainsRight, media::berg2Bmp, media::berg2mBmp, true);
    loadPair(scene.meadow, media::grasBmp, media::grasmBmp, false);
    loadPair(scene.secondMeadow, media::zweitwieseBmp, media::zweitwiesemBmp, false);
    loadPair(scene.pointer.normal, media::cursorBmp, media::cursormBmp, false);
    loadPair(scene.pointer.edge, media::feilBmp, media::feilmBmp, false);
    loadPair(scene.pointer.hover, media::crossBmp, media::crossmBmp, false);
    loadPair(scene.marlu, media::marlu256Bmp, media::marlu256mBmp, false);
    loadPair(scene.fenno, media::fennoBmp, media::fennomBmp, false);
    loadPair(scene.credits, media::credsBmp, media::credsmBmp, false);
    // The landscape's sprites fill much of the frame each frame, so they go in one pass.
    putSpriteMaskIntoAlpha(scene.mountainsLeft, media::berg1Bmp, media::berg1mBmp);
    putSpriteMaskIntoAlpha(scene.mountainsRight, media::berg2Bmp, media::berg2mBmp);
    putSpriteMaskIntoAlpha(scene.meadow, media::grasBmp, media::grasmBmp);
    putSpriteMaskIntoAlpha(scene.secondMeadow, media::zweitwieseBmp, media::zweitwiesemBmp);
    putSpriteMaskIntoAlpha(scene.marlu, media::marlu256Bmp, media::marlu256mBmp);
}

void readInvitation(const char* path, char* buffer, int capacity)
{
    buffer[0] = '\0';
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        char text[300];
        std::snprintf(text, sizeof text, "could not open: %s", path);
        platform::messageBox(text, "FATAL MARLU", platform::Buttons::Ok, platform::Icon::None);
        return;
    }
    int length = 0;
    int c = 0;
    while (length < capacity - 1 && (c = std::fgetc(file)) != EOF) buffer[length++] = static_cast<char>(c);
    buffer[length] = '\0';
    if (length == capacity - 1 && std::fgetc(file) != EOF)
        std::fprintf(stderr, "zwirbelalp: %s is longer than %d bytes; the rest is not shown\n", path,
                     capacity - 1);
    std::fclose(file);
}

void drawSceneText(const char* text, float x, float y)
{
    if (scene.font != nullptr) drawText(*scene.font, text, x, y);
}
