// The birds of the scene and of the hidden hunt: two cross the sky during the
// invitation; once the hunt is unlocked all ten fly back and forth, can be shot,
// tumble away and come back alive.
#pragma once

#include "gfx/vec3.h"
#include "media/texture.h"

constexpr int birdCount = 10;

struct Flock {
    Vec3 positions[birdCount];
    Vec3 velocities[birdCount];    // units per second, before the 1.5 speed factor
    TexturePair flightSprites[4];  // wing frames; frame 3 repeats frame 1's picture
    TexturePair deadSprite;
    bool alive[birdCount];
    int frame[birdCount];         // wing frame 0..3
    float frameTimer[birdCount];  // seconds toward the next wing frame
    bool invitationMode = true;   // false once the hunt is unlocked
    bool respawnEnabled = true;   // false once the outro sinks the landscape
    int deadCount = 0;            // birds shot
    int aliveCount = -1;          // living birds that got away during the hunt

    // Places the birds and draws their speeds (from the show's random numbers); no textures.
    Flock();
    // Loads the wing and dead-bird sprites, colours first, then masks.
    void loadSprites();

    // Moves every active bird by dt, then draws them (needs the GL context).
    void updateAndDraw();
    void update(float dt);
    void draw() const;

    // Index + 1 of the first living bird within 0.25 of (x, y); 0 for none or
    // during the invitation.
    int birdAt(float x, float y) const;
    // Kills the bird under (x, y), if any; true on a hit.
    bool shoot(float x, float y);
};

// Whether the previous update ran during the invitation: escapes are counted only
// from the second update of the hunt on.
struct FlockModule {
    bool wasInvitationMode = true;
};

extern FlockModule flockModule;

// The side edge at which a bird that left through the top or the bottom re-enters:
// the nearer one.
float sideEdgeFor(float x);
