// The Show object: construction order, the first-frame work, and the choice
// between main scene and outro.
#include "show/show.h"

#include <cstdio>
#include <new>

#include "app/input.h"
#include "assets/media_manifest.h"
#include "gfx/procedural.h"
#include "media/music.h"
#include "platform/platform.h"
#include "show/font.h"
#include "show/main_scene.h"
#include "show/outro.h"
#include "show/resources.h"

SceneResources scene;

namespace {

struct ShowModule {
    bool firstFrameDone = false;
};

ShowModule showModule;

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

// The sprite pictures, in the order their texture ids are handed out.
void loadSpriteTextures()
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

constexpr float eveningRed = 0.92156863f;
constexpr float eveningGreen = 0.69411767f;

}  // namespace

void drawSceneText(const char* text, float x, float y)
{
    if (scene.font != nullptr) drawText(*scene.font, text, x, y);
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

Show::Show()
{
    scene.flock = &flock;
    flock.loadSprites();
    createProceduralTextures();
    loadSpriteTextures();
    scene.font = new (std::nothrow) Font(media::fontBmp, media::fontmBmp);
    clearKeyHistory();
    glClearColor(eveningRed, eveningGreen, 0.0f, 0.0f);
    scene.invitationText = new (std::nothrow) char[invitationCapacity];
    if (scene.invitationText != nullptr)
        readInvitation(media::invitationTxt, scene.invitationText, invitationCapacity);
}

Show::~Show()
{
    delete scene.font;
    scene.font = nullptr;
    delete[] scene.invitationText;
    scene.invitationText = nullptr;
    scene.flock = nullptr;
}

void Show::render()
{
    if (!showModule.firstFrameDone) {
        playMusic();
        setLocalTime(0.0f);
        platform::showCursor(false);
        showModule.firstFrameDone = true;
    }
    if (input.escapePressed)
        drawOutro(*this);
    else
        drawMainScene(*this, flock);
}
