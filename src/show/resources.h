// The scene resources: every picture the show draws, the font and the invitation
// text, created once by the Show's constructor and read by all drawing code.
#pragma once

#include "hunt/pointer.h"
#include "media/texture.h"

struct Flock;
struct Font;

// The invitation text buffer: at most this many bytes of text plus the NUL.
constexpr int invitationCapacity = 14336;

struct SceneResources {
    TexturePair logo;
    TexturePair mountainsLeft;
    TexturePair mountainsRight;
    TexturePair meadow;
    TexturePair secondMeadow;
    TexturePair marlu;
    TexturePair fenno;
    TexturePair credits;
    PointerSprites pointer;
    Font* font = nullptr;            // null when it could not be made: no text then
    char* invitationText = nullptr;  // NUL-terminated, owned by the Show
    Flock* flock = nullptr;          // the Show's birds
};

extern SceneResources scene;

// The sprite pictures into the scene, in the order their texture ids are handed out.
void loadSceneSprites();

// Reads "invitation.txt" into `buffer` (capacity bytes, always NUL-terminated).
// A missing file leaves the empty text after its message box; a text longer than
// the buffer is cut at its end, with one line on stderr.
void readInvitation(const char* path, char* buffer, int capacity);

// drawText with the scene's font; nothing when there is none.
void drawSceneText(const char* text, float x, float y);
