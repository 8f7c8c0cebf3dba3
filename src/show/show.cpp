// The Show object: construction order, the first-frame work, and the choice
// between main scene and outro.
#include "show/show.h"

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

namespace {

struct ShowModule {
    bool firstFrameDone = false;
};

ShowModule showModule;

constexpr float eveningRed = 0.92156863f;
constexpr float eveningGreen = 0.69411767f;

}  // namespace

Show::Show()
{
    scene.flock = &flock;
    flock.loadSprites();
    createProceduralTextures();
    loadSceneSprites();
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
